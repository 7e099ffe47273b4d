// Which of this computer's IPv6 addresses the Host dialog offers to players on the internet.
#include "ui/router/addresses.h"
#include "ui/router/netns.h"

#include <gtest/gtest.h>

using namespace plimb;

namespace {

TEST(Ipv6Addresses, OnlyGlobalUsableOnesPreferringStable) {
    const struct Row {
        std::vector<Ipv6Entry> in;
        std::vector<std::string> out;
    } rows[] = {
        {{{"2a02:8108:1:2::5"}}, {"2a02:8108:1:2::5"}},
        {{{"2000::1"}}, {"2000::1"}},           // lowest of 2000::/3
        {{{"3fff:1000::1"}}, {"3fff:1000::1"}}, // just past the 3fff::/20 documentation block
        {{{"3fff:fff::1"}}, {}},                // inside it
        {{{"2001:db8::1"}}, {}},                // documentation
        {{{"2001:db9::1"}}, {"2001:db9::1"}},   // just past it
        {{{"4000::1"}}, {}},                    // above 2000::/3: not handed out
        {{{"1fff::1"}}, {}},                    // below it
        {{{"fd12:3456::1"}}, {}},               // unique local
        {{{"fe80::1"}}, {}},                    // link-local
        {{{"febf::1"}}, {}},                    // the last of fe80::/10
        {{{"::1"}}, {}},
        {{{"ff02::1"}}, {}},
        {{{"::ffff:203.0.113.5"}}, {}},
        {{{"192.0.2.1"}}, {}},            // not IPv6 at all
        {{{"2a02::5", false, true}}, {}}, // unusable
        // Stable ones first and alone; temporary ones only when nothing else is there.
        {{{"2a02::6", true}, {"2a02::5"}}, {"2a02::5"}},
        {{{"2a02::6", true}, {"2a02::5", false, true}}, {"2a02::6"}},
        {{{"2a02::5"}, {"2a02::7"}, {"2a02::5"}}, {"2a02::5", "2a02::7"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.in.front().text);
        EXPECT_EQ(reachableIpv6(r.in), r.out);
    }
}

// The interfaces' own addresses, read in a network namespace the test fills itself.
TEST(Ipv6Addresses, ReadsInterfacesThatAreUp) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root for a network namespace";
    plimb::test::OwnNetwork own;
    ASSERT_TRUE(own.ok());
    // One pair up with a stable, a unique local and a deprecated address; one pair down.
    ASSERT_TRUE(plimb::test::OwnNetwork::sh(
        "ip link add va type veth peer name vb && ip link set va up && ip link set vb up &&"
        "ip link add vc type veth peer name vd && ip addr add 2a02:8108:1:3::5/64 dev vc nodad &&"
        "ip addr add 2a02:8108:1:2::5/64 dev va nodad && ip addr add fd12::5/64 dev va nodad &&"
        "ip addr add 2a02:8108:1:2::6/64 dev va nodad preferred_lft 0"));
    EXPECT_EQ(globalIpv6Addresses(), QStringList{"2a02:8108:1:2::5"});
}

} // namespace
