#include "player/PacketQueue.h"

#include <gtest/gtest.h>

#include <thread>

#include "media/AVCodecStubs.h"
#include "support/Fixtures.h"

namespace trovenix {
namespace {

PacketPtr MakePacket(int size) {
  PacketPtr packet(ff::av_packet_alloc());
  if (size > 0) ff::av_new_packet(packet.get(), size);
  return packet;
}

TEST(PacketQueue, CountsBytesKeepsOrderAndFlushes) {
  test::LoadLibrariesOrFail(PlayerLibraries);
  TPacketQueue queue;
  auto a = MakePacket(100);
  a->pts = 1;
  auto b = MakePacket(50);
  b->pts = 2;
  ASSERT_EQ(queue.Put(a.get()), 0);
  ASSERT_EQ(queue.PutFlushMarker(), 0);
  ASSERT_EQ(queue.Put(b.get()), 0);
  EXPECT_EQ(queue.Size(), 100 + 50 + 3 * TPacketQueue::NodeSize);
  EXPECT_EQ(queue.Count(), 3);
  PacketPtr out;
  ASSERT_EQ(queue.Get(out, false), 1);
  EXPECT_EQ(out->pts, 1);
  EXPECT_EQ(out->size, 100);
  ASSERT_EQ(queue.Get(out, false), 1);
  EXPECT_EQ(out, nullptr);  // the flush marker
  queue.Flush();
  EXPECT_EQ(queue.Size(), 0);
  EXPECT_EQ(queue.Get(out, false), 0);
}

TEST(PacketQueue, AbortWakesABlockedReader) {
  test::LoadLibrariesOrFail(PlayerLibraries);
  TPacketQueue queue;
  int result = 0;
  std::thread reader([&] {
    PacketPtr out;
    result = queue.Get(out, true);
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  queue.Abort();
  reader.join();
  EXPECT_EQ(result, -1);
  PacketPtr out;
  EXPECT_EQ(queue.Get(out, false), -1);
}

}  // namespace
}  // namespace trovenix
