#include "core/net/framer.h"

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

TEST(Framer, DropsEmptyMessages) {
    Framer f;
    EXPECT_EQ(feedAll(f, {"\xff"
                          "a\xff\xff"
                          "b\xff",
                          "\xff\xff\xff"}),
              (std::vector<std::string>{"a", "b"}));
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

TEST(Framer, EveryMessageIsCappedWhetherTerminatedOrNot) {
    struct Case {
        const char* what;
        std::vector<std::string> reads;
        bool ok;
        std::vector<std::size_t> sizes; // of the messages handed on
    };
    const std::string x8(8, 'x'), x9(9, 'x');
    const std::vector<Case> cases{
        {"exactly the cap in one read", {x8 + "\xff"}, true, {8}},
        {"exactly the cap over two reads", {"xxxx", "xxxx\xff"}, true, {8}},
        {"one over the cap, terminated in the same read", {x9 + "\xff"}, false, {}},
        {"one over the cap, joined from two reads", {"xxxxx", "xxxx\xff"}, false, {}},
        {"messages before the long one are kept", {"ab\xff" + x9 + "\xff" + "cd\xff"}, false, {2}},
        {"many short messages in one long read",
         {std::string(100, '\xff') + "ab\xff" + x8 + "\xff"},
         true,
         {2, 8}},
    };
    for (const auto& c : cases) {
        Framer f(8);
        std::vector<std::string> out;
        bool ok = true;
        for (const auto& r : c.reads)
            ok = ok && f.feed(r, out);
        EXPECT_EQ(ok, c.ok) << c.what;
        std::vector<std::size_t> sizes;
        for (const auto& m : out)
            sizes.push_back(m.size());
        EXPECT_EQ(sizes, c.sizes) << c.what;
        if (!ok) {
            EXPECT_EQ(f.tailSize(), 0u) << c.what;
        }
    }

    Framer full;
    std::vector<std::string> out;
    EXPECT_TRUE(full.feed(std::string(64 * 1024, 'm') + "\xff", out));
    EXPECT_FALSE(full.feed(std::string(64 * 1024 + 1, 'm') + "\xff", out));
}
