#include "sim/random.h"
#include "sim/simulation.h"

void RecordPointerMove(Aquarium& aquarium, float x, float y) {
  aquarium.pointerX = x;
  aquarium.pointerY = y;
  aquarium.pointerKnown = true;
}

void AddClickBurst(Aquarium& aquarium, float px, float py) {
  // No cap here: the 60-bubble limit only holds back the timed bubbles.
  const int n = 15 + static_cast<int>(10.0f * RandomUnit());
  for (int i = 0; i < n; ++i) {
    Bubble b;
    b.x = px;
    b.x += RandomUniform(-30.0f, 30.0f);
    b.y = py;
    b.y += RandomUniform(-10.0f, 10.0f);
    b.radius = RandomUniform(3.0f, 12.0f);
    b.riseSpeed = RandomUniform(60.0f, 150.0f);
    b.wobblePhase = RandomUniform(0.0f, 6.28f);
    b.wobbleRate = RandomUniform(2.0f, 5.0f);
    aquarium.bubbles.push_back(b);
  }
}
