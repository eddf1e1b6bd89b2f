#include "sim/random.h"

#include <cstdint>

namespace {

// The Windows C runtime starts as if srand(1) had been called.
uint32_t randomState = 1;

}  // namespace

void SeedRandom(unsigned int seed) {
  randomState = seed;
}

int NextRandom() {
  randomState = randomState * 214013u + 2531011u;
  return static_cast<int>((randomState >> 16) & 0x7FFFu);
}

float RandomUnit() {
  return static_cast<float>(NextRandom()) / 32767.0f;
}

float RandomUniform(float a, float b) {
  return a + RandomUnit() * (b - a);
}

int RandomIndex(int n) {
  return static_cast<int>(static_cast<unsigned>(NextRandom()) % static_cast<unsigned>(n));
}
