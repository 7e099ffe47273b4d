#include "core/app/reflow.h"

#include <algorithm>
#include <cctype>

namespace plimb {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view trimEnd(std::string_view line) {
    while (!line.empty() && isBlank(line.back()))
        line.remove_suffix(1);
    return line;
}

// The leading blanks and quote marks of a line, and how deep a quotation it is in.
std::size_t leadLength(std::string_view line) {
    std::size_t n = 0;
    while (n < line.size() && (isBlank(line[n]) || line[n] == '>'))
        ++n;
    return n;
}

int quoteDepth(std::string_view line) {
    const std::string_view lead = line.substr(0, leadLength(line));
    return static_cast<int>(std::count(lead.begin(), lead.end(), '>'));
}

bool startsItem(std::string_view body) {
    if (body.empty()) return false;
    if (body[0] == '(' || ((body[0] == '*' || body[0] == '-') && body.size() > 1 && body[1] == ' '))
        return true;
    std::size_t digits = 0;
    while (digits < body.size() && std::isdigit(static_cast<unsigned char>(body[digits])))
        ++digits;
    return digits > 0 && digits < body.size() && (body[digits] == '.' || body[digits] == ')');
}

} // namespace

std::vector<TextParagraph> reflowHardWrapped(std::string_view text) {
    std::vector<std::string_view> lines;
    for (std::size_t from = 0; from <= text.size();) {
        const std::size_t end = std::min(text.find('\n', from), text.size());
        lines.push_back(trimEnd(text.substr(from, end - from)));
        from = end + 1;
    }
    std::size_t widest = 0;
    for (std::string_view line : lines)
        widest = std::max(widest, line.size());
    const std::size_t cutNear = widest - widest / 4;

    std::vector<TextParagraph> paragraphs;
    std::string_view previous;
    for (std::string_view line : lines) {
        if (line.empty()) {
            previous = {};
            continue;
        }
        const std::string_view body = line.substr(leadLength(line));
        if (previous.empty()) {
            paragraphs.emplace_back();
            paragraphs.back().emplace_back(line);
        } else if (previous.size() >= cutNear && !startsItem(body) &&
                   quoteDepth(line) == quoteDepth(previous)) {
            // A word cut at a hyphen ("MERCHANT-" / "ABILITY") goes back together without a blank.
            std::string& joined = paragraphs.back().back();
            const bool hyphen = previous.size() > 1 && previous.back() == '-' &&
                                std::isalpha(static_cast<unsigned char>(previous[previous.size() - 2]));
            joined.append(hyphen ? "" : " ").append(body);
        } else {
            paragraphs.back().emplace_back(line);
        }
        previous = line;
    }
    return paragraphs;
}

} // namespace plimb
