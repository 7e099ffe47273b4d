#include "core/download/downloadcheck.h"

#include <algorithm>

namespace plimb {

namespace {

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameText(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return lower(x) == lower(y); });
}

bool blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool hexDigit(char c) {
    return (c >= '0' && c <= '9') || (lower(c) >= 'a' && lower(c) <= 'f');
}

int effectivePort(const Origin& origin) {
    if (origin.port >= 0) return origin.port;
    if (sameText(origin.scheme, "https")) return 443;
    if (sameText(origin.scheme, "http")) return 80;
    return -1;
}

bool redirectStatus(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

} // namespace

bool fetchableOrigin(const Origin& origin) {
    const bool web = sameText(origin.scheme, "http") || sameText(origin.scheme, "https");
    return web && !origin.host.empty() && origin.port >= -1 && origin.port != 0 && origin.port <= 65535;
}

bool sameOrigin(const Origin& a, const Origin& b) {
    return sameText(a.scheme, b.scheme) && sameText(a.host, b.host) && effectivePort(a) == effectivePort(b);
}

std::string_view refusalText(Refusal refusal) {
    switch (refusal) {
    case Refusal::None:
        return "";
    case Refusal::BadAddress:
        return "The lobby server address is not an http or https address.";
    case Refusal::ErrorStatus:
        return "The lobby server refused the download.";
    case Refusal::UnexpectedStatus:
        return "The lobby server did not send the file.";
    case Refusal::ForeignRedirect:
        return "The lobby server sent the download to another server; it was not followed.";
    case Refusal::TooManyRedirects:
        return "The lobby server redirected the download too many times.";
    case Refusal::NoLength:
        return "The lobby server did not tell the size of the file.";
    case Refusal::TooLarge:
        return "The file is larger than a lobby installer can be.";
    case Refusal::Truncated:
        return "The download ended before the whole file arrived.";
    case Refusal::Overlong:
        return "The lobby server sent more than the size it announced.";
    case Refusal::Empty:
        return "The lobby server sent an empty file.";
    case Refusal::MalformedReply:
        return "The reply of the lobby server was not understood.";
    case Refusal::TransportError:
        return "The connection to the lobby server failed.";
    case Refusal::BadDigestFile:
        return "The checksum file of the lobby server could not be read.";
    case Refusal::DigestMismatch:
        return "The file does not match the checksum the lobby server publishes.";
    case Refusal::Stalled:
        return "The lobby server stopped sending.";
    case Refusal::TooSlow:
        return "The download took too long.";
    }
    return "";
}

bool refusalIsReported(Refusal refusal) {
    return refusal != Refusal::None && refusal != Refusal::ErrorStatus;
}

TransferCheck::Head TransferCheck::head(int status, std::optional<std::int64_t> length,
                                        const std::optional<Origin>& location) {
    if (status == 200) {
        if (!length || *length < 0) return {Refusal::NoLength};
        if (*length > maxBytes_) return {Refusal::TooLarge};
        announced_ = length;
        received_ = 0;
        return {};
    }
    if (status >= 400) return {Refusal::ErrorStatus};
    if (!redirectStatus(status) || !location) return {Refusal::UnexpectedStatus};
    if (!sameOrigin(origin_, *location)) return {Refusal::ForeignRedirect};
    if (++redirects_ > kMaxRedirects) return {Refusal::TooManyRedirects};
    return {Refusal::None, true};
}

Refusal TransferCheck::data(std::int64_t bytes) {
    if (!announced_) return Refusal::MalformedReply;
    received_ += bytes;
    // The announced length is within the cap, so this also keeps the cap.
    return received_ > *announced_ ? Refusal::Overlong : Refusal::None;
}

Refusal TransferCheck::end(bool transportFailed) const {
    if (!announced_) return transportFailed ? Refusal::TransportError : Refusal::MalformedReply;
    if (received_ < *announced_) return Refusal::Truncated;
    if (received_ > *announced_) return Refusal::Overlong;
    if (received_ == 0) return Refusal::Empty;
    return transportFailed ? Refusal::TransportError : Refusal::None;
}

std::optional<std::string> parseDigestFile(std::string_view text) {
    constexpr std::size_t kHexDigits = 64;
    std::size_t start = 0;
    while (start < text.size() && blank(text[start]))
        ++start;
    if (text.size() - start < kHexDigits) return std::nullopt;
    std::string digest;
    for (const char c : text.substr(start, kHexDigits)) {
        if (!hexDigit(c)) return std::nullopt;
        digest += lower(c);
    }
    const std::size_t after = start + kHexDigits;
    if (after < text.size() && !blank(text[after])) return std::nullopt;
    return digest;
}

Refusal checkDigest(std::string_view digestFile, std::string_view actualHex) {
    const std::optional<std::string> published = parseDigestFile(digestFile);
    if (!published) return Refusal::BadDigestFile;
    return sameText(*published, actualHex) ? Refusal::None : Refusal::DigestMismatch;
}

} // namespace plimb
