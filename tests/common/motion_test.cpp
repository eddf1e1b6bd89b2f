#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "settings/settings.h"
#include "sim/pointer_inbox.h"
#include "sim/random.h"
#include "sim/simulation.h"

namespace {

constexpr int kW = 1920;
constexpr int kH = 1080;

// A creature in mid-water, cruising at its own speed, with no retarget due.
Creature Make(int species, float x, float y, float vx) {
  Creature c;
  c.species = uint8_t(species);
  c.x = x;
  c.y = y;
  c.vx = vx;
  c.lastVx = vx;
  c.cruiseSpeed = std::abs(vx) > 0 ? std::abs(vx) : 40.0f;
  c.size = 20;
  c.swimRate = 5;
  c.targetY = y;
  c.retargetTimer = 3;
  return c;
}

Aquarium With(std::vector<Creature> creatures) {
  Aquarium a;
  a.populated = true;
  a.creatures = std::move(creatures);
  return a;
}

Creature StepOne(Aquarium a, float dt, size_t index = 0) {
  StepAquarium(a, Settings(), dt, kW, kH);
  return a.creatures[index];
}

}  // namespace

TEST(Step, ZeroSizedWindowDoesNothing) {
  SeedRandom(5);
  const int first = NextRandom();
  SeedRandom(5);

  Aquarium fresh;
  const std::pair<int, int> emptySizes[] = {{0, kH}, {kW, 0}, {-3, kH}, {0, 0}};
  for (auto [w, h] : emptySizes) StepAquarium(fresh, Settings(), 0.05f, w, h);
  EXPECT_FALSE(fresh.populated);
  EXPECT_TRUE(fresh.creatures.empty());
  EXPECT_TRUE(fresh.plants.empty());
  EXPECT_EQ(fresh.bubbleTimer, 0.0f);

  Aquarium running = With({Make(kPufferfish, 500, 500, 30)});
  StepAquarium(running, Settings(), 0.05f, 0, kH);
  EXPECT_EQ(running.creatures[0].x, 500.0f);
  EXPECT_EQ(running.creatures[0].swimPhase, 0.0f);
  EXPECT_EQ(running.elapsed, 0.0) << "no clock either";

  EXPECT_EQ(NextRandom(), first) << "no draw may be taken";
}

TEST(Step, FirstStepPopulatesAndMovesInTheSameCall) {
  SeedRandom(11);
  Aquarium populatedOnly;
  PopulateAquarium(populatedOnly, Settings(), kW, kH);

  SeedRandom(11);
  Aquarium a;
  StepAquarium(a, Settings(), 0.05f, kW, kH);
  EXPECT_TRUE(a.populated);
  ASSERT_EQ(a.creatures.size(), 28u);
  EXPECT_NE(a.creatures[0].x, populatedOnly.creatures[0].x);
  EXPECT_EQ(a.plants[0].swayPhase,
            populatedOnly.plants[0].swayPhase + populatedOnly.plants[0].swayRate * 0.05f);
  EXPECT_EQ(a.lightRays[7].phase, populatedOnly.lightRays[7].phase + populatedOnly.lightRays[7].rate * 0.05f);
  EXPECT_EQ(a.elapsed, double(0.05f)) << "the step moves the scene clock on";

  // A later step with populated set does not rebuild.
  const float x = a.creatures[0].x;
  StepAquarium(a, Settings(), 0.0f, kW, kH);
  EXPECT_EQ(a.creatures[0].x, x);
}

TEST(Step, ZeroDtAppliesOnlyThePerStepFactors) {
  Creature puffer = Make(kPufferfish, 500, 500, 30);
  puffer.tilt = 0.4f;
  Creature seahorse = Make(kSeahorse, 900, 500, 20);
  seahorse.pacePhase = 3.1416f;  // sin(0.5 p) = 1: pausing
  Creature octopus = Make(kOctopus, 1300, 500, 20);
  octopus.pacePhase = 2.618f;  // sin(0.6 p) = 1: pushing
  Creature calmOctopus = Make(kOctopus, 1500, 500, 20);

  Aquarium a = With({puffer, seahorse, octopus, calmOctopus});
  StepAquarium(a, Settings(), 0.0f, kW, kH);
  EXPECT_EQ(a.creatures[0].x, 500.0f);
  EXPECT_EQ(a.creatures[0].y, 500.0f);
  EXPECT_EQ(a.creatures[0].vx, 30.0f);
  EXPECT_EQ(a.creatures[0].swimPhase, 0.0f);
  EXPECT_EQ(a.creatures[0].tilt, 0.4f * 0.9f);
  EXPECT_EQ(a.creatures[1].vx, 20.0f * 0.95f);
  EXPECT_EQ(a.creatures[2].vx, 20.0f * 1.02f);
  EXPECT_EQ(a.creatures[3].vx, 20.0f);
  EXPECT_EQ(a.creatures[1].pacePhase, 3.1416f);
}

