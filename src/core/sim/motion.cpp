#include <algorithm>
#include <cmath>
#include <vector>

#include "settings/settings.h"
#include "sim/random.h"
#include "sim/simulation.h"

// All state is float. Sines and square roots are taken in double on the float
// argument and rounded back, and every other operation stays in float (note
// the f suffixes): with SSE arithmetic on both builds this gives the same bits
// on Linux and on Windows. (The 32-bit Windows sine is the x87 instruction;
// rounded to float it matched glibc on all 10^8 arguments we compared.)

namespace {

float Sin(float x) {
  return static_cast<float>(std::sin(static_cast<double>(x)));
}
float Sqrt(float x) {
  return static_cast<float>(std::sqrt(static_cast<double>(x)));
}

float Advance(float phase, float delta) {
  phase += delta;
  if (phase >= kPhasePeriod) phase = std::fmod(phase, kPhasePeriod);
  return phase;
}

bool Schools(const Creature& c) {
  return kSpeciesTraits[c.species].schools;
}

void SchoolingPass(Aquarium& aquarium, float dt) {
  std::vector<size_t> school;
  for (size_t i = 0; i < aquarium.creatures.size(); ++i) {
    if (Schools(aquarium.creatures[i])) school.push_back(i);
  }
  // Updated in place: later fish see the new velocities of earlier ones.
  for (size_t ci : school) {
    Creature& c = aquarium.creatures[ci];
    const float viewRadius = 12.0f * c.size;
    const float sepRadius = 4.0f * c.size;
    int neighbours = 0;
    int crowding = 0;
    float sumX = 0, sumY = 0, sumVx = 0, sumVy = 0, sepX = 0, sepY = 0;
    for (size_t oi : school) {
      if (oi == ci) continue;
      const Creature& o = aquarium.creatures[oi];
      const float dx = o.x - c.x;
      const float dy = o.y - c.y;
      const float d = Sqrt(dx * dx + dy * dy);
      if (d < 0.01f) continue;  // no direction to steer by
      if (d < viewRadius) {
        ++neighbours;
        sumX += o.x;
        sumY += o.y;
        sumVx += o.vx;
        sumVy += o.vy;
      }
      if (d < sepRadius) {
        ++crowding;
        const float f = (sepRadius - d) / sepRadius;
        sepX -= dx / d * f;
        sepY -= dy / d * f;
      }
    }
    if (neighbours > 0) {
      const float n = static_cast<float>(neighbours);
      const float avgX = sumX / n, avgY = sumY / n, avgVx = sumVx / n, avgVy = sumVy / n;
      c.vx += (avgVx - c.vx) * 0.08f * dt * 60.0f + (avgX - c.x) * 0.003f * dt * 60.0f;
      c.vy += (avgVy - c.vy) * 0.08f * dt * 60.0f + (avgY - c.y) * 0.003f * dt * 60.0f;
    }
    if (crowding > 0) {
      c.vx += sepX * 0.15f * dt * 60.0f;
      c.vy += sepY * 0.15f * dt * 60.0f;
    }
    const float cap = 1.5f * c.cruiseSpeed;
    const float speed = Sqrt(c.vx * c.vx + c.vy * c.vy);
    if (speed > cap) {
      c.vx = c.vx / speed * cap;
      c.vy = c.vy / speed * cap;
    }
  }
}

void SpeciesMove(Creature& c, float dt) {
  switch (c.species) {
    case kJellyfish: {
      // An upward pulse at the top of each cycle, and a slow sideways drift.
      const float s = Sin(0.8f * c.pulsePhase);
      if (s > 0.3f) c.vy -= s * 20.0f * dt;
      c.vx += Sin(0.5f * c.pulsePhase) * 3.0f * dt;
      break;
    }
    case kSeahorse:
      if (Sin(0.5f * c.pacePhase) > 0.6f) c.vx *= 0.95f;  // pause
      break;
    case kRay:
      c.vy += Sin(1.5f * c.pulsePhase) * 8.0f * dt;  // undulation
      break;
    case kOctopus:
      if (Sin(0.6f * c.pacePhase) > 0.8f) c.vx *= 1.02f;  // push
      break;
    default:
      break;
  }
}

void FleePointer(Creature& c, const Aquarium& aquarium, float dt) {
  if (!aquarium.pointerKnown) return;
  const float dx = c.x - aquarium.pointerX;
  const float dy = c.y - aquarium.pointerY;
  const float d = Sqrt(dx * dx + dy * dy);
  if (d <= 0.1f || d >= 180.0f) return;
  const float strength = (1.0f - d / 180.0f) * 120.0f;
  c.vx += dx / d * strength * dt * 3.0f;
  c.vy += dy / d * strength * dt * 3.0f;
}

void UpdateTilt(Creature& c) {
  float t = -(c.vx - c.lastVx) * 0.08f;
  const bool flipped = (c.lastVx > 0.1f && c.vx < -0.1f) || (c.lastVx < -0.1f && c.vx > 0.1f);
  if (flipped) t += c.vx > 0 ? -0.4f : 0.4f;
  c.tilt = std::clamp((c.tilt + t) * 0.9f, -0.5f, 0.5f);
  c.lastVx = c.vx;
}

void SideWalls(Creature& c, float fW, float dt) {
  const float m = 3.0f * c.size;
  const float zone = 6.0f * c.size;
  if (c.x < m + zone) {
    c.vx += (1.0f - (c.x - m) / zone) * c.cruiseSpeed * dt * 3.0f;
    if (c.x < m) {
      c.x = m;
      c.vx = std::fabs(c.vx) * 0.5f;
    }
  }
  const float right = fW - m;
  if (c.x > right - zone) {
    c.vx -= (1.0f - (right - c.x) / zone) * c.cruiseSpeed * dt * 3.0f;
    if (c.x > right) {
      c.x = right;
      c.vx = -std::fabs(c.vx) * 0.5f;
    }
  }
}

void VerticalLimits(Creature& c, const SpeciesTraits& traits, float fH) {
  const float top = traits.limitTop * fH;
  const float bottom = traits.limitBottom * fH;
  if (c.y < top) {
    c.y = top;
    c.vy = std::fabs(c.vy) * 0.3f;
  }
  if (c.y > bottom) {
    c.y = bottom;
    c.vy = -std::fabs(c.vy) * 0.3f;
  }
}

void StepCreature(Creature& c, const Aquarium& aquarium, float dt, float fW, float fH) {
  const SpeciesTraits& traits = kSpeciesTraits[c.species];

  c.swimPhase = Advance(c.swimPhase, c.swimRate * dt);
  c.pacePhase = Advance(c.pacePhase, 0.8f * dt);
  c.pulsePhase = Advance(c.pulsePhase, 2.0f * dt);
  if (!traits.keepsSwimRate) c.swimRate = traits.swimRateBase + traits.swimRatePerSpeed * std::fabs(c.vx);

  // Cruise: keep the heading, follow a slowly varying speed with a lag.
  const float dir = c.vx < 0 ? -1.0f : 1.0f;
  const float p = c.pacePhase;
  const float v = traits.speedVariation;
  const float factor = 1.0f + v * Sin(1.3f * p) + 0.5f * v * Sin(2.7f * p);
  c.vx += (dir * c.cruiseSpeed * factor - c.vx) * dt * 2.0f;

  c.retargetTimer -= dt;
  if (c.retargetTimer <= 0) {
    const float spread = traits.depthSpread * fH;
    c.targetY = traits.targetCentre * fH;
    c.targetY += RandomUniform(-spread, spread);
    c.retargetTimer = RandomUniform(0.5f * traits.holdTime, 1.5f * traits.holdTime);
  }

  const float climbLimit = 0.6f * c.cruiseSpeed;
  const float want = std::clamp((c.targetY - c.y) * traits.climbGain * 0.5f, -climbLimit, climbLimit);
  c.vy += (want - c.vy) * dt * 3.0f;

  SpeciesMove(c, dt);
  FleePointer(c, aquarium, dt);

  c.x += c.vx * dt;
  c.y += c.vy * dt;

  UpdateTilt(c);
  SideWalls(c, fW, dt);
  VerticalLimits(c, traits, fH);
}

void BubblePass(Aquarium& aquarium, float dt, float fW, float fH) {
  for (Bubble& b : aquarium.bubbles) {
    b.y -= b.riseSpeed * dt;
    b.wobblePhase = Advance(b.wobblePhase, b.wobbleRate * dt);
    b.x += Sin(b.wobblePhase) * 8.0f * dt;
  }
  aquarium.bubbles.erase(std::remove_if(aquarium.bubbles.begin(), aquarium.bubbles.end(),
                                        [](const Bubble& b) { return b.y < -10.0f; }),
                         aquarium.bubbles.end());

  // At 60 bubbles the timer keeps running, so one follows as soon as there is room.
  aquarium.bubbleTimer += dt;
  if (aquarium.bubbleTimer > 0.15f && aquarium.bubbles.size() < 60) {
    aquarium.bubbleTimer = 0;
    Bubble b;
    b.x = RandomUniform(0.05f * fW, 0.95f * fW);
    b.y = fH + 5.0f;
    b.radius = RandomUniform(2.0f, 8.0f);
    b.riseSpeed = RandomUniform(30.0f, 80.0f);
    b.wobblePhase = RandomUniform(0.0f, 6.28f);
    b.wobbleRate = RandomUniform(1.0f, 3.0f);
    aquarium.bubbles.push_back(b);
  }
}

}  // namespace

