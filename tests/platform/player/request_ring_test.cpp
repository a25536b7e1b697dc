// The hand-over ring: order, overflow (the newest survive) and the last request winning.
#include <gtest/gtest.h>

#include "platform/player/request_ring.h"

namespace {

using platform::player::PlayRequest;
using platform::player::RequestRing;

PlayRequest Numbered(std::int64_t n) {
    PlayRequest r;
    r.frame = n;
    r.dataBytes = static_cast<std::uint32_t>(n * 3);
    r.loop = n % 2;
    return r;
}

TEST(RequestRing, HandsOverEveryFieldInOrder) {
    RequestRing ring;
    for (int i = 0; i < 10; ++i)
        ring.Push(Numbered(i));
    std::vector<std::int64_t> seen;
    ring.Drain([&](const PlayRequest& r) {
        EXPECT_EQ(r.dataBytes, r.frame * 3);
        EXPECT_EQ(r.loop, r.frame % 2 == 1);
        seen.push_back(r.frame);
    });
    EXPECT_EQ(seen, (std::vector<std::int64_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    ring.Drain([](const PlayRequest&) { FAIL() << "drained twice"; });
}

TEST(RequestRing, KeepsTheNewestWhenTheConsumerFallsBehind) {
    RequestRing ring;
    const int total = 1000;
    for (int i = 0; i < total; ++i)
        ring.Push(Numbered(i));
    std::vector<std::int64_t> seen;
    ring.Drain([&](const PlayRequest& r) { seen.push_back(r.frame); });
    ASSERT_EQ(seen.size(), RequestRing::kSlots);
    EXPECT_EQ(seen.front(), total - static_cast<int>(RequestRing::kSlots));
    EXPECT_EQ(seen.back(), total - 1);
}

}  // namespace
