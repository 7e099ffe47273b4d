#include "core/net/socketerror.h"

namespace plimb {

std::string connectFailureAdvice(int code, std::string_view host, int port) {
    const std::string where = std::string(host) + " port " + std::to_string(port);
    switch (code) {
    case kSockRefused:
        return "Nothing answers at " + where +
               ": the game may not be hosted there (yet), or a firewall refuses it.";
    case kSockHostNotFound:
    case kSockTryAgain:
        return "There is no computer called " + std::string(host) +
               " that this computer knows of: check the name, or type the host's address instead.";
    case kSockNetUnreachable:
    case kSockNetDown:
        return "There is no route from this computer to " + where +
               ": check that this computer is connected to the network, and the address.";
    case kSockHostUnreachable:
    case kSockHostDown:
        return "No computer answers at " + where +
               ": it may be switched off or on another network, or the address may be wrong.";
    case kSockTimedOut:
        return "No answer came from " + where +
               " in time: the computer may be switched off, or a firewall drops the connection.";
    default:
        return "The connection to " + where +
               " could not be made: check the address, and that the game is hosted there.";
    }
}

} // namespace plimb
