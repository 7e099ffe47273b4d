#include "ui/router/addresses.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QHash>
#include <QNetworkInterface>

#include <arpa/inet.h>

#include <algorithm>
#include <array>
#include <cstdint>

namespace plimb {

Ipv6Kind classifyIpv6(const std::string& text) {
    std::array<std::uint8_t, 16> a{};
    if (inet_pton(AF_INET6, text.c_str(), a.data()) != 1) return Ipv6Kind::Other;
    const auto zeroUpTo = [&a](std::size_t n) {
        return std::all_of(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(n),
                           [](std::uint8_t b) { return b == 0; });
    };
    if (zeroUpTo(16)) return Ipv6Kind::Unspecified;
    if (zeroUpTo(15) && a[15] == 1) return Ipv6Kind::Loopback;
    if (zeroUpTo(10) && a[10] == 0xff && a[11] == 0xff) return Ipv6Kind::Ipv4Mapped;
    if (a[0] == 0xff) return Ipv6Kind::Multicast;
    if (a[0] == 0xfe && (a[1] & 0xc0) == 0x80) return Ipv6Kind::LinkLocal;
    if ((a[0] & 0xfe) == 0xfc) return Ipv6Kind::UniqueLocal;
    if ((a[0] == 0x20 && a[1] == 0x01 && a[2] == 0x0d && a[3] == 0xb8) ||
        (a[0] == 0x3f && a[1] == 0xff && (a[2] & 0xf0) == 0))
        return Ipv6Kind::Documentation;
    if ((a[0] & 0xe0) == 0x20) return Ipv6Kind::Global;
    return Ipv6Kind::Other;
}

std::vector<std::string> reachableIpv6(const std::vector<Ipv6Entry>& entries) {
    std::vector<std::string> stable, temporary;
    for (const Ipv6Entry& e : entries) {
        if (e.unusable || classifyIpv6(e.text) != Ipv6Kind::Global) continue;
        auto& into = e.temporary ? temporary : stable;
        if (std::find(into.begin(), into.end(), e.text) == into.end()) into.push_back(e.text);
    }
    return stable.empty() ? temporary : stable;
}

namespace {

// Qt's own "temporary" means any finite lifetime, which every address learned from a router
// advertisement has; only the kernel's flags tell a privacy address from a stable one, and a
// tentative or failed duplicate check from an address in use. Linux lists them here; elsewhere
// the map stays empty and Qt's deprecation alone decides.
QHash<QByteArray, unsigned> kernelIpv6Flags() {
    QHash<QByteArray, unsigned> flags;
    QFile f(QStringLiteral("/proc/thread-self/net/if_inet6"));
    if (!f.open(QIODevice::ReadOnly)) return flags;
    for (const QByteArray& line : f.readAll().split('\n')) {
        const QList<QByteArray> cols = line.simplified().split(' ');
        if (cols.size() >= 5) flags.insert(cols[0], cols[4].toUInt(nullptr, 16));
    }
    return flags;
}

constexpr unsigned kTemporary = 0x01, kDadFailed = 0x08, kDeprecated = 0x20, kTentative = 0x40;

} // namespace

QStringList globalIpv6Addresses() {
    const QHash<QByteArray, unsigned> kernel = kernelIpv6Flags();
    std::vector<Ipv6Entry> entries;
    const auto wanted = QNetworkInterface::IsUp | QNetworkInterface::IsRunning;
    for (const QNetworkInterface& nic : QNetworkInterface::allInterfaces()) {
        if ((nic.flags() & wanted) != wanted || nic.flags().testFlag(QNetworkInterface::IsLoopBack)) continue;
        for (const QNetworkAddressEntry& e : nic.addressEntries()) {
            if (e.ip().protocol() != QAbstractSocket::IPv6Protocol) continue;
            QHostAddress ip = e.ip();
            const Q_IPV6ADDR bytes = ip.toIPv6Address();
            const unsigned f = kernel.value(QByteArray(reinterpret_cast<const char*>(bytes.c), 16).toHex());
            ip.setScopeId(QString()); // global addresses have none; the rest are dropped anyway
            entries.push_back(
                {ip.toString().toStdString(), (f & kTemporary) != 0,
                 e.preferredLifetime().hasExpired() || (f & (kDeprecated | kTentative | kDadFailed)) != 0});
        }
    }
    QStringList out;
    for (const std::string& s : reachableIpv6(entries))
        out << QString::fromStdString(s);
    return out;
}

} // namespace plimb
