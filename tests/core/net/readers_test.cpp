#include "core/net/readers.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>

using namespace plimb;

namespace {
// The data of a built message, kept alive for the views the readers hand back.
std::string_view dataOf(std::string message) {
    static std::deque<std::string> kept; // a deque keeps every string where it is
    kept.push_back(std::move(message));
    return splitMessage(kept.back()).data;
}
} // namespace

// Each reader takes back what its builder wrote, the free text at the end whole.
TEST(Readers, ReadWhatTheBuildersWrite) {
    const auto login = read::logininfoRequest(dataOf(build::logininfoRequest(2, kVersion, "A+B\xff")));
    ASSERT_TRUE(login);
    EXPECT_EQ(login->seat, 2);
    EXPECT_EQ(login->version, kVersion);
    EXPECT_EQ(login->name, "A+B\xff");

    const auto move = read::moveRequest(dataOf(build::stealinghisletterRequest(1, 5, 6)));
    ASSERT_TRUE(move);
    EXPECT_EQ((std::array{move->seat, move->from, move->to}), (std::array{1, 5, 6}));

    const auto stolen = read::stoldletter(dataOf(build::stoldletter(1, 2, 4, 6, 19)));
    ASSERT_TRUE(stolen);
    EXPECT_EQ(
        (std::array{stolen->thief, stolen->victim, stolen->thiefSlot, stolen->victimSlot, stolen->code}),
        (std::array{1, 2, 4, 6, 19}));

    const auto word = read::formedword(dataOf(build::formedword(2, "house", 12, 40)));
    ASSERT_TRUE(word);
    EXPECT_EQ(word->word, "house");
    EXPECT_EQ((std::array{word->seat, word->points, word->score}), (std::array{2, 12, 40}));

    const auto hand = read::letters(dataOf(build::letters(1, {{1, 5}, {2, 26}})));
    ASSERT_TRUE(hand);
    ASSERT_EQ(hand->letters.size(), 2u);
    EXPECT_EQ((std::array{hand->seat, hand->letters[1].slot, hand->letters[1].code}), (std::array{1, 2, 26}));
    EXPECT_TRUE(read::letters(dataOf(build::letters(3, {})))) << "an empty hand";

    const auto chatter = read::playasound(dataOf(build::playasoundRequest(1, 13)));
    ASSERT_TRUE(chatter);
    EXPECT_EQ(chatter->sound, "wave13");
    EXPECT_TRUE(chatter->soundAlone);
    EXPECT_EQ(chatter->rest, "wave13+");
    EXPECT_FALSE(read::playasound("1+wave13+more")->soundAlone);
}

// A name with "+" in it is still the starter's whole name, for the server and every window.
TEST(Readers, AGameStartIsReadFromTheEnd) {
    const auto start = read::startgame(dataOf(build::startgame("A+B", "30", "200", "5")));
    ASSERT_TRUE(start);
    EXPECT_EQ(start->name, "A+B");
    EXPECT_EQ((std::array{start->time, start->playto, start->steals}), (std::array{30, 200, 5}));
    EXPECT_EQ(read::startgame("+30+200+5+")->name, "");
    EXPECT_FALSE(read::startgame("30+200+5+")) << "no name field";
    EXPECT_FALSE(read::startgame("Ann+30+x+5+"));
}

TEST(Readers, AMissingOrMalformedFieldReadsNothing) {
    EXPECT_FALSE(read::moveRequest("1+4+"));
    EXPECT_FALSE(read::moveRequest("1+4+x+"));
    EXPECT_FALSE(read::seatSlot("+9+"));
    EXPECT_FALSE(read::placemyletter("1+0+3+"));
    EXPECT_FALSE(read::tradingmyletter("1+2+0+5+"));
    EXPECT_FALSE(read::letters("1+1")) << "a slot without its code";
    EXPECT_FALSE(read::placetheletters("1+2+3+2+1"));
    EXPECT_FALSE(read::formedword("2+house+12+"));
    EXPECT_FALSE(read::seat(""));
    EXPECT_FALSE(read::logininfoRequest("x+1.0.5+Bob"));
}
