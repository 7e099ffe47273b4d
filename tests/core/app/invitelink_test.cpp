#include "core/app/invitelink.h"

#include <gtest/gtest.h>

namespace plimb {
namespace {

enum Form { Link, Typed };

struct ParseRow {
    Form form;
    std::vector<std::string> texts;
    HostPort address;               // {} when refused
    const char* errorMentions = ""; // "": accepted
};

TEST(InviteAddress, ReadsNamesIpv4AndIpv6WithPortsOrRefusesWithAReason) {
    const std::string label63(63, 'a');
    const std::string name253 = label63 + "." + label63 + "." + label63 + "." + std::string(61, 'b');
    const ParseRow rows[] = {
        {Link, {"plimb://game.example"}, {"game.example", kGamePort}},
        {Link, {" PLIMB://Zone-9.fizz:7000/\r\n"}, {"Zone-9.fizz", 7000}},
        {Link, {"plimb://192.0.2.7:1"}, {"192.0.2.7", 1}},
        {Link, {"plimb://255.255.255.255:65535"}, {"255.255.255.255", 65535}},
        {Link, {"plimb://[2001:db8::a]"}, {"2001:db8::a", kGamePort}},
        {Link, {"plimb://[::ffff:192.0.2.7]:7000/"}, {"::ffff:192.0.2.7", 7000}},
        {Link, {"plimb://" + name253}, {name253, kGamePort}},
        {Typed, {"host.lan"}, {"host.lan", kGamePort}},
        {Typed, {"my_pc"}, {"my_pc", kGamePort}},
        {Typed, {"192.0.2.7:7000"}, {"192.0.2.7", 7000}},
        {Typed, {"2001:DB8::AF"}, {"2001:DB8::AF", kGamePort}},
        {Typed, {"1:2:3:4:5:6:192.0.2.7"}, {"1:2:3:4:5:6:192.0.2.7", kGamePort}},
        {Typed, {"[2001:db8::1]:7000", "plimb://[2001:db8::1]:7000"}, {"2001:db8::1", 7000}},
        {Link, {"plimb://2001:db8::1"}, {}, "goes in brackets"},
        {Typed, {"1:2:3:4:5:6:7", "1:2:3:4:5:6:7:8:9", "::1:70000"}, {}, "put the address in brackets"},
        {Typed, {"[1:2:3:4::5:6:7:8]", "[1::2::3]", "[::ffff:1.2.3.a]", "[192.0.2.7]"}, {}, "not an IPv6"},
        {Typed, {"[::1"}, {}, "no closing"},
        {Typed, {"[::1]7000"}, {}, "only a \":\""},
        {Link, {"plimb://", "plimb:///", "plimb://[]:7000"}, {}, "address is missing"},
        {Typed, {":7000", " \t"}, {}, "address is missing"},
        {Link, {"plimb://host:"}, {}, "port after"},
        {Typed, {"host:0", "host:65536", "host:99999999999"}, {}, "is not a port"},
        {Link, {"plimb://ann@host"}, {}, "user name"},
        {Link, {"plimb://host/game", "plimb://host?x=1", "plimb://host#x", "plimb://host//"}, {}, "goes on"},
        {Typed, {"ho%st", "host:+7", "host:7000/", "ho]st"}, {}, "may not contain \""},
        {Typed, {"ho st"}, {}, "contain a blank"},
        {Typed, {"ho\x7fst", "h\xc3\xa9te"}, {}, "control characters or letters beyond A to Z"},
        {Link, {"http://host", "plimb:host"}, {}, "not a Plimb invitation link"},
        {Link, {"plimb://" + std::string(293, 'a')}, {}, "too long"},
        {Typed, {"-host", "host-", "a..b", label63 + "a.b", name253 + "b"}, {}, "not a computer's name"},
        {Typed, {"256.1.1.1", "1.2.3", "1.2.3.99999999999", "01.2.3.4", "1.2.3.4.5"}, {}, "not an IPv4"},
        {Link,
         {"plimb://0xa4d000a", "plimb://0x7f.1", "plimb://0X7F.0.0.1", "plimb://010.0.0.1:7000",
          "plimb://167772170", "plimb://127.1", "plimb://10.0.0.0x1"},
         {},
         "other than the one they seem to name"},
        {Typed, {"game.123", "a.b.0x1f", "my-pc.0x"}, {}, "the part after its last dot is a number"},
        {Typed, {"0xg.lan"}, {"0xg.lan", kGamePort}},
        {Typed, {"10.0.0.a1"}, {"10.0.0.a1", kGamePort}},
        {Link, {"plimb://1e5:7000"}, {"1e5", 7000}},
    };
    for (const ParseRow& row : rows) {
        for (const std::string& text : row.texts) {
            SCOPED_TRACE(text);
            const AddressParse got = row.form == Link ? parseInvitationLink(text) : parseHostAddress(text);
            EXPECT_EQ(got.address, row.address);
            EXPECT_EQ(got.ok(), *row.errorMentions == '\0') << got.error;
            EXPECT_NE(got.error.find(row.errorMentions), std::string::npos) << got.error;
            if (got.ok()) {
                EXPECT_EQ(parseInvitationLink(invitationLink(got.address.host, got.address.port)).address,
                          got.address);
            }
        }
    }
}

TEST(InviteAddress, BuildsLinksWithBracketsForIpv6AndWithoutTheGamePort) {
    EXPECT_EQ(invitationLink("game.example", kGamePort), "plimb://game.example");
    EXPECT_EQ(invitationLink("192.0.2.7", 7773), "plimb://192.0.2.7:7773");
    EXPECT_EQ(invitationLink("2001:db8::1", 7000), "plimb://[2001:db8::1]:7000");
}

TEST(PlanStartup, ChoosesSoloHostJoinOrAsksFromTheParameters) {
    using K = StartupKind;
    struct Row {
        std::vector<std::string> params;
        std::string remembered;
        StartupPlan want; // of its error, only whether there is one
    };
    const HostPort loopback{"127.0.0.1", kGamePort};
    const Row rows[] = {
        {{}, "Ann", {K::Solo, "You", loopback, {}}},
        {{"plimb://h.lan:7000"}, "Ann", {K::Join, "Ann", {"h.lan", 7000}, {}}},
        {{"Plimb://[::1]/"}, " Ann Lee ", {K::Join, "Ann Lee", {"::1", kGamePort}, {}}},
        {{"plimb://h.lan"}, " ", {K::JoinAskName, "", {"h.lan", kGamePort}, {}}},
        {{"plimb://h.lan/x"}, "Ann", {K::BadLink, {}, {}, {}}},
        {{"h.lan"}, "Ann", {K::Incomplete, {}, {}, {}}},
        {{"plimb://h.lan", "join"}, "Ann", {K::Incomplete, {}, {}, {}}},
        {{"Bob", "[::1]:7000", "no"}, "Ann", {K::Join, "Bob", {"::1", 7000}, {}}},
        {{"Bob", "10.0.0.5:7000", "true", "extra"}, "Ann", {K::Host, "Bob", loopback, {}}},
        {{"Bob", "h.lan:0", "join"}, "Ann", {K::BadLink, {}, {}, {}}},
    };
    for (const Row& row : rows) {
        const StartupPlan plan = planStartup(row.params, row.remembered);
        SCOPED_TRACE(row.params.empty() ? "no parameters" : row.params[0] + " " + row.remembered);
        EXPECT_EQ(plan.kind, row.want.kind);
        EXPECT_EQ(plan.name, row.want.name);
        EXPECT_EQ(plan.address, row.want.address);
        EXPECT_EQ(plan.error.empty(), row.want.kind != K::BadLink) << plan.error;
    }
}

} // namespace
} // namespace plimb