TEST(Step, TurningTiltsTheBody) {
  // lastVx -> vx; a flip across +-0.1 adds 0.4 against the new direction.
  const std::pair<float, float> turns[] = {{0.2f, -0.2f}, {-0.2f, 0.2f}, {0.05f, -0.2f}, {-0.2f, -0.05f}};
  for (auto [lastVx, vx] : turns) {
    Creature c = Make(kPufferfish, 500, 500, vx);
    c.lastVx = lastVx;
    float t = -(vx - lastVx) * 0.08f;
    if (lastVx > 0.1f && vx < -0.1f) t += 0.4f;
    if (lastVx < -0.1f && vx > 0.1f) t -= 0.4f;
    const Creature after = StepOne(With({c}), 0.0f);
    EXPECT_EQ(after.tilt, t * 0.9f) << lastVx << " -> " << vx;
    EXPECT_EQ(after.lastVx, vx);
  }
}

TEST(Step, RetargetDrawsAFreshTargetAndHoldTime) {
  Creature c = Make(kTropicalFish, 500, 500, 40);
  c.retargetTimer = 0.01f;
  SeedRandom(31);
  const float spread = 0.3f * kH;
  const float target = 0.45f * kH + RandomUniform(-spread, spread);
  const float hold = RandomUniform(0.5f * 1.5f, 1.5f * 1.5f);
  SeedRandom(31);
  const Creature after = StepOne(With({c}), 0.05f);
  EXPECT_EQ(after.targetY, target);
  EXPECT_EQ(after.retargetTimer, hold) << "the overshoot is dropped";

  c.retargetTimer = 0.06f;
  EXPECT_EQ(StepOne(With({c}), 0.05f).targetY, 500.0f);
}

TEST(Step, PhasesAdvanceWithTheRateOfThePreviousStep) {
  const float dt = 0.05f;
  Creature swimmer = Make(kGuppy, 500, 500, -60);
  swimmer.vy = 10;
  Creature crab = Make(kCrab, 900, 0.85f * kH, 30);
  Creature diver = Make(kShark, 1300, 300, 50);
  diver.targetY = 900;
  const Aquarium a = [&] {
    Aquarium x = With({swimmer, crab, diver});
    StepAquarium(x, Settings(), dt, kW, kH);
    return x;
  }();
  const Creature& s = a.creatures[0];
  EXPECT_EQ(s.swimPhase, 5.0f * dt);
  EXPECT_EQ(s.pacePhase, 0.8f * dt);
  EXPECT_EQ(s.pulsePhase, 2.0f * dt);
  EXPECT_EQ(s.swimRate, 7.0f + 0.3f * 60.0f) << "from |vx| before the step moved it";
  EXPECT_EQ(a.creatures[1].swimRate, 5.0f) << "floor dwellers keep their rate";
  // Cruise: toward the modulated cruise speed in its own direction, with a lag.
  const double p = 0.8 * dt;
  const double factor = 1 + 0.3 * std::sin(1.3 * p) + 0.15 * std::sin(2.7 * p);
  EXPECT_NEAR(s.vx, -60 + (-60 * factor + 60) * dt * 2, 1e-4);
  // Depth steering: toward the target, at most 0.6 cruise speed, with a lag.
  EXPECT_NEAR(s.vy, 10 - 10 * dt * 3, 1e-5);
  EXPECT_NEAR(a.creatures[2].vy, 0.6f * 50 * dt * 3, 1e-5);
  // Moved by the velocity the step ended with (no wall near).
  EXPECT_EQ(s.x, 500.0f + s.vx * dt);
  EXPECT_EQ(s.y, 500.0f + s.vy * dt);
}

