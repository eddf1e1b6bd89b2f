// Pointer events handed from the thread that hears them (the mouse hook's)
// to the frame thread without either ever waiting for the other: the latest
// position, and the clicks since the frame thread last looked, in a fixed
// ring. One writer, one reader; a full ring drops the newest click.
#pragma once

#include <atomic>
#include <cstdint>

#include "sim/aquarium.h"

struct PointerPoint {
  int32_t x = 0;
  int32_t y = 0;
};

struct PointerInbox {
  static constexpr uint32_t kClickCapacity = 64;
  static constexpr uint64_t kNoMove = 0x8000000080000000ull;  // no coordinate is INT32_MIN
  std::atomic<uint64_t> latestMove{kNoMove};
  std::atomic<uint32_t> clicksWritten{0};  // changed by the writer only
  std::atomic<uint32_t> clicksRead{0};     // changed by the reader only
  PointerPoint clicks[kClickCapacity];
  std::atomic<uint32_t> eventsHeard{0};  // every event, so that a silent hook is noticed
};
static_assert(ATOMIC_LLONG_LOCK_FREE == 2, "the hook must never wait on a lock");

// The writer's side. PostPointerClick is false when the ring is full.
void PostPointerMove(PointerInbox& inbox, PointerPoint point);
bool PostPointerClick(PointerInbox& inbox, PointerPoint point);

// The reader's side: the position moved to since the last call, if any; and
// up to `max` clicks, oldest first.
bool TakePointerMove(PointerInbox& inbox, PointerPoint& point);
int TakePointerClicks(PointerInbox& inbox, PointerPoint* clicks, int max);
