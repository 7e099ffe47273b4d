#include "core/chat/receivedtext.h"

#include <gtest/gtest.h>

#include <string>

using namespace plimb;

TEST(ReceivedText, Utf8StaysUtf8AndAnythingElseIsReadAsWindows1252) {
    struct Row {
        std::string bytes, text;
    };
    const Row rows[] = {
        {"Ann chats: hello", "Ann chats: hello"},
        {"J\xC3\xBCrgen", "J\xC3\xBCrgen"},                             // valid UTF-8
        {"J\xFCrgen", "J\xC3\xBCrgen"},                                 // the same name in one byte
        {"caf\xE9 \x80 \x96", "caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x93"}, // euro sign and dash of 0x80..0x9F
        {"\xC3\xBC\xFC", "\xC3\x83\xC2\xBC\xC3\xBC"},     // one bad byte: the whole text is 1252
        {"\xC0\xAF", "\xC3\x80\xC2\xAF"},                 // an overlong "/" is not UTF-8
        {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"}, // nor is a surrogate
        {"\xE2\x82", "\xC3\xA2\xE2\x80\x9A"},             // nor a character cut short
        {"\x81", "\xEF\xBF\xBD"},                         // unassigned in 1252
        {"\xF0\x9F\x99\x82", "\xF0\x9F\x99\x82"},         // four bytes
    };
    for (const Row& row : rows)
        EXPECT_EQ(receivedText(row.bytes), row.text) << row.bytes;
}

TEST(ReceivedText, ControlCharactersAndLineBreaksBecomeBlanks) {
    struct Row {
        std::string bytes, text;
    };
    const Row rows[] = {
        {"Ann\r\nYou are Connected.", "Ann  You are Connected."},
        {std::string("a\0b", 3), "a b"},
        {"tab\there\x7F", "tab here "},
        {"a\xC2\x85"
         "b",
         "a b"}, // NEL, a C1 control
        {"a\xE2\x80\xA8"
         "b\xE2\x80\xA9",
         "a b "},                        // line and paragraph separators
        {"\xE2\x80\xAEgnol", " gnol"},   // a right-to-left override
        {"a\x0A\x85", "a \xE2\x80\xA6"}, // 1252 text: its LF goes, its 0x85 is an ellipsis
    };
    for (const Row& row : rows)
        EXPECT_EQ(receivedText(row.bytes), row.text);
}
