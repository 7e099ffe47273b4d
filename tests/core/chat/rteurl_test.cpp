#include "core/chat/rteurl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

using namespace plimb;

namespace {
// The link on the character at the first occurrence of `near` in `text`.
std::optional<Link> linkNear(std::string_view text, std::string_view near) {
    const auto at = text.find(near);
    EXPECT_NE(at, std::string_view::npos) << near;
    return linkAt(text, at);
}
} // namespace

// The word under a character is a link when a prefix begins it; what the transcript shows of it
// keeps its letter case and loses the punctuation after it.
TEST(LinkAt, AWordBegunByAPrefixIsALinkWithoutThePunctuationAfterIt) {
    const struct {
        const char* text;
        const char* near;
        std::optional<std::string> link; // nullopt: no link there
        const char* url;                 // nullptr: not looked at
        const char* prefix;              // nullptr: not looked at
        const char* why;
    } rows[] = {
        {"Ann chats: see http://example.com/a.html.\n", "example", "http://example.com/a.html",
         "http://example.com/a.html", nullptr, "a trailing full stop is not part of the link"},
        {"(http://a.org/x),:;!\n", "a.org", "http://a.org/x", nullptr, nullptr,
         "every sort of trailing punctuation goes"},
        {"go to http://a.org/.\n", "a.org", "http://a.org/", nullptr, nullptr, "a slash may end a link"},
        {"Bob chats: HTTP://Example.COM/Path\n", "Example", "HTTP://Example.COM/Path", nullptr, "http://",
         "a capital prefix is found and keeps its capitals"},
        {"try www. now\n", "www", std::nullopt, nullptr, nullptr, "a prefix alone is not a link"},
        {"try http:// now\n", "http", std::nullopt, nullptr, nullptr, "a prefix alone is not a link"},
        {"read news: today\n", "news", std::nullopt, nullptr, nullptr, "a prefix alone is not a link"},
        {"try www.a now\n", "www", "www.a", nullptr, nullptr, "one character after the prefix is enough"},
        {"visit WWW.Plimb.example today\n", "Plimb", "WWW.Plimb.example", "http://WWW.Plimb.example", nullptr,
         "www links open over http"},
        {"write to mailto:ann@example.org.\n", "ann@", "mailto:ann@example.org", "mailto:ann@example.org",
         nullptr, "other prefixes are links as written"},
        {"ftp://files.example/x\n", "files", "ftp://files.example/x", nullptr, nullptr,
         "other prefixes are links as written"},
        {"see news:comp.lang\n", "comp", "news:comp.lang", nullptr, nullptr,
         "other prefixes are links as written"},
        {"www.a.example/http://b.example\n", "b.ex", "www.a.example/http://b.example", nullptr, nullptr,
         "the prefix that begins the word wins over one inside it"},
        {"xyzhttp://a.example\n", "xyz", std::nullopt, nullptr, nullptr, "a prefix inside a word is no link"},
        {"xyzhttp://a.example\n", "http", std::nullopt, nullptr, nullptr,
         "a prefix inside a word is no link"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.text) + "at " + row.near + ": " + row.why);
        const std::string_view text = row.text;
        const auto link = linkNear(text, row.near);
        EXPECT_EQ(link.has_value(), row.link.has_value());
        if (!link || !row.link) continue;
        EXPECT_EQ(link->text, *row.link);
        EXPECT_EQ(text.substr(link->start, link->end - link->start), link->text);
        if (row.url != nullptr) {
            EXPECT_EQ(linkUrl(*link), row.url);
        }
        if (row.prefix != nullptr) {
            EXPECT_EQ(link->prefix, row.prefix);
        }
    }
}

TEST(LinkAt, EveryCharacterOfTheWordFindsTheLinkButNotTheBlanksAround) {
    const std::string text = "one two http://a.example/b three\nnext line\n";
    const auto first = text.find("http");
    const auto last = text.find(" three") - 1;
    for (auto i = first; i <= last; ++i) {
        const auto link = linkAt(text, i);
        ASSERT_TRUE(link.has_value()) << i;
        EXPECT_EQ(link->start, first);
        EXPECT_EQ(link->end, last + 1);
    }
    EXPECT_FALSE(linkAt(text, first - 1).has_value()) << "the blank before";
    EXPECT_FALSE(linkAt(text, last + 1).has_value()) << "the blank after";
    EXPECT_FALSE(linkAt(text, text.find("three")).has_value());
    EXPECT_FALSE(linkAt(text, text.find("next")).has_value()) << "the next line holds no link";
}

