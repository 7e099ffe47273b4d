#include "core/app/hostjoinargs.h"

#include "core/app/invitelink.h"

#include <algorithm>

namespace plimb {
namespace {

// Bytes that would break a field on its way to the server: control characters end or split the
// login line, and 0xFF is the message terminator itself.
bool hasControlBytes(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F || byte == 0xFF;
    });
}

LaunchArgs refuse(std::string message) {
    return LaunchArgs{{}, std::move(message)};
}

} // namespace

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool readAsOption(std::string_view parameter) {
    return !parameter.empty() && parameter.front() == '-';
}

LaunchArgs buildLaunchArgs(GameRole role, std::string_view name, std::string_view host) {
    const std::string_view player = trimBlanks(name);
    if (player.empty()) return refuse("Please type your name: the other players see it in the game.");
    if (hasControlBytes(player))
        return refuse("Your name may not contain line breaks or other control characters.");
    if (readAsOption(player)) return refuse("A name may not begin with \"-\".");
    if (role == GameRole::Host)
        return LaunchArgs{{std::string(player), std::string(kHostingAddress), "true"}, {}};

    const std::string_view address = trimBlanks(host);
    if (address.empty())
        return refuse("Please type the address or the name of the computer that hosts the game.");
    if (hasControlBytes(address) || address.find_first_of(" \t") != std::string_view::npos)
        return refuse("The host's address may not contain blanks: type an address such as 192.168.1.20 or a "
                      "computer's name.");
    if (readAsOption(address))
        return refuse(
            "The host's address may not begin with \"-\": type an address such as 192.168.1.20 or a "
            "computer's name.");
    // Read as the start-up will read it, so the dialog refuses what the new start would, before
    // anything restarts or is remembered.
    const AddressParse parsed = parseHostAddress(address);
    if (!parsed.ok()) return refuse(parsed.error);
    return LaunchArgs{{std::string(player), std::string(address), "join"}, {}};
}

} // namespace plimb