TEST(Step, PhasesWrapWithoutAJumpInAnyOfTheirSines) {
  // Just below 20 pi: the step crosses it. Every multiple the motion and the
  // figures take of a phase (tenths) must see the same sine as if unwrapped.
  const double period = 20 * 3.14159265358979;
  Creature c = Make(kGuppy, 500, 500, 60);
  c.swimPhase = c.pacePhase = c.pulsePhase = float(period - 0.01);
  Aquarium a = With({c});
  a.plants = {{100, 80, 20, float(period - 0.01), 2, 0x30A050, 4}};
  a.lightRays = {{300, 40, 0.1f, float(period - 0.01), 0.5f, 12}};
  const float dt = 0.1f;
  StepAquarium(a, Settings(), dt, kW, kH);
  const Creature& s = a.creatures[0];
  const double cases[][2] = {{s.swimPhase, period - 0.01 + 5 * dt},
                             {s.pacePhase, period - 0.01 + 0.8 * dt},
                             {s.pulsePhase, period - 0.01 + 2 * dt},
                             {a.plants[0].swayPhase, period - 0.01 + 2 * dt},
                             {a.lightRays[0].phase, period - 0.01 + 0.5 * dt}};
  for (const auto& [wrapped, unwrapped] : cases) {
    EXPECT_LT(wrapped, 1.0);
    for (double k : {0.5, 0.6, 0.8, 1.0, 1.3, 1.5, 2.7})
      EXPECT_NEAR(std::sin(k * wrapped), std::sin(k * unwrapped), 1e-4) << "k=" << k;
  }
}

TEST(Step, SpeciesMovesAndWallZones) {
  const float dt = 0.05f;
  // Level with its target, a jellyfish at the top of its pulse rises and drifts.
  Creature jelly = Make(kJellyfish, 500, 300, 10);
  jelly.pulsePhase = 1.9635f - 2 * dt;  // sin(0.8 p) = 1 after the phase step
  const Creature j = StepOne(With({jelly}), dt);
  EXPECT_NEAR(j.vy, -20.0f * dt, 1e-4);
  Creature still = jelly;
  still.pulsePhase = 12.5664f - 2 * dt;  // sin(0.5 p) = 0 and sin(0.8 p) < 0.3: neither move
  const Creature s = StepOne(With({still}), dt);
  EXPECT_NEAR(s.vy, 0.0f, 1e-4);
  EXPECT_NEAR(j.vx - s.vx, std::sin(0.5 * 1.9635) * 3 * dt, 1e-4);

  Creature ray = Make(kRay, 500, 0.75f * kH, 10);
  ray.pulsePhase = 1.0472f - 2 * dt;  // sin(1.5 p) = 1
  EXPECT_NEAR(StepOne(With({ray}), dt).vy, 8.0f * dt, 1e-4);

  // Inside the left zone, heading for the wall: braked by its depth into the zone.
  const Creature middle = StepOne(With({Make(kPufferfish, 500, 500, -40)}), dt);
  const Creature zone = StepOne(With({Make(kPufferfish, 60 + 60, 500, -40)}), dt);
  const float into = (60 + 60 + middle.vx * dt - 60) / 120;  // position after the move, m = 60, zone = 120
  EXPECT_NEAR(zone.vx - middle.vx, (1 - into) * 40 * dt * 3, 1e-3);
  const Creature right = StepOne(With({Make(kPufferfish, kW - 120, 500, 40)}), dt);
  EXPECT_LT(right.vx, StepOne(With({Make(kPufferfish, 500, 500, 40)}), dt).vx - 2);
}

TEST(Step, StillCreatureCruisesRight) {
  const Creature c = StepOne(With({Make(kPufferfish, 500, 500, 0)}), 0.05f);
  EXPECT_GT(c.vx, 0.0f);
}