TEST(LinkAt, LinkAtTheStartAndAtTheEndOfTheText) {
    const std::string start = "http://a.example is up";
    EXPECT_EQ(linkAt(start, 0)->text, "http://a.example");
    const std::string end = "it is at www.end.example";
    const auto link = linkAt(end, end.size() - 1);
    ASSERT_TRUE(link.has_value());
    EXPECT_EQ(link->text, "www.end.example");
    EXPECT_EQ(link->end, end.size());
}

TEST(LinkAt, LinkOnALaterLineKeepsItsOwnPosition) {
    const std::string text = "first line\r\nBob chats: look http://b.example/x, ok\n";
    const auto link = linkNear(text, "b.example");
    ASSERT_TRUE(link.has_value());
    EXPECT_EQ(link->start, text.find("http"));
    EXPECT_EQ(link->text, "http://b.example/x");
}

TEST(LinkAt, IndexAtOrPastTheEndIsNoLink) {
    const std::string text = "http://a.example";
    EXPECT_FALSE(linkAt(text, text.size()).has_value());
    EXPECT_FALSE(linkAt(text, text.size() + 100).has_value());
    EXPECT_FALSE(linkAt("", 0).has_value());
}

TEST(LinkAt, NonAsciiTextAroundTheLinkKeepsByteOffsetsRight) {
    const std::string text = "caf\xC3\xA9 http://\xC3\xA9t\xC3\xA9.example/\xC3\xA9 ok";
    const auto link = linkNear(text, "http");
    ASSERT_TRUE(link.has_value());
    EXPECT_EQ(link->text, "http://\xC3\xA9t\xC3\xA9.example/")
        << "a trailing non-ASCII letter is dropped whole";
    EXPECT_EQ(link->start, text.find("http"));
}

TEST(GetLinkInRange, EmptyRangeWidensToTheWordAround) {
    const std::string text = "see http://a.example now";
    const auto link = getlinkinrange(text, text.find("a.ex"), text.find("a.ex"));
    ASSERT_TRUE(link.has_value());
    EXPECT_EQ(link->text, "http://a.example");
    EXPECT_EQ(link->start, text.find("http"));
}

TEST(GetLinkInRange, RangeBeyondTheTextIsClampedNotRead) {
    EXPECT_FALSE(getlinkinrange("abc", 10, 20).has_value());
    EXPECT_FALSE(getlinkinrange("abc", 2, 1).has_value());
    EXPECT_EQ(getlinkinrange("www.a.b", 0, 99)->text, "www.a.b");
}

TEST(GetLinkInRange, UsesTheGivenWordBreakRule) {
    // A rule that treats "," as a break too: the word at the link stops before the comma.
    auto isBreak = [](char c) { return c == ' ' || c == ',' || c == '\n'; };
    WordBreak left = [isBreak](std::string_view t, std::size_t i) {
        while (i > 0 && !isBreak(t[i - 1]))
            --i;
        return i;
    };
    WordBreak right = [isBreak](std::string_view t, std::size_t i) {
        while (i < t.size() && !isBreak(t[i]))
            ++i;
        return i;
    };
    const std::string text = "a,www.b.example,c";
    const auto at = text.find("b.ex");
    const auto link = getlinkinrange(text, at, at, left, right);
    ASSERT_TRUE(link.has_value());
    EXPECT_EQ(link->text, "www.b.example");
}

TEST(LinkAt, HttpsIsALinkAndOnlyWebAndMailOpenWithoutAQuestion) {
    struct Row {
        const char* text;
        const char* link;
        bool webOrMail;
    };
    const Row rows[] = {
        {"see https://a.example/x.\n", "https://a.example/x", true},
        {"see HTTPS://A.Example/X\n", "HTTPS://A.Example/X", true},
        {"see http://a.example:8080\n", "http://a.example:8080", true},
        {"port http://a.example/1\n", "http://a.example/1", true}, // a final digit stays
        {"see www.a.example/2).\n", "www.a.example/2", true},
        {"mail mailto:ann@a.example\n", "mailto:ann@a.example", true},
        {"run file:///bin/sh\n", "file:///bin/sh", false},
        {"try telnet://a.example\n", "telnet://a.example", false},
        {"get ftp://a.example/f\n", "ftp://a.example/f", false},
        {"old gopher://a.example\n", "gopher://a.example", false},
        {"read news:comp.lang\n", "news:comp.lang", false},
        // The characters a link may end on are ranges; each edge and its outside neighbour.
        {"end http://a.example/0\n", "http://a.example/0", true},
        {"end http://a.example/9\n", "http://a.example/9", true},
        {"end http://a.example/:\n", "http://a.example/", true},
        {"end http://a.example/a\n", "http://a.example/a", true},
        {"end http://a.example/z\n", "http://a.example/z", true},
        {"end http://a.example/`\n", "http://a.example/", true},
        {"end http://a.example/{\n", "http://a.example/", true},
        {"end HTTP://A.EXAMPLE/A\n", "HTTP://A.EXAMPLE/A", true},
        {"end HTTP://A.EXAMPLE/Z\n", "HTTP://A.EXAMPLE/Z", true},
        {"end HTTP://A.EXAMPLE/@\n", "HTTP://A.EXAMPLE/", true},
        {"end HTTP://A.EXAMPLE/[\n", "HTTP://A.EXAMPLE/", true},
    };
    for (const Row& row : rows) {
        const std::string text = row.text;
        const auto link = linkAt(text, text.find(' ') + 3);
        ASSERT_TRUE(link.has_value()) << row.text;
        EXPECT_EQ(link->text, row.link);
        EXPECT_EQ(isWebOrMailLink(*link), row.webOrMail) << row.text;
    }
    // An invitation link in chat is a link that starts a game: never opened without a question,
    // and not mistaken for the web link inside it.
    for (const std::string text :
         {"join me: plimb://game.example:7000\n", "join me: plimb://www.example.org\n"}) {
        const auto invite = linkNear(text, "example");
        ASSERT_TRUE(invite.has_value()) << text;
        EXPECT_EQ(invite->text, text.substr(9, text.size() - 10));
        EXPECT_FALSE(isWebOrMailLink(*invite)) << text;
    }
}

