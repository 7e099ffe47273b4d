#include "core/net/protocol.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>

using namespace plimb;

TEST(SplitMessage, NameBeforeFirstPlusAndDataAfter) {
    auto m = splitMessage("CMD_chat+1+a+b");
    EXPECT_EQ(m.name, "CMD_chat");
    EXPECT_EQ(m.data, "1+a+b");
    EXPECT_EQ(splitMessage("receivedlist").name, "") << "no plus: empty name";
    EXPECT_EQ(splitMessage("").name, "");
    EXPECT_EQ(splitMessage("CMD_timeup+").data, "");
}

TEST(ParseInt, IsStrictDecimal) {
    EXPECT_EQ(parseInt("0"), 0);
    EXPECT_EQ(parseInt("7772"), 7772);
    EXPECT_EQ(parseInt("-3"), -3);
    EXPECT_EQ(parseInt("2147483647"), 2147483647);
    for (auto bad : {"", "-", "+1", " 1", "1 ", "1a", "$1F", "0x10", "2147483648", "1.0"})
        EXPECT_FALSE(parseInt(bad).has_value()) << bad;
}

TEST(FieldReader, ReadsFieldsAndKeepsTheRestWhole) {
    FieldReader r("2+1.0.5+Ann+Lee");
    EXPECT_EQ(r.number(), 2);
    EXPECT_EQ(r.text(), "1.0.5");
    EXPECT_EQ(r.rest(), "Ann+Lee") << "a trailing name keeps its plus";
    EXPECT_EQ(r.text(), "Ann");
    EXPECT_EQ(r.text(), "Lee");
    EXPECT_EQ(r.rest(), "") << "nothing is left after the last field";
    EXPECT_TRUE(r.atEnd());
}

TEST(FieldReader, MissingFieldsAreNotNumbers) {
    FieldReader r("5+");
    EXPECT_EQ(r.number(), 5);
    EXPECT_FALSE(r.number().has_value());
    EXPECT_FALSE(r.number().has_value());
    FieldReader bad("x+2+");
    EXPECT_FALSE(bad.number().has_value());
}

TEST(Numbers, AllOrNothingAndTheReaderStopsAfterThem) {
    using Three = std::array<int, 3>;
    EXPECT_EQ(numbers<3>("1+4+10+"), (Three{1, 4, 10}));
    EXPECT_EQ(numbers<3>("1+4+10+x"), (Three{1, 4, 10})) << "only the first three are read";
    for (auto bad : {"1+4+", "1+4", "1+x+10+", "+1+4+10", ""})
        EXPECT_FALSE(numbers<3>(bad).has_value()) << bad;

    FieldReader r("2+7+Ann+Lee");
    EXPECT_EQ(numbers<2>(r), (std::array<int, 2>{2, 7}));
    EXPECT_EQ(r.rest(), "Ann+Lee");
}
TEST(Build, RequestLayouts) {
    EXPECT_EQ(build::logininfoRequest(2, kVersion, "Bob\xff"), "CMD_logininfo+2+1.0.5+Bob\xff");
    EXPECT_EQ(build::chatRequest(3, "hi|clBlack"), "CMD_chat+3+hi|clBlack");
    EXPECT_EQ(build::startgame("Ann", "30", "200", "10000"), "CMD_startgame+Ann+30+200+10000+");
    EXPECT_EQ(build::placemyletterRequest(1, 4, 7), "CMD_placemyletter+1+4+7+");
    EXPECT_EQ(build::tradingmyletterRequest(2, 1, 3), "CMD_tradingmyletter+2+1+3+");
    EXPECT_EQ(build::stealinghisletterRequest(1, 5, 6), "CMD_stealinghisletter+1+5+6+");
    EXPECT_EQ(build::discardletterRequest(1, 9), "CMD_discardletter+1+9+");
    EXPECT_EQ(build::discardextraRequest(2, 6), "CMD_discardextra+2+6+");
    EXPECT_EQ(build::justwatchRequest(2, 1), "CMD_justwatch+2+1");
    EXPECT_EQ(build::kickhimRequest(1, 4), "CMD_kickhim+1+4+");
    EXPECT_EQ(build::playasoundRequest(1, 13), "CMD_playasound+1+wave13+");
}

