#pragma once
// What a connection that could not be made means to the player. The transport reports failures
// with Windows Sockets codes ("Error #10061 (WSAECONNREFUSED)"), which is what peers and logs of
// the game have always shown; the player also gets one sentence that says, for the host and port
// tried, what most likely happened and where to look.
#include <string>
#include <string_view>

namespace plimb {

// The codes the transport gives a failed connect; the names are the Windows Sockets ones.
inline constexpr int kSockNetDown = 10050;         // WSAENETDOWN: the network failed in some other way
inline constexpr int kSockNetUnreachable = 10051;  // WSAENETUNREACH: no route to that network
inline constexpr int kSockTimedOut = 10060;        // WSAETIMEDOUT: nothing came back in time
inline constexpr int kSockRefused = 10061;         // WSAECONNREFUSED: the computer said no one listens
inline constexpr int kSockHostDown = 10064;        // WSAEHOSTDOWN
inline constexpr int kSockHostUnreachable = 10065; // WSAEHOSTUNREACH: no computer answered on the way
inline constexpr int kSockHostNotFound = 11001;    // WSAHOST_NOT_FOUND: the name is not known
inline constexpr int kSockTryAgain = 11002;        // WSATRY_AGAIN: the name could not be looked up now

// One sentence, naming `host` and `port`, for a connect to them that failed with `code`. Codes
// without a sentence of their own get one that still names where the connect went.
std::string connectFailureAdvice(int code, std::string_view host, int port);

} // namespace plimb
