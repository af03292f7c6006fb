#pragma once
// The Monitor's first run over the machine the Startup-page benchmark seeded.

namespace bench {

// Prints what each step of the first run costs alone, the first run itself
// (median of `rounds`), the floor (the same listings, and the same values
// written through one open key per key) and their ratio; then, when the
// Monitor is in the program folder, how long its window went without
// answering while it made its first run as a process. Leaves the store made.
void firstRun(int rounds);

}  // namespace bench
