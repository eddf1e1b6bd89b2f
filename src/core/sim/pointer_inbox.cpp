#include "sim/pointer_inbox.h"

namespace {

uint64_t Pack(PointerPoint p) {
  return uint64_t(uint32_t(p.x)) << 32 | uint32_t(p.y);
}

PointerPoint Unpack(uint64_t v) {
  return {int32_t(uint32_t(v >> 32)), int32_t(uint32_t(v))};
}

}  // namespace

void PostPointerMove(PointerInbox& inbox, PointerPoint point) {
  inbox.latestMove.store(Pack(point), std::memory_order_release);
}

bool PostPointerClick(PointerInbox& inbox, PointerPoint point) {
  const uint32_t written = inbox.clicksWritten.load(std::memory_order_relaxed);
  if (written - inbox.clicksRead.load(std::memory_order_acquire) >= PointerInbox::kClickCapacity)
    return false;
  inbox.clicks[written % PointerInbox::kClickCapacity] = point;
  inbox.clicksWritten.store(written + 1, std::memory_order_release);
  return true;
}

bool TakePointerMove(PointerInbox& inbox, PointerPoint& point) {
  const uint64_t move = inbox.latestMove.exchange(PointerInbox::kNoMove, std::memory_order_acquire);
  if (move == PointerInbox::kNoMove) return false;
  point = Unpack(move);
  return true;
}

int TakePointerClicks(PointerInbox& inbox, PointerPoint* clicks, int max) {
  uint32_t read = inbox.clicksRead.load(std::memory_order_relaxed);
  const uint32_t written = inbox.clicksWritten.load(std::memory_order_acquire);
  int taken = 0;
  for (; read != written && taken < max; ++read)
    clicks[taken++] = inbox.clicks[read % PointerInbox::kClickCapacity];
  inbox.clicksRead.store(read, std::memory_order_release);
  return taken;
}
