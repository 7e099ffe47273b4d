#include "core/chat/chatrules.h"

#include <gtest/gtest.h>

using namespace plimb;

namespace {
constexpr Colour kText = 0x123456;
constexpr Colour kAction = clNavy;

SendOutcome send(std::string_view entry, bool loggedIn = true) {
    return sendit(entry, loggedIn, 2, kText, kAction);
}
} // namespace

TEST(Sendit, PlainTextIsAChatInTheTextColour) {
    const auto out = send("hello there");
    EXPECT_EQ(out.request, "CMD_chat+2+hello there|$00123456");
    EXPECT_TRUE(out.clearEntry);
}

TEST(Sendit, NotLoggedInSendsNothingAndKeepsTheText) {
    for (auto entry : {"hello", "/me waves", ""}) {
        const auto out = send(entry, false);
        EXPECT_FALSE(out.request.has_value()) << entry;
        EXPECT_FALSE(out.clearEntry) << entry;
    }
}

TEST(Sendit, EmptyBoxSendsNothingButIsEmptied) {
    const auto out = send("");
    EXPECT_FALSE(out.request.has_value());
    EXPECT_TRUE(out.clearEntry);
}

TEST(Sendit, MeDropsFourCharactersAndUsesTheActionColour) {
    EXPECT_EQ(send("/me waves").request, "CMD_action+2+waves|clNavy");
    EXPECT_EQ(send("/me").request, "CMD_action+2+|clNavy") << "'/me' alone is an empty action";
    EXPECT_EQ(send("/mention").request, "CMD_action+2+tion|clNavy") << "three looked at, four dropped";
    EXPECT_EQ(send("/me\xC3\xA9t\xC3\xA9").request, "CMD_action+2+t\xC3\xA9|clNavy")
        << "the fourth character is dropped whole, not one byte of it";
}

TEST(Sendit, OtherSlashCommandsAreDroppedAndTheBoxEmptied) {
    for (auto entry : {"/who", "/", "/ME waves", "/m"}) {
        const auto out = send(entry);
        EXPECT_FALSE(out.request.has_value()) << entry;
        EXPECT_TRUE(out.clearEntry) << entry;
    }
}

TEST(Sendit, TextKeepsItsBarsAndPlusesButNeverATerminator) {
    EXPECT_EQ(send("a+b|x").request, "CMD_chat+2+a+b|x|$00123456");
    EXPECT_EQ(send("hi\xFF"
                   "CMD_kickhim+1+2+")
                  .request,
              "CMD_chat+2+hiCMD_kickhim+1+2+|$00123456");
}

TEST(SplitHead, HeadRunsThroughTheFirstColon) {
    const auto said = splitHead("Bob says: hi: there");
    EXPECT_EQ(said.head, "Bob says:");
    EXPECT_EQ(said.rest, " hi: there");

    const auto action = splitHead("Bob waves");
    EXPECT_EQ(action.head, "");
    EXPECT_EQ(action.rest, "Bob waves");

    const auto onlyColon = splitHead(":");
    EXPECT_EQ(onlyColon.head, ":");
    EXPECT_EQ(onlyColon.rest, "");
}

TEST(OwnLine, TheVerbAfterAnUnnamedPlayersYouAgrees) {
    const struct {
        const char* name;
        const char* line;
        const char* shown;
    } rows[] = {
        {"You", "You has started a game.", "You have started a game."},
        {"You", "You says: Way To Go!", "You say: Way To Go!"},
        {"You", "You chats: hi there", "You chat: hi there"},
        {"You", "You waves", "You wave"},
        {"You", "You is just watching.", "You are just watching."},
        {"You", "You cries", "You cry"},
        {"You", "You wishes him luck", "You wish him luck"},
        {"You", "You kiss", "You kiss"},
        {"You", "You 2 words", "You 2 words"},
        {"You", "Younes says: hi", "Younes says: hi"}, // another player's name starts alike
        {"Ann", "You says: hi", "You says: hi"},       // a player really called "You"
    };
    for (const auto& row : rows)
        EXPECT_EQ(ownLine(row.line, row.name), row.shown) << row.line;
}