TEST(Step, PointerPushesOnlyBetweenItsBounds) {
  const Creature base = Make(kPufferfish, 500, 500, 30);
  const float dt = 0.05f;
  const Creature untouched = StepOne(With({base}), dt);

  const auto withPointer = [&](float px, float py) {
    Aquarium a = With({base});
    RecordPointerMove(a, px, py);
    return StepOne(a, dt);
  };
  // Exactly on it, within 0.1 px, exactly 180 px away, and far away.
  const std::pair<float, float> noPush[] = {{500, 500}, {500.05f, 500}, {680, 500}, {500, 900}};
  for (auto [px, py] : noPush) {
    const Creature c = withPointer(px, py);
    EXPECT_EQ(c.vx, untouched.vx) << px << "," << py;
    EXPECT_EQ(c.vy, untouched.vy) << px << "," << py;
  }

  // 100 px to the right: (1 - 100/180) * 120 * 3 px/s^2, straight to the left.
  const Creature pushed = withPointer(600, 500);
  EXPECT_NEAR(untouched.vx - pushed.vx, (1 - 100 / 180.0f) * 120 * 3 * dt, 1e-3);
  EXPECT_EQ(pushed.vy, untouched.vy);
  const Creature below = withPointer(500, 400);
  EXPECT_GT(below.vy, untouched.vy + 1);
  // Just outside both bounds: pushed, hard near the pointer and barely at 179 px.
  EXPECT_LT(withPointer(500.25f, 500).vx, untouched.vx - 15);
  EXPECT_LT(withPointer(679, 500).vx, untouched.vx);

  // Known only after a move: a stored position alone does nothing.
  Aquarium unknown = With({base});
  unknown.pointerX = 600;
  unknown.pointerY = 500;
  EXPECT_EQ(StepOne(unknown, dt).vx, untouched.vx);
}

TEST(Step, SchoolersIgnoreFarAndCoincidentFish) {
  const Creature fish = Make(kTropicalFish, 700, 500, 40);
  const float dt = 0.05f;
  const Creature alone = StepOne(With({fish}), dt);

  Creature far = Make(kGuppy, 700 + 13 * 20, 500, -60);
  Creature twin = Make(kAngelfish, 700, 500, -60);
  twin.vy = 25;
  for (const Creature& other : {far, twin}) {
    const Creature c = StepOne(With({fish, other}), dt);
    EXPECT_EQ(c.vx, alone.vx);
    EXPECT_EQ(c.vy, alone.vy);
  }

  // Controls: a schooler in view pulls it along; a non-schooler does not.
  Creature near = Make(kGuppy, 700 + 11.5f * 20, 500, -60);
  EXPECT_LT(StepOne(With({fish, near}), dt).vx, alone.vx - 1);
  near.species = kPufferfish;
  EXPECT_EQ(StepOne(With({fish, near}), dt).vx, alone.vx);

  // Crowding pushes apart: a close neighbour on the right sends it left.
  Creature close = Make(kClownfish, 700 + 0.5f * 20, 500, 40);
  EXPECT_LT(StepOne(With({fish, close}), dt).vx, alone.vx);
}

TEST(Step, SchoolingCapsSpeedEvenAtZeroDt) {
  Creature fast = Make(kBlueTang, 700, 500, 300);
  fast.cruiseSpeed = 50;
  fast.vy = 100;
  const Creature c = StepOne(With({fast}), 0.0f);
  EXPECT_NEAR(std::hypot(c.vx, c.vy), 75.0f, 1e-3);
  EXPECT_NEAR(c.vy / c.vx, 100.0f / 300.0f, 1e-5);

  fast.species = kPufferfish;
  EXPECT_EQ(StepOne(With({fast}), 0.0f).vx, 300.0f);
}

TEST(Step, WallsAndDepthLimitsHoldCreaturesIn) {
  const float dt = 0.02f;
  // After a shrink: beyond the right margin, clamped and sent inward.
  Aquarium shrunk = With({Make(kShark, 1900, 500, 50), Make(kShark, -40, 500, -50)});
  StepAquarium(shrunk, Settings(), dt, 1000, kH);
  EXPECT_EQ(shrunk.creatures[0].x, 1000.0f - 3.0f * 20);
  EXPECT_LT(shrunk.creatures[0].vx, 0.0f);
  EXPECT_EQ(shrunk.creatures[1].x, 3.0f * 20);
  EXPECT_GT(shrunk.creatures[1].vx, 0.0f);

  // Turning builds up tilt on the next step, never beyond 0.5.
  StepAquarium(shrunk, Settings(), dt, 1000, kH);
  EXPECT_EQ(shrunk.creatures[0].tilt, 0.5f);
  EXPECT_EQ(shrunk.creatures[1].tilt, -0.5f);

  Creature jelly = Make(kJellyfish, 500, 0.9f * kH, 10);
  jelly.vy = 30;
  Creature ray = Make(kRay, 900, 0.1f * kH, 10);
  ray.vy = -30;
  Creature shrimp = Make(kCleanerShrimp, 1300, 0.95f * kH, 10);
  Aquarium a = With({jelly, ray, shrimp});
  StepAquarium(a, Settings(), dt, kW, kH);
  // Clamped, with the vertical speed turned back and damped.
  EXPECT_EQ(a.creatures[0].y, 0.65f * kH);
  EXPECT_LT(a.creatures[0].vy, -1.0f);
  EXPECT_GT(a.creatures[0].vy, -15.0f);
  EXPECT_EQ(a.creatures[1].y, 0.65f * kH);
  EXPECT_GT(a.creatures[1].vy, 1.0f);
  EXPECT_LT(a.creatures[1].vy, 15.0f);
  EXPECT_EQ(a.creatures[2].y, 0.9f * kH);
}

