#pragma once
// The command line that starts a hosting or a joining copy of this program, as the File menu's
// Host and Join dialogs build it: the player's name, the host's address, then "true" to host
// here or "join" to join that host. Start-up reads the same three positions back, so a copy
// started from the window behaves exactly like one started by hand.
#include <string>
#include <string_view>
#include <vector>

namespace plimb {

enum class GameRole { Host, Join };

// What a hosting copy is given as the host's address: its own client always connects over the
// loopback address, so the value only fills the position.
inline constexpr std::string_view kHostingAddress = "127.0.0.1";

struct LaunchArgs {
    std::vector<std::string> args; // the parameters after the program's name; empty when refused
    std::string error;             // why the entry was refused, in words for the player
    bool ok() const { return error.empty(); }
};

// Builds the command line from what the player typed (UTF-8). Blanks and tabs around either
// field are dropped; blanks inside a name are kept, as is every other printable character
// ("+" included). Refused with a readable message: an empty name or host, control characters
// (a line break would end the login message early), blanks inside the host's address, and a
// name or host that would be read as an option (readAsOption). `host` is not looked at when
// hosting.
LaunchArgs buildLaunchArgs(GameRole role, std::string_view name, std::string_view host);

// Whether a parameter of this program's command line would be taken as an option instead of
// reaching start-up as a position. The toolkit reads every parameter that begins with "-" as one
// of its own options wherever it stands ("-platform" takes the next parameter with it, and an
// unknown platform aborts the start), and there is no marker that ends its options.
bool readAsOption(std::string_view parameter);

// `text` without the blanks and tabs at its ends.
std::string_view trimBlanks(std::string_view text);

} // namespace plimb
