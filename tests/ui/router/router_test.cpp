// PortMapper against a real router: Debian's miniupnpd in a network namespace of its own, joined
// to the test's namespace by a veth pair as a home router is joined to the computer by the LAN.
#include "core/net/protocol.h"
#include "support/qtapp.h"
#include "ui/router/netns.h"
#include "ui/router/portmapper.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>

using plimb::PortMapper;
using plimb::test::OwnNetwork;

namespace {

const int kPatience = static_cast<int>(plimb::test::kPatience.count());
// miniupnpd forwards nothing behind a reserved address, so the router's outside veth carries a
// routable-looking one; both its ends stay in the router's namespace: nothing is sent towards it.
const QString kOutside = QStringLiteral("100.128.0.5");

// The router: a shell in a new namespace that waits for its end of the LAN veth, makes the
// chains miniupnpd fills and becomes miniupnpd (or, as a gateway that drops NAT-PMP and answers
// nothing, waits, or becomes the scripted gateway that misbehaves in the `way` named). All rows
// that run miniupnpd enable NAT-PMP, whose listener opens last.
class Router {
public:
    Router(bool upnp, bool natpmp, const char* leases, const char* way = nullptr) {
        const QString script =
            QStringLiteral(
                "echo inside; read go; set -e; d=%6; ip link set lo up; ip link set vr up;"
                "ip addr add 192.168.77.1/24 dev vr; ip link add wan0 type veth peer name wan1;"
                "ip addr add %1/24 dev wan0; ip link set wan0 up; ip link set wan1 up;"
                "nft 'table inet filter { chain miniupnpd {}; chain prerouting_miniupnpd {};"
                " chain postrouting_miniupnpd {}; chain input { type filter hook input priority 0;"
                " udp dport 5351 drop; }; }';"
                "[ -z '%7' ] || { ip addr add 192.168.77.9/24 dev vr; exec python3 %8 %7; };"
                "[ %4 = 1 ] || { echo ready; read stop; exit; }; nft flush chain inet filter input;"
                "printf '%5' > $d/leases; printf 'ext_ifname=wan0\\nlistening_ip=vr\\nhttp_port=5000\\n"
                "enable_upnp=%2\\nenable_natpmp=%3\\nsecure_mode=no\\nlease_file=%s/leases\\n"
                "uuid=3dd4a2c4-4c4e-4b5e-9f1d-7a6b5c4d3e2f\\nallow 1024-65535 192.168.77.0/24 1024-65535\\n'"
                " $d > $d/conf; exec miniupnpd -d -f $d/conf -P $d/pid")
                .arg(kOutside, upnp ? "yes" : "no", natpmp ? "yes" : "no", upnp || natpmp ? "1" : "0", leases,
                     dir_.path(), way ? way : "", PLIMB_SOURCE_DIR "/tests/ui/router/gateway.py");
        proc_.setProcessChannelMode(QProcess::MergedChannels);
        proc_.start(QStringLiteral("unshare"), {"-n", "sh", "-c", script});
        // Only once the shell runs is it in the namespace that the veth end must go to.
        ok_ = proc_.waitForStarted(kPatience) && awaitLog("inside") &&
              plimb::test::OwnNetwork::sh(
                  "ip link add vl type veth peer name vr netns " + std::to_string(proc_.processId()) +
                  " && ip addr add 192.168.77.2/24 dev vl && ip link set vl up && ip route add default via "
                  "192.168.77.1") &&
              proc_.write("go\n") > 0 && awaitLog(natpmp && !way ? "Listening for NAT-PMP" : "ready");
    }
    ~Router() {
        proc_.kill();
        proc_.waitForFinished(kPatience);
    }
    bool ok() const { return ok_; }
    QString log() const { return log_; }
    // The next time the router logs `text`, after all it logged so far.
    bool awaitLog(const QString& text) {
        for (;;) {
            log_ += QString::fromLocal8Bit(proc_.readAll()); // what the event loop read already
            if (const auto at = log_.indexOf(text, from_); at >= 0) {
                from_ = at + text.size();
                return true;
            }
            if (!proc_.waitForReadyRead(kPatience)) return false;
        }
    }
    // What the router's address translation forwards, as "outside port -> inside address:port".
    QString forwards() {
        QProcess nft;
        nft.start("sh", {"-c", QStringLiteral(
                                   "nsenter -t %1 -n nft list chain inet filter prerouting_miniupnpd | sed"
                                   " -n 's/.*dport \\([0-9]*\\) .*dnat ip to \\([0-9.:]*\\).*/\\1"
                                   " -> \\2/p' | sort | paste -sd,")
                                   .arg(proc_.processId())});
        nft.waitForFinished(kPatience);
        return QString::fromLocal8Bit(nft.readAllStandardOutput()).trimmed();
    }

private:
    QTemporaryDir dir_;
    QProcess proc_;
    QString log_;
    qsizetype from_ = 0;
    bool ok_ = false;
};

TEST(PortMapper, AgainstARouterInItsOwnNamespace) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root for network namespaces";
    plimb::test::ensureApplication();
    const struct Row {
        const char* name;
        bool upnp, natpmp, taken; // taken: the router already forwards 7772 to 192.168.77.3
        const char* outcome;      // "<outside address> by <how>", or part of the reason it failed
    } rows[] = {
        {"UPnP and NAT-PMP", true, true, false, "100.128.0.5 by UPnP"},
        {"NAT-PMP only", false, true, false, "100.128.0.5 by NAT-PMP"},
        {"UPnP, port taken", true, true, true,
         "already forwards TCP port 7772 to another computer (192.168.77.3)"},
        {"NAT-PMP, port taken", false, true, true, "instead of TCP port 7772"},
        {"silent gateway", false, false, false, "No router answered the request to open TCP port 7772"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        OwnNetwork lan;
        ASSERT_TRUE(lan.ok());
        const QString theirs = row.taken ? "7772 -> 192.168.77.3:7772" : "";
        Router router(row.upnp, row.natpmp, row.taken ? "TCP:7772:192.168.77.3:7772:0:another game\\n" : "");
        if (!router.ok()) GTEST_SKIP() << "miniupnpd cannot run here: " << router.log().toStdString();
        PortMapper mapper;
        QSignalSpy mapped(&mapper, &PortMapper::mapped), failed(&mapper, &PortMapper::failed),
            unmapped(&mapper, &PortMapper::unmapped);
        mapper.start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !mapped.isEmpty() || !failed.isEmpty(); }, kPatience));
        const bool ours = !mapped.isEmpty();
        const QString got =
            ours ? mapped[0][0].toString() + " by " + mapped[0][1].toString() : failed[0][0].toString();
        EXPECT_TRUE(got.contains(row.outcome)) << got.toStdString();
        EXPECT_EQ(router.forwards(), ours ? "7772 -> 192.168.77.2:7772" : theirs);
        mapper.unmap();
        ASSERT_TRUE(unmapped.wait(kPatience));
        // Only our own mapping goes; another computer's stays.
        EXPECT_EQ(router.forwards(), theirs);
        if (!row.upnp || !ours) continue;
        // Closed while it still discovers: it abandons the work and leaves nothing behind.
        ASSERT_TRUE(router.awaitLog("#DeletePortMapping")); // the next discovery is the new mapper's
        auto closing = std::make_unique<PortMapper>();
        closing->start();
        ASSERT_TRUE(router.awaitLog("SSDP M-SEARCH from 192.168.77.2"));
        closing.reset();
        EXPECT_EQ(router.forwards(), "");
    }
}

