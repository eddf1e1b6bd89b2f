// The monotonic clock that paces frames and measures their cost.
#pragma once

#include <cstdint>

// Nanoseconds of a clock that never goes back (from an arbitrary start).
int64_t MonotonicNanoseconds();
