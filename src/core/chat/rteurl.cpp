#include "chat/rteurl.h"

#include <algorithm>

namespace plimb {
namespace {

bool isBreak(char c) {
    return c == ' ' || c == '\r' || c == '\n';
}

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// A link ends on a digit, "/" or a letter; full stops, commas, brackets and the like after it are
// sentence punctuation, not part of the address.
bool canEndLink(char lower) {
    return (lower >= '0' && lower <= '9') || lower == '/' || (lower >= 'a' && lower <= 'z');
}

} // namespace

std::size_t wordBreakLeft(std::string_view text, std::size_t index) {
    index = std::min(index, text.size());
    if (index < text.size() && isBreak(text[index])) return index;
    while (index > 0 && !isBreak(text[index - 1]))
        --index;
    return index;
}

std::size_t wordBreakRight(std::string_view text, std::size_t index) {
    index = std::min(index, text.size());
    while (index < text.size() && !isBreak(text[index]))
        ++index;
    return index;
}

std::optional<Link> getlinkinrange(std::string_view text, std::size_t start, std::size_t end,
                                   const WordBreak& left, const WordBreak& right) {
    start = std::min(start, text.size());
    end = std::clamp(end, start, text.size());
    const std::size_t initialStart = start;
    if (start == end) {
        start = std::min(left(text, start), initialStart);
        end = std::clamp(right(text, start), start, text.size());
    } else {
        end = std::min(end + 1, text.size());
    }
    const std::string_view range = text.substr(start, end - start);
    if (range.empty()) return std::nullopt;

    // Grow outwards from the initial start to the surrounding run of non-blanks; a blank or line
    // end at which a scan stops stays in the kept text.
    const std::size_t from = std::min(initialStart - start, range.size() - 1);
    std::size_t first = from;
    while (first > 0 && !isBreak(range[first]))
        --first;
    std::size_t last = from;
    while (last < range.size() - 1 && !isBreak(range[last]))
        ++last;
    const std::size_t keptStart = start + first;
    const std::string_view kept = range.substr(first, last - first + 1);

    std::string lower(kept);
    std::transform(lower.begin(), lower.end(), lower.begin(), lowerAscii);
    for (const std::string_view prefix : kLinkPrefixes) {
        const auto at = lower.find(prefix);
        if (at == std::string::npos) continue;
        std::size_t stop = lower.find('\n', at);
        if (stop == std::string::npos) stop = lower.size();
        while (stop > at && !canEndLink(lower[stop - 1]))
            --stop;
        if (stop - at <= prefix.size()) return std::nullopt;
        const std::size_t linkStart = keptStart + at;
        const std::size_t linkEnd = keptStart + stop;
        return Link{std::string(text.substr(linkStart, linkEnd - linkStart)), linkStart, linkEnd, prefix};
    }
    return std::nullopt;
}

std::optional<Link> linkAt(std::string_view text, std::size_t index, const WordBreak& left,
                           const WordBreak& right) {
    if (index >= text.size()) return std::nullopt;
    const std::size_t start = std::min(left(text, index), index);
    const std::size_t end = std::clamp(right(text, index), index, text.size());
    return getlinkinrange(text, start, end, left, right);
}

std::vector<Link> linksIn(std::string_view line) {
    std::vector<Link> links;
    for (std::size_t at = 0; at < line.size();) {
        if (isBreak(line[at])) {
            ++at;
            continue;
        }
        const std::size_t end = std::max(wordBreakRight(line, at), at + 1);
        if (auto link = linkAt(line, at)) links.push_back(std::move(*link));
        at = end;
    }
    return links;
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
