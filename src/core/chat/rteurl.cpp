#include "core/chat/rteurl.h"

#include <algorithm>

namespace plimb {
namespace {

// What a byte that begins no well-formed UTF-8 sequence decodes to.
constexpr char32_t kNotUtf8 = 0xFFFFFFFF;

struct Char {
    char32_t code = kNotUtf8;
    std::size_t size = 1;
};

bool isContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The character that begins at byte `at` (which is inside the text). Overlong forms, surrogates
// and cut-off sequences are single bytes of kNotUtf8.
Char decodeAt(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) return {lead, 1};
    std::size_t size = 0;
    char32_t code = 0;
    char32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        size = 2, code = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        size = 3, code = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        size = 4, code = lead & 0x07, least = 0x10000;
    } else {
        return {};
    }
    if (size > text.size() - at) return {};
    for (std::size_t k = 1; k < size; ++k) {
        if (!isContinuation(text[at + k])) return {};
        code = (code << 6) | (static_cast<unsigned char>(text[at + k]) & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return {};
    return {code, size};
}

// The start of the character that holds byte `at`: a continuation byte belongs to the sequence
// before it when that sequence reaches it, and is a character of its own otherwise.
std::size_t charStart(std::string_view text, std::size_t at) {
    for (std::size_t back = 0; back < 4 && back <= at; ++back) {
        const std::size_t from = at - back;
        if (isContinuation(text[from])) continue;
        return decodeAt(text, from).size > back ? from : at;
    }
    return at;
}

bool isSeparator(char32_t c) {
    if (c == kNotUtf8 || c <= 0x20 || (c >= 0x7F && c <= 0xA0)) return true;
    if (c == 0xAD || c == 0x61C || c == 0x1680 || c == 0x180E || c == 0x3000 || c == 0xFEFF) return true;
    return (c >= 0x2000 && c <= 0x200F) || (c >= 0x2028 && c <= 0x202F) || (c >= 0x205F && c <= 0x2064) ||
           (c >= 0x2066 && c <= 0x206F) || (c >= 0xFFF9 && c <= 0xFFFB);
}

bool separatorAt(std::string_view text, std::size_t at) {
    return isSeparator(decodeAt(text, at).code);
}

// Brackets and quotes that may open a sentence's mention of a link: "(www.a.example)", «www...».
bool opensLink(char32_t c) {
    switch (c) {
    case '(':
    case '[':
    case '{':
    case '<':
    case '"':
    case '\'':
    case '`':
    case 0xAB:
    case 0xBB:
    case 0x2018:
    case 0x2019:
    case 0x201A:
    case 0x201B:
    case 0x201C:
    case 0x201D:
    case 0x201E:
    case 0x201F:
    case 0x2039:
    case 0x203A:
    case 0x3008:
    case 0x300A:
    case 0x300C:
    case 0x300E:
    case 0xFF08:
        return true;
    default:
        return false;
    }
}

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool startsCaseless(std::string_view text, std::string_view lowerPrefix) {
    return text.size() >= lowerPrefix.size() &&
           std::equal(lowerPrefix.begin(), lowerPrefix.end(), text.begin(),
                      [](char want, char c) { return want == lowerAscii(c); });
}

// A link ends on a digit, "/" or a letter; full stops, commas, brackets and the like after it are
// sentence punctuation, not part of the address.
bool canEndLink(char c) {
    const char lower = lowerAscii(c);
    return (lower >= '0' && lower <= '9') || lower == '/' || (lower >= 'a' && lower <= 'z');
}

// The one decision of what is a link: every finder below asks it about a whole word.
std::optional<Link> linkInWord(std::string_view text, std::size_t start, std::size_t end) {
    while (start < end) {
        const Char c = decodeAt(text, start);
        if (!opensLink(c.code)) break;
        start += c.size;
    }
    const std::string_view word = text.substr(start, end - start);
    for (const std::string_view prefix : kLinkPrefixes) {
        if (!startsCaseless(word, prefix)) continue;
        std::size_t stop = word.size();
        while (stop > prefix.size() && !canEndLink(word[stop - 1]))
            --stop;
        if (stop == prefix.size()) return std::nullopt;
        return Link{std::string(word.substr(0, stop)), start, start + stop, prefix};
    }
    return std::nullopt;
}

} // namespace

std::size_t wordBreakLeft(std::string_view text, std::size_t index) {
    if (index >= text.size()) {
        index = text.size();
    } else {
        index = charStart(text, index);
        if (separatorAt(text, index)) return index;
    }
    while (index > 0) {
        const std::size_t before = charStart(text, index - 1);
        if (separatorAt(text, before)) break;
        index = before;
    }
    return index;
}

std::size_t wordBreakRight(std::string_view text, std::size_t index) {
    if (index >= text.size()) return text.size();
    index = charStart(text, index);
    while (index < text.size()) {
        const Char c = decodeAt(text, index);
        if (isSeparator(c.code)) break;
        index += c.size;
    }
    return index;
}

std::optional<Link> getlinkinrange(std::string_view text, std::size_t start, std::size_t end,
                                   const WordBreak& left, const WordBreak& right) {
    start = std::min(start, text.size());
    end = std::clamp(end, start, text.size());
    if (start == end) end = std::min(start + 1, text.size());
    for (std::size_t at = std::min(left(text, start), start); at < end;) {
        const std::size_t wordEnd = std::clamp(right(text, at), at, text.size());
        if (wordEnd == at) {
            at += decodeAt(text, at).size;
            continue;
        }
        if (auto link = linkInWord(text, at, wordEnd)) return link;
        at = wordEnd;
    }
    return std::nullopt;
}

std::optional<Link> linkAt(std::string_view text, std::size_t index, const WordBreak& left,
                           const WordBreak& right) {
    if (index >= text.size()) return std::nullopt;
    index = charStart(text, index);
    const std::size_t start = std::min(left(text, index), index);
    const std::size_t end = std::clamp(right(text, index), index, text.size());
    auto link = linkInWord(text, start, end);
    if (!link || index < link->start || index >= link->end) return std::nullopt;
    return link;
}

std::vector<Link> linksIn(std::string_view line) {
    std::vector<Link> links;
    for (std::size_t at = 0; at < line.size();) {
        const std::size_t end = wordBreakRight(line, at);
        if (end == at) {
            at += decodeAt(line, at).size;
            continue;
        }
        if (auto link = linkInWord(line, at, end)) links.push_back(std::move(*link));
        at = end;
    }
    return links;
}

std::string breakLongWords(std::string_view text, std::size_t maxChars) {
    std::string broken;
    broken.reserve(text.size() + (maxChars > 0 ? text.size() / maxChars : 0));
    std::size_t run = 0;
    for (std::size_t at = 0; at < text.size();) {
        const Char c = decodeAt(text, at);
        if (isSeparator(c.code)) {
            run = 0;
        } else if (maxChars > 0 && run++ == maxChars) {
            broken += '\n';
            run = 1;
        }
        broken.append(text.substr(at, c.size));
        at += c.size;
    }
    return broken;
}

std::string linkUrl(const Link& link) {
    if (link.prefix == "www.") return "http://" + link.text;
    return link.text;
}

bool isWebOrMailLink(const Link& link) {
    return link.prefix == "http://" || link.prefix == "https://" || link.prefix == "mailto:" ||
           link.prefix == "www.";
}

} // namespace plimb
