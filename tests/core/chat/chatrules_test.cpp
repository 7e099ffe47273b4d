#include "core/chat/chatrules.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using namespace plimb;

namespace {
constexpr Colour kText = 0x123456;
constexpr Colour kAction = clNavy;

SendOutcome send(std::string_view entry, bool loggedIn = true) {
    return sendit(entry, loggedIn, 2, kText, kAction);
}
} // namespace

// What Enter in the chat box sends, and whether the box is emptied: nothing leaves before the
// login and the box keeps its text; after it every entry empties the box.
TEST(Sendit, WhatAnEntrySendsAndWhetherTheBoxIsEmptied) {
    const struct {
        const char* entry;
        bool loggedIn;
        std::optional<std::string> request;
        bool clearEntry;
        const char* why;
    } rows[] = {
        {"hello there", true, "CMD_chat+2+hello there|$00123456", true,
         "plain text is a chat in the text colour"},
        {"hello", false, std::nullopt, false, "not logged in: nothing sent, the text kept"},
        {"/me waves", false, std::nullopt, false, "not logged in: nothing sent, the text kept"},
        {"", false, std::nullopt, false, "not logged in: nothing sent, the text kept"},
        {"", true, std::nullopt, true, "an empty box sends nothing but is emptied"},
        {"/me waves", true, "CMD_action+2+waves|clNavy", true, "/me drops four characters, action colour"},
        {"/me", true, "CMD_action+2+|clNavy", true, "'/me' alone is an empty action"},
        {"/mention", true, "CMD_action+2+tion|clNavy", true, "three looked at, four dropped"},
        {"/me\xC3\xA9t\xC3\xA9", true, "CMD_action+2+t\xC3\xA9|clNavy", true,
         "the fourth character is dropped whole, not one byte of it"},
        {"/who", true, std::nullopt, true, "other slash commands are dropped and the box emptied"},
        {"/", true, std::nullopt, true, "other slash commands are dropped and the box emptied"},
        {"/ME waves", true, std::nullopt, true, "other slash commands are dropped and the box emptied"},
        {"/m", true, std::nullopt, true, "other slash commands are dropped and the box emptied"},
        {"a+b|x", true, "CMD_chat+2+a+b|x|$00123456", true, "text keeps its bars and pluses"},
        {"hi\xFF"
         "CMD_kickhim+1+2+",
         true, "CMD_chat+2+hiCMD_kickhim+1+2+|$00123456", true, "but never a terminator"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.entry) + (row.loggedIn ? ": " : " (not logged in): ") + row.why);
        const auto out = send(row.entry, row.loggedIn);
        EXPECT_EQ(out.request, row.request);
        EXPECT_EQ(out.clearEntry, row.clearEntry);
    }
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