// A gateway that talks slowly, without end or of things it has no say in is given up on in the
// usual time, costs no memory and leaves the game's own port alone.
TEST(PortMapper, BelievesAGatewayOnlySoFar) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root for network namespaces";
    plimb::test::ensureApplication();
    const auto peakKilobytes = [] {
        rusage u{};
        return getrusage(RUSAGE_SELF, &u) == 0 ? u.ru_maxrss : 0L;
    };
    for (const std::string way :
         {"trickle", "silent", "huge", "stranger", "loopback", "gameport", "markup"}) {
        SCOPED_TRACE(way);
        OwnNetwork lan;
        ASSERT_TRUE(lan.ok());
        Router router(false, false, "", way.c_str());
        if (!router.ok())
            GTEST_SKIP() << "the scripted gateway cannot run here: " << router.log().toStdString();
        QTcpServer seat; // this computer's game port, which router requests must never reach
        ASSERT_TRUE(seat.listen(QHostAddress::LocalHost, plimb::kGamePort));
        const long peak = peakKilobytes();
        auto mapper = std::make_unique<PortMapper>();
        QSignalSpy failed(mapper.get(), &PortMapper::failed),
            unknown(mapper.get(), &PortMapper::externalAddressUnknown);
        way == "markup" ? mapper->probeExternalAddress() : mapper->start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !failed.isEmpty() || !unknown.isEmpty(); }, kPatience));
        EXPECT_EQ((failed.isEmpty() ? unknown : failed)[0][0].toString(),
                  way == "markup"
                      ? "The router answered the request for its outside address without a usable "
                        "outside address"
                      : "No router answered the request to open TCP port 7772");
        EXPECT_LT(peakKilobytes() - peak, 64 * 1024);
        EXPECT_FALSE(seat.waitForNewConnection(0));
        if (way != "trickle") continue;
        // Closed while the description still trickles in: it goes at once, the gateway talking on.
        mapper->start();
        ASSERT_TRUE(router.awaitLog("M-SEARCH from 192.168.77.2"));
        mapper.reset();
    }
}

TEST(PortMapper, WithNoNetworkFailsInTimeAndUnmapsHarmlessly) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root for a network namespace";
    plimb::test::ensureApplication();
    OwnNetwork nowhere;
    ASSERT_TRUE(nowhere.ok());
    PortMapper mapper;
    QSignalSpy failed(&mapper, &PortMapper::failed), unmapped(&mapper, &PortMapper::unmapped),
        unknown(&mapper, &PortMapper::externalAddressUnknown);
    mapper.start();
    ASSERT_TRUE(failed.wait(kPatience));
    EXPECT_EQ(plimb::notMappedChatText(failed[0][0].toString()),
              "No router answered the request to open TCP port 7772: players outside your network can join "
              "only if you forward that port to this computer on your router by hand.");
    mapper.probeExternalAddress();
    ASSERT_TRUE(unknown.wait(kPatience));
    mapper.unmap();
    mapper.unmap();
    while (unmapped.size() < 2)
        ASSERT_TRUE(unmapped.wait(kPatience));
}

} // namespace
