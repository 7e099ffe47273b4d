#pragma once
// How the client reads the text of a notice. We send UTF-8 (it never contains the 0xFF
// terminator); a peer may send the single-byte text of older programs. Text that is valid UTF-8
// is read as UTF-8, anything else as Windows-1252, so both show their letters.
//
// Whatever a peer sends is then made safe to show: control characters (C0, DEL, C1), the line
// and paragraph separators and the bidirectional controls become blanks, so that a name or a
// chat text can neither break a transcript line in two nor reorder it to pass for one of the
// program's own system lines.
#include <string>
#include <string_view>

namespace plimb {

bool isValidUtf8(std::string_view bytes);
// The received bytes as UTF-8 text, decoded as above and with every unsafe character a blank. The
// five bytes that Windows-1252 leaves unassigned become U+FFFD.
std::string receivedText(std::string_view bytes);

} // namespace plimb
