#pragma once
// What a fetched lobby installer, and the checksum the lobby server publishes beside it, must pass
// before the installer may run. The shell reports what each HTTP transfer did as it happens; these
// rules say whether to go on, follow a redirect, or give up, and why.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace plimb {

// Scheme, host and port of an address; scheme and host are compared without regard to case, and
// port -1 means the scheme's default.
struct Origin {
    std::string scheme;
    std::string host;
    int port = -1;
};

// Only plain and TLS HTTP to a named host: a lobby server set to a file or another scheme would
// otherwise hand over whatever the local machine holds.
bool fetchableOrigin(const Origin& origin);
// Same scheme, host and port, the default port written or not.
bool sameOrigin(const Origin& a, const Origin& b);

enum class Refusal {
    None,
    BadAddress,       // the lobby server is not an http or https address
    ErrorStatus,      // 400 or above
    UnexpectedStatus, // anything else that is not 200, and redirects that cannot be followed
    ForeignRedirect,  // a redirect to another scheme, host or port
    TooManyRedirects,
    NoLength,  // no usable Content-Length, so completeness cannot be told
    TooLarge,  // announced beyond the cap
    Truncated, // fewer bytes than announced
    Overlong,  // more bytes than announced
    Empty,     // an empty file is no installer
    MalformedReply,
    TransportError,
    BadDigestFile,
    DigestMismatch,
    Stalled, // no bytes for the stall limit
    TooSlow, // the whole download took longer than its limit
};

// A sentence the user can read, in UTF-8.
std::string_view refusalText(Refusal refusal);
// The HTTP client's own failures (400 and above) say only "Download Aborted"; every other refusal
// is told to the user with its reason.
bool refusalIsReported(Refusal refusal);

struct DownloadLimits {
    std::int64_t maxInstallerBytes = 64ll * 1024 * 1024;
    // A checksum file holds 64 hex digits and perhaps a file name.
    std::int64_t maxDigestBytes = 1024;
    std::chrono::milliseconds stall{std::chrono::seconds(30)};
    std::chrono::milliseconds total{std::chrono::minutes(10)};
};

// One GET, with the redirects it takes, checked as its facts arrive: head(), then data() per chunk,
// then end(). After a refusal the transfer must be dropped and nothing it delivered kept.
class TransferCheck {
public:
    static constexpr int kMaxRedirects = 5;

    TransferCheck(Origin origin, std::int64_t maxBytes) : origin_(std::move(origin)), maxBytes_(maxBytes) {}

    struct Head {
        Refusal refusal = Refusal::None;
        bool follow = false; // drop this reply and GET the location instead
    };
    // `length`: the Content-Length, when the reply has one. `location`: the origin of a redirect's
    // target, resolved against the request address, when the reply names one.
    Head head(int status, std::optional<std::int64_t> length, const std::optional<Origin>& location);
    // A chunk of `bytes` arrived; it may be kept only when this returns None.
    Refusal data(std::int64_t bytes);
    // The transfer ended; `transportFailed` when the HTTP client reported an error.
    Refusal end(bool transportFailed) const;

    std::int64_t received() const { return received_; }

private:
    Origin origin_;
    std::int64_t maxBytes_;
    int redirects_ = 0;
    std::optional<std::int64_t> announced_; // set once a 200 head was accepted
    std::int64_t received_ = 0;
};

// The digest of a checksum file as sha256sum writes it: 64 hex digits, then the end or whitespace
// and a file name (ignored); leading whitespace is skipped. Lower case; nothing when malformed.
std::optional<std::string> parseDigestFile(std::string_view text);
// BadDigestFile, DigestMismatch or None; `actualHex` is the installer's SHA-256 in hex, any case.
Refusal checkDigest(std::string_view digestFile, std::string_view actualHex);

} // namespace plimb
