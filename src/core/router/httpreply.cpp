#include "core/router/httpreply.h"

#include <charconv>

namespace plimb::router {

namespace {

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r' || s.front() == '\n'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
        s.remove_suffix(1);
    return s;
}

bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

template <typename T> bool parseNumber(std::string_view s, T& out, int base = 10) {
    s = trimmed(s);
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out, base);
    return ec == std::errc() && end == s.data() + s.size() && !s.empty();
}

// Joins the chunks of a chunked body; Incomplete until the last (empty) chunk arrived.
HttpReply::State dechunk(std::string_view in, std::string& out) {
    for (;;) {
        const std::size_t eol = in.find("\r\n");
        if (eol == std::string_view::npos) return HttpReply::State::Incomplete;
        std::string_view size = in.substr(0, eol);
        size = size.substr(0, size.find(';')); // chunk extensions say nothing we use
        std::size_t n = 0;
        if (!parseNumber(size, n, 16)) return HttpReply::State::Bad;
        in.remove_prefix(eol + 2);
        if (n == 0) return HttpReply::State::Complete;
        if (in.size() < n + 2) return HttpReply::State::Incomplete;
        out.append(in.substr(0, n));
        in.remove_prefix(n + 2);
    }
}

} // namespace

HttpReply parseHttpReply(std::string_view raw, bool ended) {
    HttpReply r;
    const std::size_t headEnd = raw.find("\r\n\r\n");
    if (headEnd == std::string_view::npos) {
        if (ended) r.state = HttpReply::State::Bad;
        return r;
    }
    std::string_view head = raw.substr(0, headEnd);
    const std::string_view body = raw.substr(headEnd + 4);
    const std::size_t firstEol = head.find("\r\n");
    const std::string_view statusLine = head.substr(0, firstEol);
    if (!statusLine.starts_with("HTTP/1.") || statusLine.size() < 12 || statusLine[8] != ' ' ||
        !parseNumber(statusLine.substr(9, 3), r.status)) {
        r.state = HttpReply::State::Bad;
        return r;
    }
    bool chunked = false;
    std::optional<std::size_t> length;
    head.remove_prefix(firstEol == std::string_view::npos ? head.size() : firstEol + 2);
    while (!head.empty()) {
        const std::size_t eol = head.find("\r\n");
        const std::string_view line = head.substr(0, eol);
        head.remove_prefix(eol == std::string_view::npos ? head.size() : eol + 2);
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        const std::string_view name = trimmed(line.substr(0, colon)), value = trimmed(line.substr(colon + 1));
        if (equalNoCase(name, "transfer-encoding")) chunked = equalNoCase(value, "chunked");
        if (equalNoCase(name, "content-length")) {
            std::size_t n = 0;
            if (!parseNumber(value, n)) {
                r.state = HttpReply::State::Bad;
                return r;
            }
            length = n;
        }
    }
    if (chunked) {
        r.state = dechunk(body, r.body);
        if (r.state == HttpReply::State::Incomplete && ended) r.state = HttpReply::State::Bad;
    } else if (length) {
        if (body.size() >= *length) {
            r.body = std::string(body.substr(0, *length));
            r.state = HttpReply::State::Complete;
        } else if (ended) {
            r.state = HttpReply::State::Bad;
        }
    } else if (ended) {
        r.body = std::string(body);
        r.state = HttpReply::State::Complete;
    }
    if (r.state != HttpReply::State::Complete) r.body.clear();
    return r;
}

std::optional<std::string> elementText(std::string_view xml, std::string_view name) {
    for (std::size_t at = xml.find('<'); at != std::string_view::npos; at = xml.find('<', at + 1)) {
        std::size_t tagEnd = xml.find_first_of("> \t\r\n/", at + 1);
        if (tagEnd == std::string_view::npos) return std::nullopt;
        std::string_view tag = xml.substr(at + 1, tagEnd - at - 1);
        if (const std::size_t colon = tag.find(':'); colon != std::string_view::npos)
            tag.remove_prefix(colon + 1);
        if (tag != name) continue;
        const std::size_t open = xml.find('>', tagEnd);
        if (open == std::string_view::npos) return std::nullopt;
        if (xml[open - 1] == '/') return std::string(); // <name/>
        const std::size_t close = xml.find('<', open + 1);
        if (close == std::string_view::npos || xml.substr(close, 2) != "</") return std::nullopt;
        return std::string(trimmed(xml.substr(open + 1, close - open - 1)));
    }
    return std::nullopt;
}

} // namespace plimb::router
