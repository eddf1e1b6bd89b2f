#include <chrono>

#include "base/clock.h"

int64_t MonotonicNanoseconds() {
  using namespace std::chrono;
  return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}
