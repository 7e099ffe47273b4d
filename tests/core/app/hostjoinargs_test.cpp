#include "core/app/hostjoinargs.h"

#include <gtest/gtest.h>

namespace plimb {
namespace {

using Args = std::vector<std::string>;

struct Row {
    const char* what;
    GameRole role;
    std::string name;
    std::string host;
    Args expected; // empty: refused
    const char* errorMentions = "";
};

TEST(BuildLaunchArgs, BuildsTheStartUpCommandLineOrRefusesWithAReason) {
    const Row rows[] = {
        {"host: the address position is the loopback address",
         GameRole::Host,
         "Ann",
         "10.0.0.5",
         {"Ann", "127.0.0.1", "true"}},
        {"host: no address is needed", GameRole::Host, "Ann", "", {"Ann", "127.0.0.1", "true"}},
        {"join: the word join, never true", GameRole::Join, "Bob", "192.0.2.7", {"Bob", "192.0.2.7", "join"}},
        {"blanks inside a name stay, one parameter",
         GameRole::Join,
         "Ann Marie Lee",
         "host.lan",
         {"Ann Marie Lee", "host.lan", "join"}},
        {"a plus sign is an ordinary character", GameRole::Host, "A+B", "", {"A+B", "127.0.0.1", "true"}},
        {"blanks and tabs around both fields go",
         GameRole::Join,
         " \tZoe \t",
         "  box-2.lan ",
         {"Zoe", "box-2.lan", "join"}},
        {"a name that is the word true is still a name", GameRole::Join, "true", "h", {"true", "h", "join"}},
        {"UTF-8 names pass", GameRole::Host, "Zo\xc3\xab", "", {"Zo\xc3\xab", "127.0.0.1", "true"}},
        {"empty name", GameRole::Host, "", "", {}, "your name"},
        {"a name of blanks is empty", GameRole::Join, "   ", "host", {}, "your name"},
        {"empty host when joining", GameRole::Join, "Bob", "", {}, "address"},
        {"a host of blanks is empty", GameRole::Join, "Bob", " \t ", {}, "address"},
        {"blanks inside the host", GameRole::Join, "Bob", "my host", {}, "blanks"},
        {"a line break in the name", GameRole::Host, "Bob\nEve", "", {}, "line breaks"},
        {"the message terminator in the name", GameRole::Host, "Bob\xff", "", {}, "control"},
        {"a tab inside the host", GameRole::Join, "Bob", "a\tb", {}, "blanks"},
        {"the name is checked before the host", GameRole::Join, "", "", {}, "your name"},
        {"a name read as an option", GameRole::Host, " -platform", "", {}, "A name may not begin"},
        {"a dash inside a name is fine", GameRole::Host, "Ann-Lee-", "", {"Ann-Lee-", "127.0.0.1", "true"}},
        {"a host read as an option", GameRole::Join, "Bob", "--reverse", {}, "address may not begin with"},
        // What the start-up would refuse is refused here, before anything restarts or is saved.
        {"a port beyond the last", GameRole::Join, "Bob", "10.77.0.10:99999", {}, "\"99999\" is not a port"},
        {"an address with a scope", GameRole::Join, "Bob", "fe80::1%vj", {}, "may not contain"},
        {"a port the start-up takes", GameRole::Join, "Bob", "10.77.0.10:7000", {"Bob", "10.77.0.10:7000", "join"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const LaunchArgs got = buildLaunchArgs(row.role, row.name, row.host);
        EXPECT_EQ(got.args, row.expected);
        EXPECT_EQ(got.ok(), !row.expected.empty());
        if (row.expected.empty()) {
            EXPECT_NE(got.error.find(row.errorMentions), std::string::npos) << got.error;
        }
    }
}

} // namespace
} // namespace plimb