TEST(Build, NoticeLayouts) {
    EXPECT_EQ(build::sendlogininfo(2), "CMD_sendlogininfo+2");
    EXPECT_EQ(build::full(), "CMD_full+");
    EXPECT_EQ(build::newplayerinfo(3, "A+B"), "CMD_newplayerinfo+3+A+B");
    EXPECT_EQ(build::wrongversion(), "CMD_wrongversion+");
    EXPECT_EQ(build::chat("Ann", "hello|clBlack"), "CMD_chat+Ann chats: hello|clBlack");
    EXPECT_EQ(build::action("Ann", "waves|clBlack"), "CMD_action+Ann waves|clBlack");
    EXPECT_EQ(build::playasound("1", "wave3+"), "CMD_playasound+1+wave3+");
    EXPECT_EQ(build::justwatching(2, 1), "CMD_justwatching+2+1");
    EXPECT_EQ(build::letters(3, {}), "CMD_letters+3") << "an empty hand has no pairs";
    EXPECT_EQ(build::letters(1, {{1, 5}, {2, 26}}), "CMD_letters+1+1+5+2+26");
    EXPECT_EQ(build::placetheletters({}), "CMD_placetheletters");
    EXPECT_EQ(build::placetheletters({{1, 2, 3}, {2, 1, 4}}), "CMD_placetheletters+1+2+3+2+1+4");
    EXPECT_EQ(build::gamestats(30, 200, 10000, 5, 0), "CMD_gamestats+30+200+10000+5+0+");
    EXPECT_EQ(build::nextplayer(2, 10000), "CMD_nextplayer+2+10000+");
    EXPECT_EQ(build::tradingmyletter(1, 2, 0, 5, 3), "CMD_tradingmyletter+1+2+0+5+3+");
    EXPECT_EQ(build::stoldletter(1, 2, 4, 6, 19), "CMD_stoldletter+1+2+4+6+19+");
    EXPECT_EQ(build::formedword(2, "house", 12, 40), "CMD_formedword+2+house+12+40+");
    EXPECT_EQ(build::timeup(), "CMD_timeup+");
    EXPECT_EQ(build::winner(1), "CMD_winner+1+");
}

TEST(Utf8Prefix, CutsBeforeACharacterThatWouldNotFit) {
    const struct {
        std::string text;
        std::size_t max;
        std::string kept;
    } rows[] = {
        {"abc", 3, "abc"},
        {"abc", 2, "ab"},
        {"a\xC3\xA9", 2, "a"}, // é would lose its second byte
        {"a\xC3\xA9", 3, "a\xC3\xA9"},
        {"ab\xF0\x9F\x99\x82", 5, "ab"}, // a four-byte character, three of it fit
        {"ab\xF0\x9F\x99\x82z", 6, "ab\xF0\x9F\x99\x82"},
        {"\x80\x80\x80\x80\x80\x80", 4, "\x80\x80\x80\x80"}, // not UTF-8: cut where it stands
        {"", 0, ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(utf8Prefix(row.text, row.max), row.kept) << row.text << " to " << row.max;
}

TEST(ChatterNumber, OnlyTheTwentyChatterSounds) {
    const struct {
        std::string_view name;
        std::optional<int> n;
    } rows[] = {{"wave1", 1},
                {"wave20", 20},
                {"WAVE13", 13},
                {"wave21", std::nullopt},
                {"wave0", std::nullopt},
                {"wave07", std::nullopt},
                {"wave-1", std::nullopt},
                {"wave", std::nullopt},
                {"goodword", std::nullopt},
                {"wave1x", std::nullopt}};
    for (const auto& row : rows)
        EXPECT_EQ(chatterNumber(row.name), row.n) << row.name;
}
