#include "core/app/invitelink.h"

#include "core/app/hostjoinargs.h"

#include <algorithm>
#include <utility>

namespace plimb {
namespace {

constexpr std::string_view kLinkStart = "plimb://";
constexpr int kMaxPort = 65535;

const char* const kNotALink =
    "This is not a Plimb invitation link: a link looks like plimb://host or plimb://host:7000.";
const char* const kTooLong = "This is too long to be a host's address or an invitation link.";
const char* const kNoHost =
    "The host's address is missing: give the name or the address of the computer that hosts the game.";
const char* const kUser = "An address names only the computer: leave out the user name and its \"@\".";
const char* const kMoreAfterHost =
    "An invitation link ends after the host and its port, such as plimb://host:7000; this one goes on.";
const char* const kBracketsInLink =
    "In a link an IPv6 address goes in brackets, such as plimb://[2001:db8::1]:7000.";
const char* const kUnclosedBracket = "The \"[\" before an IPv6 address has no closing \"]\".";
const char* const kAfterBracket = "After the \"]\" of an IPv6 address only a \":\" and a port may follow.";

enum class Form { Link, Typed };

AddressParse refuse(std::string message) {
    return AddressParse{{}, std::move(message)};
}

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string_view trimAround(std::string_view text) {
    constexpr std::string_view kSpace = " \t\r\n";
    const auto first = text.find_first_not_of(kSpace);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

bool startsCaseless(std::string_view text, std::string_view lowerPrefix) {
    if (text.size() < lowerPrefix.size()) return false;
    return std::equal(lowerPrefix.begin(), lowerPrefix.end(), text.begin(), [](char want, char c) {
        return want == ((c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c);
    });
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isHex(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
bool isLetterOrDigit(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
// Every character some form of address uses; anything else is named in the refusal.
bool isAddressChar(char c) {
    return isLetterOrDigit(c) || c == '-' || c == '_' || c == '.' || c == ':' || c == '[' || c == ']';
}

std::string junkMessage(char c) {
    const std::string what = c == ' ' ? std::string("a blank")
                             : (c > ' ' && c < 0x7F)
                                 ? quoted(std::string_view(&c, 1))
                                 : std::string("control characters or letters beyond A to Z");
    return "A host's address may not contain " + what +
           ": it is a computer's name of letters, digits, \"-\" and \".\", or an IP address.";
}

// Splits on every `sep`, keeping empty pieces.
std::vector<std::string_view> split(std::string_view text, char sep) {
    std::vector<std::string_view> pieces;
    for (std::size_t from = 0;;) {
        const auto at = text.find(sep, from);
        pieces.push_back(
            text.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from));
        if (at == std::string_view::npos) return pieces;
        from = at + 1;
    }
}

// Four decimal numbers 0 to 255; a leading zero is refused, as some resolvers read it as octal.
bool isIpv4(std::string_view text) {
    const auto parts = split(text, '.');
    if (parts.size() != 4) return false;
    return std::all_of(parts.begin(), parts.end(), [](std::string_view part) {
        if (part.empty() || part.size() > 3 || (part.size() > 1 && part[0] == '0')) return false;
        if (!std::all_of(part.begin(), part.end(), isDigit)) return false;
        return std::stoi(std::string(part)) <= 255;
    });
}

// Counts the 16-bit groups of a run "h:h:...:h" (empty runs have none). An IPv4 address may
// stand for the last two groups where the run ends the address. An empty group is refused, which
// also refuses a second "::".
bool countGroups(std::string_view run, bool endsAddress, int& groups) {
    groups = 0;
    if (run.empty()) return true;
    const auto pieces = split(run, ':');
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const std::string_view piece = pieces[i];
        if (endsAddress && i + 1 == pieces.size() && piece.find('.') != std::string_view::npos) {
            if (!isIpv4(piece)) return false;
            groups += 2;
        } else if (piece.empty() || piece.size() > 4 || !std::all_of(piece.begin(), piece.end(), isHex)) {
            return false;
        } else {
            ++groups;
        }
    }
    return true;
}

bool isIpv6(std::string_view text) {
    const auto gap = text.find("::");
    int head = 0;
    int tail = 0;
    if (gap == std::string_view::npos) return countGroups(text, true, head) && head == 8;
    return countGroups(text.substr(0, gap), false, head) && countGroups(text.substr(gap + 2), true, tail) &&
           head + tail <= 7;
}

// Labels of letters, digits, '-' and '_' joined by dots, none empty or edged by '-', within the
// lengths a name server takes (63 a label, 253 in all). '_' is no part of a name server's names,
// but local names such as my_pc resolve on many home networks, and joining one always worked.
bool isHostName(std::string_view text) {
    if (text.size() > 253) return false;
    const auto labels = split(text, '.');
    return std::all_of(labels.begin(), labels.end(), [](std::string_view label) {
        return !label.empty() && label.size() <= 63 && label.front() != '-' && label.back() != '-' &&
               std::all_of(label.begin(), label.end(),
                           [](char c) { return isLetterOrDigit(c) || c == '-' || c == '_'; });
    });
}

// A label a resolver reads as a number: decimal, octal with a leading zero, or hex after "0x". A
// host made only of such labels is an IPv4 address to it, in forms that hide which one: 0x7f.1 is
// 127.0.0.1 and 167772170 is 10.0.0.10.
bool isNumberLabel(std::string_view label) {
    if (label.size() >= 2 && label[0] == '0' && (label[1] == 'x' || label[1] == 'X'))
        return std::all_of(label.begin() + 2, label.end(), isHex);
    return !label.empty() && std::all_of(label.begin(), label.end(), isDigit);
}

bool hasLetter(std::string_view label) {
    return std::any_of(label.begin(), label.end(), [](char c) { return isLetterOrDigit(c) && !isDigit(c); });
}

std::string checkHost(std::string_view host) {
    const auto labels = split(host, '.');
    if (std::all_of(labels.begin(), labels.end(),
                    [](std::string_view l) { return l.empty() || isNumberLabel(l); })) {
        if (isIpv4(host)) return {};
        std::string problem = quoted(host) + " is not an IPv4 address: that is four numbers from 0 to 255 "
                                             "joined by dots, such as 192.0.2.7.";
        const bool disguised =
            labels.size() < 4 || std::any_of(labels.begin(), labels.end(),
                                             [](std::string_view l) { return l.size() > 1 && l[0] == '0'; });
        if (disguised)
            problem += " Numbers with a leading zero or \"0x\", or fewer than four of them, stand for an "
                       "address other than the one they seem to name.";
        return problem;
    }
    if (!isHostName(host))
        return quoted(host) + " is not a computer's name: its parts between the dots are letters, digits "
                              "and \"-\", and do not begin or end with \"-\".";
    if (!hasLetter(labels.back()) || isNumberLabel(labels.back()))
        return quoted(host) + " is not a computer's name: the part after its last dot is a number, and a "
                              "name ends in a part with a letter, such as host.lan.";
    return {};
}

AddressParse withPort(std::string_view host, std::string_view portText) {
    if (portText.empty())
        return refuse("The port after the \":\" is missing: give one, or leave out the \":\".");
    int port = 0;
    const bool digits = std::all_of(portText.begin(), portText.end(), [&port](char c) {
        if (!isDigit(c)) return false;
        port = std::min(port * 10 + (c - '0'), kMaxPort + 1);
        return true;
    });
    if (!digits || port < 1 || port > kMaxPort)
        return refuse(quoted(portText) + " is not a port: a port is a number from 1 to 65535.");
    return AddressParse{{std::string(host), port}, {}};
}

AddressParse parseHostAndPort(std::string_view text, Form form) {
    if (text.empty()) return refuse(kNoHost);
    if (text.find('@') != std::string_view::npos) return refuse(kUser);
    const auto junk = std::find_if_not(text.begin(), text.end(), isAddressChar);
    if (junk != text.end()) return refuse(junkMessage(*junk));

    if (text.front() == '[') {
        const auto close = text.find(']');
        if (close == std::string_view::npos) return refuse(kUnclosedBracket);
        const std::string_view inside = text.substr(1, close - 1);
        const std::string_view after = text.substr(close + 1);
        if (inside.empty()) return refuse(kNoHost);
        if (!isIpv6(inside)) return refuse(quoted(inside) + " is not an IPv6 address.");
        if (after.empty()) return AddressParse{{std::string(inside), kGamePort}, {}};
        if (after.front() != ':') return refuse(kAfterBracket);
        return withPort(inside, after.substr(1));
    }
    const auto bracket = text.find_first_of("[]");
    if (bracket != std::string_view::npos) return refuse(junkMessage(text[bracket]));

    const auto colon = text.find(':');
    if (colon != std::string_view::npos && text.find(':', colon + 1) != std::string_view::npos) {
        if (form == Form::Link) return refuse(kBracketsInLink);
        if (!isIpv6(text))
            return refuse(quoted(text) + " is not an IPv6 address. To give a port with an IPv6 address, put "
                                         "the address in brackets: [2001:db8::1]:7000.");
        return AddressParse{{std::string(text), kGamePort}, {}};
    }
    const std::string_view host = text.substr(0, colon);
    if (host.empty()) return refuse(kNoHost);
    if (std::string problem = checkHost(host); !problem.empty()) return refuse(std::move(problem));
    if (colon == std::string_view::npos) return AddressParse{{std::string(host), kGamePort}, {}};
    return withPort(host, text.substr(colon + 1));
}

} // namespace

AddressParse parseInvitationLink(std::string_view text) {
    text = trimAround(text);
    if (text.size() > kMaxInviteBytes) return refuse(kTooLong);
    if (!startsCaseless(text, kLinkStart)) return refuse(kNotALink);
    const std::string_view rest = text.substr(kLinkStart.size());
    const auto end = rest.find_first_of("/?#");
    if (end != std::string_view::npos && rest.substr(end) != "/") return refuse(kMoreAfterHost);
    return parseHostAndPort(rest.substr(0, end), Form::Link);
}

AddressParse parseHostAddress(std::string_view text) {
    text = trimAround(text);
    if (text.size() > kMaxInviteBytes) return refuse(kTooLong);
    if (isInvitationLink(text)) return parseInvitationLink(text);
    return parseHostAndPort(text, Form::Typed);
}

std::string invitationLink(std::string_view host, int port) {
    std::string link(kLinkStart);
    if (host.find(':') != std::string_view::npos)
        link.append("[").append(host).append("]");
    else
        link.append(host);
    if (port != kGamePort) link.append(":").append(std::to_string(port));
    return link;
}

std::string shownAddress(const HostPort& address) {
    return invitationLink(address.host, address.port).substr(kLinkStart.size());
}

bool isInvitationLink(std::string_view parameter) {
    return startsCaseless(parameter, kInviteScheme);
}

StartupPlan planStartup(const std::vector<std::string>& params, std::string_view rememberedName) {
    const HostPort loopback{std::string(kHostingAddress), kGamePort};
    if (params.empty()) return {StartupKind::Solo, std::string(kSoloName), loopback, {}};
    if (params.size() == 1 && isInvitationLink(params[0])) {
        AddressParse link = parseInvitationLink(params[0]);
        if (!link.ok()) return {StartupKind::BadLink, {}, {}, std::move(link.error)};
        // The Host dialog's rules for a name, so a remembered name never reaches the server in a
        // form the dialogs would have refused.
        const LaunchArgs named = buildLaunchArgs(GameRole::Host, rememberedName, {});
        if (!named.ok()) return {StartupKind::JoinAskName, {}, std::move(link.address), {}};
        return {StartupKind::Join, named.args[0], std::move(link.address), {}};
    }
    if (params.size() < 3) return {};
    if (params[2] == "true") return {StartupKind::Host, params[0], loopback, {}};
    AddressParse host = parseHostAddress(params[1]);
    if (!host.ok()) return {StartupKind::BadLink, {}, {}, std::move(host.error)};
    return {StartupKind::Join, params[0], std::move(host.address), {}};
}

} // namespace plimb
