#include "net/framer.h"

#include <gtest/gtest.h>

using namespace plimb;

namespace {
std::vector<std::string> feedAll(Framer& f, std::initializer_list<std::string_view> reads) {
    std::vector<std::string> out;
    for (auto r : reads)
        EXPECT_TRUE(f.feed(r, out));
    return out;
}
} // namespace

TEST(Framer, CutsTwoMessagesFromOneRead) {
    Framer f;
    EXPECT_EQ(feedAll(f, {"CMD_a+1\xff"
                          "CMD_b+2\xff"}),
              (std::vector<std::string>{"CMD_a+1", "CMD_b+2"}));
    EXPECT_EQ(f.tailSize(), 0u);
}

TEST(Framer, JoinsAMessageSplitOverReads) {
    Framer f;
    std::vector<std::string> out;
    EXPECT_TRUE(f.feed("CMD_ch", out));
    EXPECT_TRUE(out.empty()) << "a read without terminator queues nothing";
    EXPECT_TRUE(f.feed("at+1+hi\xff"
                       "CMD_x",
                       out));
    EXPECT_EQ(out, std::vector<std::string>{"CMD_chat+1+hi"});
    EXPECT_EQ(f.tailSize(), 5u);
}

TEST(Framer, KeepsEmptyMessages) {
    Framer f;
    EXPECT_EQ(feedAll(f, {"a\xff\xff"
                          "b\xff"}),
              (std::vector<std::string>{"a", "", "b"}));
}

TEST(Framer, ClosesOnAnUnterminatedFlood) {
    Framer f(16);
    std::vector<std::string> out;
    EXPECT_TRUE(f.feed(std::string(16, 'x'), out));
    EXPECT_FALSE(f.feed("y", out)) << "17 bytes without terminator exceed a 16-byte cap";
    EXPECT_EQ(f.tailSize(), 0u);

    Framer big;
    EXPECT_TRUE(big.feed(std::string(64 * 1024, 'x'), out));
    EXPECT_FALSE(big.feed("x", out));
}

TEST(Framer, CapCountsOnlyTheUnfinishedTail) {
    Framer f(8);
    std::vector<std::string> out;
    EXPECT_TRUE(f.feed(std::string(100, 'm') + "\xff" + "tail", out));
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].size(), 100u);
}
