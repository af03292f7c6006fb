#pragma once
// The clock every benchmark reads, and the median its rounds report.
#include <windows.h>

#include <algorithm>
#include <vector>

namespace bench {

inline double nowMs() {
  static LARGE_INTEGER frequency{};
  if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <typename Work>
double timed(Work work) {
  const double start = nowMs();
  work();
  return nowMs() - start;
}

// Of no rounds, 0.
inline double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace bench