TEST(LinksIn, EverySeparatorEndsAWordAndAClickOpensOnlyTheLinkUnderIt) {
    const struct {
        std::string line;
        std::vector<std::string> links;
    } rows[] = {
        {"Ann chats: see www.example.org and plimb://10.0.0.7:7000 now",
         {"www.example.org", "plimb://10.0.0.7:7000"}},
        {"(http://a.example/x) mailto:bo@example.org", {"http://a.example/x", "mailto:bo@example.org"}},
        {"", {}},
        {"Good game, well played!\u00A0http://evil.example/x", {"http://evil.example/x"}},
        {"plimb://10.77.0.10\u200Bhttp://evil.example/y", {"plimb://10.77.0.10", "http://evil.example/y"}},
        {"http://a.example/www.b plimb://h/http://x", {"http://a.example/www.b", "plimb://h/http://x"}},
        {"(<\"www.a.example\">) \u00ABhttp://b.example\u00BB", {"www.a.example", "http://b.example"}},
        {"x.(http://a.example) a(www.b.example)", {}},
        {"\u202Ehttp://a.example\u2066www.b.example\u2069", {"http://a.example", "www.b.example"}},
        {"bad\xFFhttp://a.example\xE2\x80www.b.example\xC0\xAF", {"http://a.example", "www.b.example"}},
    };
    const char* const separators[] = {" ",      "\t",     "\r",     "\n",     "\u00A0", "\u1680",
                                      "\u2000", "\u2005", "\u200A", "\u200B", "\u200E", "\u200F",
                                      "\u2028", "\u2029", "\u202A", "\u202E", "\u202F", "\u205F",
                                      "\u2060", "\u2066", "\u2069", "\u3000", "\uFEFF"};
    std::vector<std::pair<std::string, std::vector<std::string>>> lines;
    for (const auto& row : rows)
        lines.emplace_back(row.line, row.links);
    for (const char* sep : separators)
        lines.push_back({std::string("see") + sep + "www.a.example" + sep + "plimb://b" + sep + ".",
                         {"www.a.example", "plimb://b"}});
    for (const auto& [line, want] : lines) {
        SCOPED_TRACE(line);
        const std::vector<Link> links = linksIn(line);
        std::vector<std::string> found;
        for (const Link& link : links)
            found.push_back(link.text);
        EXPECT_EQ(found, want);
        for (std::size_t i = 0; i < line.size(); ++i) {
            const auto drawn = std::find_if(links.begin(), links.end(),
                                            [i](const Link& l) { return l.start <= i && i < l.end; });
            const auto clicked = linkAt(line, i);
            ASSERT_EQ(clicked.has_value(), drawn != links.end()) << "byte " << i;
            if (clicked) {
                EXPECT_EQ(clicked->start, drawn->start) << "byte " << i;
            }
        }
    }
}

TEST(BreakLongWords, PutsLineEndsOnlyIntoLongRunsAndNeverSplitsACharacter) {
    const struct {
        std::string text;
        std::size_t max;
        std::string want;
    } rows[] = {
        {"plimb://abcdefgh", 5, "plimb\n://ab\ncdefg\nh"},
        {"ab cde\u00A0fghij", 3, "ab cde\u00A0fgh\nij"},
        {"\u00E9\u00E9\u00E9\u00E9", 3, "\u00E9\u00E9\u00E9\n\u00E9"},
        {"short words stay", 5, "short words stay"},
        {"abc", 0, "abc"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(breakLongWords(row.text, row.max), row.want) << row.text;
}