TEST(Step, TimedBubblesWaitBelowSixty) {
  Aquarium a = With({});
  a.bubbles.assign(60, Bubble{100, 500, 4, 10, 0, 1});
  a.bubbleTimer = 0.5f;
  StepAquarium(a, Settings(), 0.01f, kW, kH);
  EXPECT_EQ(a.bubbles.size(), 60u);
  EXPECT_EQ(a.bubbleTimer, 0.5f + 0.01f);

  a.bubbles.pop_back();
  StepAquarium(a, Settings(), 0.01f, kW, kH);
  ASSERT_EQ(a.bubbles.size(), 60u);
  EXPECT_EQ(a.bubbleTimer, 0.0f);
  const Bubble& timed = a.bubbles.back();
  EXPECT_EQ(timed.y, kH + 5.0f);
  EXPECT_GE(timed.x, 0.05f * kW);
  EXPECT_LE(timed.x, 0.95f * kW);
  EXPECT_GE(timed.radius, 2.0f);
  EXPECT_LE(timed.radius, 8.0f);

  // At 15 frames per second one timed bubble every third step.
  Aquarium slow = With({});
  for (int i = 0; i < 9; ++i) StepAquarium(slow, Settings(), 1.0f / 15, kW, kH);
  EXPECT_EQ(slow.bubbles.size(), 3u);
}

TEST(Step, BubblesLeavingTheTopAreRemovedInOrder) {
  Aquarium a = With({});
  a.bubbles = {
      {10, -20, 4, 10, 0, 1}, {20, 300, 4, 10, 0, 1}, {30, -9.5f, 4, 10, 0, 1}, {40, 200, 4, 10, 0, 1}};
  StepAquarium(a, Settings(), 0.1f, kW, kH);
  ASSERT_EQ(a.bubbles.size(), 2u);
  EXPECT_EQ(a.bubbles[0].y, 300.0f - 1.0f);
  EXPECT_EQ(a.bubbles[1].y, 200.0f - 1.0f);
  EXPECT_NEAR(a.bubbles[0].x, 20 + std::sin(0.1) * 0.8, 1e-4);
}

TEST(PointerInput, ClickBurstsPassTheTimedLimitAndLeaveThePointerAlone) {
  SeedRandom(3);
  Aquarium a = With({});
  a.bubbles.assign(60, Bubble{100, 500, 4, 10, 0, 1});
  AddClickBurst(a, 400, 300);
  const size_t n = a.bubbles.size() - 60;
  EXPECT_GE(n, 15u);
  EXPECT_LE(n, 25u);
  for (size_t i = 60; i < a.bubbles.size(); ++i) {
    const Bubble& b = a.bubbles[i];
    EXPECT_GE(b.x, 370.0f);
    EXPECT_LE(b.x, 430.0f);
    EXPECT_GE(b.y, 290.0f);
    EXPECT_LE(b.y, 310.0f);
    EXPECT_GE(b.radius, 3.0f);
    EXPECT_LE(b.radius, 12.0f);
    EXPECT_GE(b.riseSpeed, 60.0f);
    EXPECT_LE(b.riseSpeed, 150.0f);
    EXPECT_GE(b.wobbleRate, 2.0f);
    EXPECT_LE(b.wobbleRate, 5.0f);
  }
  EXPECT_FALSE(a.pointerKnown);
  EXPECT_EQ(a.pointerX, -9999.0f);

  // Above the top edge every bubble is gone at the next step, even without time.
  Aquarium high = With({});
  AddClickBurst(high, 400, -21);
  StepAquarium(high, Settings(), 0.0f, kW, kH);
  EXPECT_TRUE(high.bubbles.empty());

  RecordPointerMove(a, -50, 2000);
  EXPECT_TRUE(a.pointerKnown);
  EXPECT_EQ(a.pointerX, -50.0f);
  EXPECT_EQ(a.pointerY, 2000.0f);
}

