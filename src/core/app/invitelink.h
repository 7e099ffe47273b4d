#pragma once
// Invitation links: plimb://HOST or plimb://HOST:PORT names a hosted game, so a player can send
// it in a message and a friend can join with one click (the desktop starts this program with the
// link as its only parameter). The same address rules serve the Join dialog's address field and
// the host position of the command line, so a game reachable one way is reachable every way.
//
// HOST is a computer's name (ASCII letters, digits, '-' and '.'), an IPv4 address such as
// 192.0.2.7, or an IPv6 address. PORT is 1 to 65535; without it the game's port kGamePort.
#include "core/net/protocol.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace plimb {

inline constexpr std::string_view kInviteScheme = "plimb:";
// Longer text is refused before it is looked at: no real address comes near it, and what a
// pasted paragraph would make of the checks below is not worth guessing.
inline constexpr std::size_t kMaxInviteBytes = 300;

struct HostPort {
    std::string host; // an IPv6 address without its brackets
    int port = kGamePort;
    bool operator==(const HostPort&) const = default;
};

struct AddressParse {
    HostPort address;  // {} when refused
    std::string error; // why the text was refused, in words for the player
    bool ok() const { return error.empty(); }
};

// Reads an invitation link: "plimb://" (the scheme in any letter case), the host (an IPv6
// address in brackets: plimb://[2001:db8::1]:7000), an optional ":PORT" and an optional
// trailing "/". Blanks and line ends around the link are dropped. Refused with a reason: text
// that is not a plimb link, an empty host, a user name ("ann@host"), an IPv6 address without
// brackets, a bad port (empty, not digits, 0, above 65535), characters no address has, anything
// after the "/" (a path, a query, a fragment), and text over kMaxInviteBytes.
AddressParse parseInvitationLink(std::string_view text);

// Reads a host's address as a player types it: "name", "192.0.2.7", "192.0.2.7:7000",
// "2001:db8::1" (a bare IPv6 address takes no port: its last group could be one),
// "[2001:db8::1]" and "[2001:db8::1]:7000". An invitation link is read as one. Blanks and
// line ends around the text are dropped; refusals as for parseInvitationLink.
AddressParse parseHostAddress(std::string_view text);

// The link for a game hosted at `host` (as the parsers return it: IPv6 without brackets) and
// `port`: the address is bracketed when it is IPv6, and ":PORT" is left out for kGamePort.
std::string invitationLink(std::string_view host, int port = kGamePort);
// The same address without the scheme, as a player reads it and types it into the Join dialog.
std::string shownAddress(const HostPort& address);

// Whether a start-up parameter is meant as an invitation link: it begins with "plimb:" in any
// letter case. Whether it is a good one is parseInvitationLink's to say.
bool isInvitationLink(std::string_view parameter);

enum class StartupKind {
    Solo,        // no parameters: a game against the computer, as kSoloName
    Host,        // host here as `name`; the own client connects over the loopback address
    Join,        // join the game at `address` as `name`
    JoinAskName, // a good link but no usable remembered name: ask for one, then join `address`
    BadLink,     // the link or the host's address cannot be used; `error` says why
    Incomplete,  // too few parameters: the window opens and starts nothing
};


struct StartupPlan {
    StartupKind kind = StartupKind::Incomplete;
    std::string name;
    HostPort address;
    std::string error;
};

// What the command line asks for. Three or more parameters are NAME HOST ROLE as the Host and
// Join dialogs build them (parameters past the third are ignored): ROLE "true" hosts, whatever
// HOST holds; any other ROLE joins HOST, which may carry a port (parseHostAddress). A single
// invitation link joins as `rememberedName` (the name last typed into the dialogs) when the
// Host dialog would accept it, and asks for a name otherwise.
StartupPlan planStartup(const std::vector<std::string>& params, std::string_view rememberedName);

} // namespace plimb
