#include "core/settings/inifile.h"

#include <algorithm>
#include <cctype>

namespace plimb {
namespace {

std::string_view trim(std::string_view s) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// The section name of a header line, or nullopt for any other line.
std::optional<std::string_view> headerName(std::string_view body) {
    const std::string_view t = trim(body);
    if (t.size() < 2 || t.front() != '[') return std::nullopt;
    const auto close = t.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return trim(t.substr(1, close - 1));
}

bool isComment(std::string_view body) {
    const std::string_view t = trim(body);
    return !t.empty() && (t.front() == ';' || t.front() == '#');
}

} // namespace

IniFile::IniFile(std::string text) {
    std::size_t count = 1;
    for (auto nl = text.find('\n'); nl != std::string::npos; nl = text.find('\n', nl + 1))
        ++count;
    lines_.reserve(count);
    std::size_t pos = 0;
    bool styleSeen = false;
    while (pos < text.size()) {
        const auto nl = text.find('\n', pos);
        Line line;
        if (nl == std::string::npos) {
            line.body = text.substr(pos);
            pos = text.size();
        } else {
            const bool crlf = nl > pos && text[nl - 1] == '\r';
            line.body = text.substr(pos, nl - pos - (crlf ? 1 : 0));
            line.end = crlf ? "\r\n" : "\n";
            if (!styleSeen) newline_ = line.end;
            styleSeen = true;
            pos = nl + 1;
        }
        classify(line);
        lines_.push_back(std::move(line));
    }
}

void IniFile::classify(Line& line) {
    const std::string_view body = line.body;
    auto name = headerName(body);
    line.kind = Line::Kind::Header;
    if (!name) {
        const auto eq = body.find('=');
        if (eq == std::string_view::npos || isComment(body)) {
            line.kind = Line::Kind::Other;
            line.nameAt = line.nameSize = 0;
            return;
        }
        name = trim(body.substr(0, eq));
        line.kind = Line::Kind::Entry;
    }
    line.nameAt = static_cast<std::size_t>(name->data() - body.data());
    line.nameSize = name->size();
}

std::string IniFile::text() const {
    std::size_t size = 0;
    for (const auto& line : lines_)
        size += line.body.size() + line.end.size();
    std::string out;
    out.reserve(size);
    for (const auto& line : lines_)
        out.append(line.body).append(line.end);
    return out;
}

std::optional<std::size_t> IniFile::findSection(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].kind == Line::Kind::Header && sameName(lines_[i].name(), section)) return i;
    return std::nullopt;
}

std::size_t IniFile::sectionEnd(std::size_t header) const {
    std::size_t i = header + 1;
    while (i < lines_.size() && lines_[i].kind != Line::Kind::Header)
        ++i;
    return i;
}

std::optional<std::size_t> IniFile::findKey(std::size_t header, std::string_view key) const {
    for (std::size_t i = header + 1; i < lines_.size() && lines_[i].kind != Line::Kind::Header; ++i)
        if (lines_[i].kind == Line::Kind::Entry && sameName(lines_[i].name(), key)) return i;
    return std::nullopt;
}

std::optional<std::string> IniFile::get(std::string_view section, std::string_view key) const {
    const auto header = findSection(section);
    if (!header) return std::nullopt;
    const auto at = findKey(*header, key);
    if (!at) return std::nullopt;
    const std::string_view body = lines_[*at].body;
    return std::string(trim(body.substr(body.find('=') + 1)));
}

void IniFile::insertLine(std::size_t at, std::string body) {
    // The line before the new one may have been the file's last, without a line end.
    if (at > 0 && lines_[at - 1].end.empty()) lines_[at - 1].end = newline_;
    Line line;
    line.body = std::move(body);
    line.end = newline_;
    classify(line);
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
}

void IniFile::set(std::string_view section, std::string_view key, std::string_view value) {
    std::string clean(value);
    std::replace_if(clean.begin(), clean.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');

    const auto header = findSection(section);
    if (!header) {
        insertLine(lines_.size(), "[" + std::string(section) + "]");
        insertLine(lines_.size(), std::string(key) + "=" + clean);
        return;
    }
    if (const auto at = findKey(*header, key)) {
        std::string& body = lines_[*at].body;
        body = body.substr(0, body.find('=') + 1) + clean;
        // The key stays as it was, but the value decides whether a line opening with "[" and
        // without "]" now reads as a header.
        classify(lines_[*at]);
        return;
    }
    // After the section's last non-blank line, so a blank line before the next section stays.
    std::size_t at = sectionEnd(*header);
    while (at > *header + 1 && trim(lines_[at - 1].body).empty())
        --at;
    insertLine(at, std::string(key) + "=" + clean);
}

} // namespace plimb
