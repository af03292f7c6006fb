/* A small program with an icon and a version resource: the startup page
   benchmark's programs are copies of it. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command, int show) {
  (void)instance;
  (void)previous;
  (void)command;
  (void)show;
  return 0;
}
