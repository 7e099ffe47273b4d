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

// Link prefixes. A word is a link when one of them begins it, after any opening brackets or
// quotes; a prefix further inside a word never makes a link, so no link can hide behind other text.
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

// The default rule: a word is a run of characters between separators, which are every character a
// reader sees as a gap or does not see at all: Unicode spaces (the blank, the no-break space and
// the other widths), tab, CR, LF and the other control characters, the line and paragraph
// separators, the zero-width and joining characters, the direction marks and overrides, U+FEFF,
// and any byte that is not part of well-formed UTF-8. At a separator both breaks are the position
// itself, so the word there is empty. A position inside a character counts as that character.
std::size_t wordBreakLeft(std::string_view text, std::size_t index);
std::size_t wordBreakRight(std::string_view text, std::size_t index);

// The first link among the words the range [start, end) touches; an empty range touches the word
// around start. The result is exactly the link's characters, without the brackets or quotes
// before it and the sentence punctuation after it. nullopt when those words hold no link.
std::optional<Link> getlinkinrange(std::string_view text, std::size_t start, std::size_t end,
                                   const WordBreak& left = wordBreakLeft,
                                   const WordBreak& right = wordBreakRight);

// The link whose characters [start, end) hold the character at `index`: the one linksIn gives for
// that word, so what is drawn as a link is what a click on it opens. The bracket or full stop
// beside a link is not part of it and gives nullopt, as does an index at or past the end.
std::optional<Link> linkAt(std::string_view text, std::size_t index, const WordBreak& left = wordBreakLeft,
                           const WordBreak& right = wordBreakRight);
inline bool islinkat(std::string_view text, std::size_t index) {
    return linkAt(text, index).has_value();
}

// Every link of one line, left to right, for the transcript to draw as links.
std::vector<Link> linksIn(std::string_view line);

// The text with a line end put into every run of more than `maxChars` characters without a
// separator, so a long address can be shown whole in a box that does not wrap it. Characters are
// counted as code points and never split; shorter words are left as they are.
std::string breakLongWords(std::string_view text, std::size_t maxChars);

// The address to hand to the desktop, exactly as written: only a "www." link, which has no scheme
// of its own, gets "http://" in front.
std::string linkUrl(const Link& link);

// Web and mail links open at a click; any other scheme (file://, telnet://, ...) can start a local
// program through the desktop's handler, so the user is asked first.
bool isWebOrMailLink(const Link& link);

} // namespace plimb
