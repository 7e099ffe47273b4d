#pragma once
// The transcript's link finder: which web link, if any, lies at a character of the transcript, so a
// hover can show the hand cursor and a press can select and open it.
//
// The text is the transcript's plain text with lines separated by "\n" (a caller may pass a single
// line followed by its "\n": no link crosses a line). Positions are byte offsets into that UTF-8
// text and ranges are half-open, [start, end).
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plimb {

// Link prefixes in search order: the first that occurs anywhere in the word wins.
inline constexpr std::string_view kLinkPrefixes[] = {
    "http://",   "https://", "ftp://",  "file://",  "gopher://",
    "telnet://", "news:",    "mailto:", "plimb://", "www."};

struct Link {
    std::string text;      // as written in the transcript, in its own letter case
    std::size_t start = 0; // the link's characters: [start, end)
    std::size_t end = 0;
    std::string_view prefix; // the prefix that made it a link, from kLinkPrefixes
};

// A word-break rule: given the text and a position, the start (left) or end (right) of the word.
using WordBreak = std::function<std::size_t(std::string_view text, std::size_t index)>;

// The default rule: a word is a run of characters between blanks and line ends (CR, LF). At a
// blank or line end both breaks are the position itself, so the word there is empty.
std::size_t wordBreakLeft(std::string_view text, std::size_t index);
std::size_t wordBreakRight(std::string_view text, std::size_t index);

// The link in the range [start, end): an empty range is first widened to the word around start,
// a non-empty one is extended by one character. The result is narrowed to exactly the link's
// characters. nullopt when the range holds no link.
std::optional<Link> getlinkinrange(std::string_view text, std::size_t start, std::size_t end,
                                   const WordBreak& left = wordBreakLeft,
                                   const WordBreak& right = wordBreakRight);

// The link on the character at `index`, found through the word around it. An index at or past the
// end of the text never gives a link.
std::optional<Link> linkAt(std::string_view text, std::size_t index, const WordBreak& left = wordBreakLeft,
                           const WordBreak& right = wordBreakRight);
inline bool islinkat(std::string_view text, std::size_t index) {
    return linkAt(text, index).has_value();
}

// Every link of one line, left to right, for the transcript to draw as links.
std::vector<Link> linksIn(std::string_view line);

// The address to hand to the desktop, exactly as written: only a "www." link, which has no scheme
// of its own, gets "http://" in front.
std::string linkUrl(const Link& link);

// Web and mail links open at a click; any other scheme (file://, telnet://, ...) can start a local
// program through the desktop's handler, so the user is asked first.
bool isWebOrMailLink(const Link& link);

} // namespace plimb
