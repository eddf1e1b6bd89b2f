#include <windows.h>

#include "base/clock.h"

int64_t MonotonicNanoseconds() {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  // Split to avoid overflowing the product for long uptimes.
  int64_t seconds = now.QuadPart / frequency.QuadPart;
  int64_t rest = now.QuadPart % frequency.QuadPart;
  return seconds * 1000000000LL + rest * 1000000000LL / frequency.QuadPart;
}
