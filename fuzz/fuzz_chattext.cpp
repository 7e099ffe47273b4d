// The chat's text rules on arbitrary text: what Enter sends, a relayed line and its colour, the
// colour text both ways, and the link finder. Checks, besides crashes and sanitizer reports:
//  - a request from the entry box has no terminator inside, names the sender's seat and ends in
//    the text form of the colour it was sent in;
//  - a colour's text form reads back as the same colour, and so does the text form of any
//    colour read from arbitrary text;
//  - a link found is a run of the text that starts with its prefix (in any letter case), holds
//    no line end, turns into a non-empty address, holds the character it was found at, and is
//    one of the links drawn for the text.
#include <algorithm>
#include <string>
#include <vector>

#include "core/chat/chatrules.h"
#include "core/chat/colortext.h"
#include "core/chat/rteurl.h"
#include "fuzzinput.h"
#include "core/net/protocol.h"

using namespace plimb;
using plimb::fuzz::fail;

namespace {

Colour colourFrom(fuzz::Input& in) {
    Colour c = 0;
    for (int i = 0; i < 4; ++i)
        c = c << 8 | static_cast<Colour>(in.pick(256));
    return c;
}

void checkColour(Colour c) {
    const auto back = stringToColor(colorToString(c));
    if (!back || *back != c) fail("colour text does not read back", colorToString(c));
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char a = text[i];
        if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
        if (a != prefix[i]) return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const int seat = 1 + in.pick(9);
    const Colour textColour = colourFrom(in);
    const Colour actionColour = colourFrom(in);
    checkColour(textColour);
    const std::string text(in.rest());

    const auto out = sendit(text, true, seat, textColour, actionColour);
    if (out.request) {
        const auto& r = *out.request;
        if (r.find(kTerminator) != std::string::npos) fail("terminator inside a chat request", r);
        const auto m = splitMessage(r);
        const bool action = m.name == msg::action;
        if (!action && m.name != msg::chat) fail("entry box sent something else", r);
        FieldReader reader(m.data);
        if (reader.number() != seat) fail("chat request names another seat", r);
        const std::string tail = "|" + colorToString(action ? actionColour : textColour);
        if (r.size() < tail.size() || r.compare(r.size() - tail.size(), tail.size(), tail) != 0)
            fail("chat request does not end in its colour", r);
    }
    if (sendit(text, false, seat, textColour, actionColour).request) fail("sent while not logged in");

    const auto line = chatrecieved(text);
    if (text.compare(0, line.line.size(), line.line) != 0) fail("relayed line is not the text before |");
    if (const auto c = stringToColor(text)) checkColour(*c);

    const std::vector<Link> drawn = linksIn(text);
    for (std::size_t index = 0; index < text.size(); index += 1 + text.size() / 16) {
        const auto link = linkAt(text, index);
        if (!link) continue;
        if (link->start >= link->end || link->end > text.size()) fail("link range outside the text", text);
        if (text.compare(link->start, link->end - link->start, link->text) != 0)
            fail("link text is not the range");
        if (!startsWithIgnoringCase(link->text, link->prefix))
            fail("link does not start with its prefix", link->text);
        if (link->text.find('\n') != std::string::npos) fail("link crosses a line", link->text);
        if (linkUrl(*link).empty()) fail("empty link address");
        if (index < link->start || index >= link->end) fail("link is not under the character", link->text);
        if (std::none_of(drawn.begin(), drawn.end(),
                         [&](const Link& d) { return d.start == link->start && d.end == link->end; }))
            fail("link is not one of those drawn", link->text);
    }
    return 0;
}
