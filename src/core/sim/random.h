// The process-wide pseudo-random generator with the C runtime's rand()
// contract (0..32767), implemented as the Windows C runtime does it so that
// the same seed gives the same aquarium on every platform.
#pragma once

void SeedRandom(unsigned int seed);  // srand
int NextRandom();                    // rand: 0..32767

float RandomUnit();                     // rand() / 32767.0f, both ends reachable
float RandomUniform(float a, float b);  // a + unit * (b - a), one draw
int RandomIndex(int n);                 // rand() mod n, one draw (n > 0)