void StepAquarium(Aquarium& aquarium, const Settings& settings, float dt, int W, int H) {
  if (W <= 0 || H <= 0) return;
  AdvanceSceneClock(aquarium, dt);
  if (!aquarium.populated) {
    PopulateAquarium(aquarium, settings, W, H);
    aquarium.populated = true;
  }
  if (aquarium.width != W || aquarium.height != H) FitAquarium(aquarium, W, H);
  const float fW = static_cast<float>(W);
  const float fH = static_cast<float>(H);

  SchoolingPass(aquarium, dt);
  for (Creature& c : aquarium.creatures) StepCreature(c, aquarium, dt, fW, fH);
  BubblePass(aquarium, dt, fW, fH);
  for (PlantClump& p : aquarium.plants) p.swayPhase = Advance(p.swayPhase, p.swayRate * dt);
  for (LightRay& r : aquarium.lightRays) r.phase = Advance(r.phase, r.rate * dt);
}

void AdvanceSceneClock(Aquarium& aquarium, float dt) {
  aquarium.elapsed += dt;
}

void FitAquarium(Aquarium& aquarium, int W, int H) {
  if (W <= 0 || H <= 0) return;
  if (aquarium.width > 0 && aquarium.height > 0) {
    const float sx = float(W) / float(aquarium.width);
    const float sy = float(H) / float(aquarium.height);
    for (Creature& c : aquarium.creatures) {
      c.x *= sx;
      c.y *= sy;
      c.targetY *= sy;
    }
    for (Bubble& b : aquarium.bubbles) {
      b.x *= sx;
      b.y *= sy;
    }
    for (PlantClump& p : aquarium.plants) p.x *= sx;  // rooted at a fraction of the height already
    for (LightRay& r : aquarium.lightRays) r.x *= sx;
    for (Coral& c : aquarium.corals) {
      c.x *= sx;
      c.y *= sy;
    }
    for (Starfish& s : aquarium.starfish) {
      s.x *= sx;
      s.y *= sy;
    }
  }
  aquarium.width = W;
  aquarium.height = H;
}
