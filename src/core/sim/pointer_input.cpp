#include <algorithm>

#include "sim/random.h"
#include "sim/simulation.h"

void RecordPointerMove(Aquarium& aquarium, float x, float y) {
  aquarium.pointerX = x;
  aquarium.pointerY = y;
  aquarium.pointerKnown = true;
}

void ForgetPointer(Aquarium& aquarium) {
  aquarium.pointerKnown = false;
}

namespace {

// Makes room for `n` more click bubbles by removing the oldest ones.
void LimitClickBubbles(std::vector<Bubble>& bubbles, size_t n) {
  size_t alive = 0;
  for (const Bubble& b : bubbles) alive += b.fromClick;
  if (alive + n <= kMaxClickBubbles) return;
  size_t excess = alive + n - kMaxClickBubbles;
  bubbles.erase(std::remove_if(bubbles.begin(), bubbles.end(),
                               [&excess](const Bubble& b) {
                                 if (!b.fromClick || excess == 0) return false;
                                 --excess;
                                 return true;
                               }),
                bubbles.end());
}

}  // namespace

void AddClickBurst(Aquarium& aquarium, float px, float py) {
  // The 60-bubble limit holds back only the timed bubbles; clicks have their
  // own, so that clicking for hours cannot make a frame slow.
  const int n = 15 + static_cast<int>(10.0f * RandomUnit());
  LimitClickBubbles(aquarium.bubbles, size_t(n));
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
    b.fromClick = true;
    aquarium.bubbles.push_back(b);
  }
}