TEST(PointerInput, ClickBubblesAreCappedOldestFirstAndTheInboxKeepsTheLatestMove) {
  SeedRandom(5);
  Aquarium a = With({});
  // Clicking for hours: the newest bursts stay, the oldest make room.
  for (int i = 0; i < 10000; ++i) AddClickBurst(a, float(i % 800), 250);
  size_t fromClicks = 0;
  for (const Bubble& b : a.bubbles) fromClicks += b.fromClick;
  EXPECT_LE(fromClicks, kMaxClickBubbles);
  EXPECT_GE(fromClicks, kMaxClickBubbles - 25);
  EXPECT_NEAR(a.bubbles.back().x, 9999 % 800, 30.0f) << "the last click's burst";

  // Moves: only the latest counts; a full ring drops the newest click.
  PointerInbox inbox;
  PostPointerMove(inbox, {10, 20});
  PostPointerMove(inbox, {160, 90});
  for (uint32_t i = 0; i < PointerInbox::kClickCapacity; ++i) EXPECT_TRUE(PostPointerClick(inbox, {0, 0}));
  EXPECT_FALSE(PostPointerClick(inbox, {1, 1}));
  PointerPoint move, clicks[PointerInbox::kClickCapacity + 1];
  EXPECT_TRUE(TakePointerMove(inbox, move));
  EXPECT_EQ(move.x, 160);
  EXPECT_EQ(move.y, 90);
  EXPECT_EQ(TakePointerClicks(inbox, clicks, int(PointerInbox::kClickCapacity) + 1),
            int(PointerInbox::kClickCapacity));
  EXPECT_FALSE(TakePointerMove(inbox, move)) << "a move is taken once";
}

TEST(PointerInput, BurstSizeFollowsOneDraw) {
  for (uint32_t seed = 0; seed < 50; ++seed) {
    SeedRandom(seed);
    const int n = 15 + int(10.0f * (float(NextRandom()) / 32767.0f));
    SeedRandom(seed);
    Aquarium a;
    AddClickBurst(a, 0, 0);
    EXPECT_EQ(int(a.bubbles.size()), n);
  }
}

TEST(Step, ANewSizeMovesEverythingToTheSameRelativePlace) {
  SeedRandom(3);
  Aquarium a;
  StepAquarium(a, Settings(), 0, 800, 600);
  ASSERT_EQ(a.width, 800);
  ASSERT_EQ(a.height, 600);
  const Aquarium before = a;
  FitAquarium(a, 1600, 900);
  EXPECT_EQ(a.width, 1600);
  EXPECT_EQ(a.height, 900);
  ASSERT_FALSE(a.corals.empty());
  EXPECT_FLOAT_EQ(a.corals[0].x, 2 * before.corals[0].x);
  EXPECT_FLOAT_EQ(a.corals[0].y, 1.5f * before.corals[0].y) << "still on the floor";
  EXPECT_FLOAT_EQ(a.corals[0].size, before.corals[0].size) << "sizes stay";
  EXPECT_FLOAT_EQ(a.starfish[0].y, 1.5f * before.starfish[0].y);
  EXPECT_FLOAT_EQ(a.plants[0].x, 2 * before.plants[0].x);
  EXPECT_FLOAT_EQ(a.lightRays[0].x, 2 * before.lightRays[0].x);
  EXPECT_FLOAT_EQ(a.creatures[0].x, 2 * before.creatures[0].x);
  EXPECT_FLOAT_EQ(a.creatures[0].targetY, 1.5f * before.creatures[0].targetY);
  EXPECT_EQ(a.creatures.size(), before.creatures.size()) << "the same aquarium";

  // A step at another size fits first.
  StepAquarium(a, Settings(), 0, 400, 300);
  EXPECT_EQ(a.width, 400);
  EXPECT_NEAR(a.corals[0].y, 0.5f * before.corals[0].y, 1e-3);

  // An aquarium without a recorded size (built by hand) only records it.
  Aquarium manual = With({Make(kGuppy, 500, 500, 60)});
  FitAquarium(manual, 1000, 700);
  EXPECT_EQ(manual.creatures[0].x, 500.0f);
  EXPECT_EQ(manual.width, 1000);
}
