#include "core/router/gatewaytrust.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>
#include <sstream>

namespace plimb::router {

namespace {

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char lower, char c) { return (c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c) == lower; });
}

// A decimal number of at most `digits` digits, without a sign or leading zeros, up to `max`.
std::optional<unsigned> number(std::string_view text, std::size_t digits, unsigned max) {
    if (text.empty() || text.size() > digits || (text.size() > 1 && text[0] == '0')) return std::nullopt;
    unsigned v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || v > max) return std::nullopt;
    return v;
}

} // namespace

std::optional<HttpUrl> parseHttpUrl(std::string_view url) {
    constexpr std::string_view kScheme = "http://";
    if (!startsWithNoCase(url, kScheme)) return std::nullopt;
    url.remove_prefix(kScheme.size());
    const std::size_t slash = url.find('/');
    std::string_view authority = url.substr(0, slash);
    HttpUrl out;
    if (slash != std::string_view::npos) out.path = std::string(url.substr(slash));
    if (const std::size_t colon = authority.find(':'); colon != std::string_view::npos) {
        const auto port = number(authority.substr(colon + 1), 5, 65535);
        if (!port || *port == 0) return std::nullopt;
        out.port = static_cast<std::uint16_t>(*port);
        authority = authority.substr(0, colon);
    }
    if (!isIpv4Address(authority)) return std::nullopt;
    out.host = std::string(authority);
    if (out.path.find_first_of(" \t\r\n") != std::string::npos) return std::nullopt;
    return out;
}

bool isIpv4Address(std::string_view text) {
    for (int part = 0; part < 4; ++part) {
        const std::size_t dot = part < 3 ? text.find('.') : text.size();
        if (dot == std::string_view::npos || !number(text.substr(0, dot), 3, 255)) return false;
        text.remove_prefix(std::min(dot + 1, text.size()));
    }
    return text.empty();
}

std::string defaultGateway(std::string_view procNetRoute) {
    constexpr unsigned kUp = 0x1, kGateway = 0x2;
    std::istringstream lines{std::string(procNetRoute)};
    std::string line, best;
    unsigned long bestMetric = std::numeric_limits<unsigned long>::max();
    std::getline(lines, line); // the column names
    while (std::getline(lines, line)) {
        std::istringstream cols(line);
        std::string iface, destination, gateway, flags, refs, use, metric, mask;
        if (!(cols >> iface >> destination >> gateway >> flags >> refs >> use >> metric >> mask)) continue;
        unsigned long f = 0, m = 0, g = 0;
        try {
            f = std::stoul(flags, nullptr, 16);
            m = std::stoul(metric);
            g = std::stoul(gateway, nullptr, 16);
        } catch (const std::exception&) {
            continue;
        }
        if (destination != "00000000" || mask != "00000000" || (f & (kUp | kGateway)) != (kUp | kGateway) ||
            g == 0 || g > 0xffffffffUL || m >= bestMetric)
            continue;
        // The kernel prints the address as the number its network-order bytes make on this
        // machine, so the bytes come back out in memory order.
        const auto v = static_cast<std::uint32_t>(g);
        unsigned char b[4];
        std::memcpy(b, &v, sizeof b);
        best = std::to_string(b[0]) + '.' + std::to_string(b[1]) + '.' + std::to_string(b[2]) + '.' +
               std::to_string(b[3]);
        bestMetric = m;
    }
    return best;
}

bool trustedDescriptionUrl(std::string_view descriptionUrl, std::string_view gateway) {
    const auto url = parseHttpUrl(descriptionUrl);
    return url && !gateway.empty() && url->host == gateway;
}

bool acceptableControlUrl(std::string_view controlUrl, std::string_view descriptionUrl,
                          std::uint16_t gamePort) {
    const auto control = parseHttpUrl(controlUrl);
    const auto description = parseHttpUrl(descriptionUrl);
    return control && description && control->host == description->host &&
           !control->host.starts_with("127.") && control->host != "0.0.0.0" && control->port != gamePort;
}

} // namespace plimb::router
