#include "core/chat/colortext.h"

#include <gtest/gtest.h>

using namespace plimb;

TEST(ColorToString, NamedColoursByNameOthersAsUpperCaseHex) {
    EXPECT_EQ(colorToString(0x000000), "clBlack");
    EXPECT_EQ(colorToString(0x0000FF), "clRed");
    EXPECT_EQ(colorToString(0x800000), "clNavy");
    EXPECT_EQ(colorToString(0xFFFFFF), "clWhite");
    EXPECT_EQ(colorToString(kSystemLineColour), "$0083621B");
    EXPECT_EQ(colorToString(0xABCDEF), "$00ABCDEF");
}

TEST(StringToColor, ReadsNamesInAnyCaseHexAndDecimal) {
    EXPECT_EQ(stringToColor("clblack"), clBlack);
    EXPECT_EQ(stringToColor("CLRED"), clRed);
    EXPECT_TRUE(stringToColor("clBtnFace").has_value()) << "system colour names are accepted";
    EXPECT_EQ(stringToColor("$0083621B"), kSystemLineColour);
    EXPECT_EQ(stringToColor("$0083621b"), kSystemLineColour);
    EXPECT_EQ(stringToColor("8610331"), kSystemLineColour);
}

TEST(StringToColor, HexRedWritesBackAsItsName) {
    const auto red = stringToColor("$000000FF");
    ASSERT_TRUE(red.has_value());
    EXPECT_EQ(*red, clRed);
    EXPECT_EQ(colorToString(*red), "clRed");
}

TEST(StringToColor, JunkFails) {
    for (auto bad : {"", "x", "clBlackish", "$", "$12345678Z", "12a", "$1FFFFFFFF", "99999999999", " clRed",
                     "0x00FF00", "0X00FF00", "-1", "-8610331", "+5", "$-1", "2147483648"})
        EXPECT_FALSE(stringToColor(bad).has_value()) << bad;
}

TEST(Chatrecieved, SplitsAtFirstBarAndFallsBackToRed) {
    const auto plain = chatrecieved("Ann chats: hello|clNavy");
    EXPECT_EQ(plain.line, "Ann chats: hello");
    EXPECT_EQ(plain.colour, clNavy);

    const auto noBar = chatrecieved("Ann chats: hello");
    EXPECT_EQ(noBar.line, "Ann chats: hello");
    EXPECT_EQ(noBar.colour, clRed);

    // A typed "|" cuts the line early; what follows is no colour, so the line is red.
    const auto typedBar = chatrecieved("Ann chats: hello|x|clBlack");
    EXPECT_EQ(typedBar.line, "Ann chats: hello");
    EXPECT_EQ(typedBar.colour, clRed);

    for (const auto data : {"Ann waves|0x00FF00", "Ann waves|-16711936"})
        EXPECT_EQ(chatrecieved(data).colour, clRed) << data << ": only names, $ hex and plain decimals";

    const auto emptyColour = chatrecieved("Ann waves|");
    EXPECT_EQ(emptyColour.line, "Ann waves");
    EXPECT_EQ(emptyColour.colour, clRed);
}
