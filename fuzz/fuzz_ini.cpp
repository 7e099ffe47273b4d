// The settings file editor on arbitrary file text. Checks, besides crashes and sanitizer reports:
//  - reading and writing back without a change gives the same bytes;
//  - a written key reads back as its value (line breaks become blanks, outer blanks trimmed);
//  - a write replaces at most one line, or adds the key (and its section) without touching any
//    other line;
//  - the settings read from any text write back to text that reads as the same settings.
#include <string>
#include <vector>

#include "core/settings/inifile.h"
#include "core/settings/settings.h"
#include "fuzzinput.h"

using namespace plimb;
using plimb::fuzz::fail;

namespace {

PLIMB_FUZZ_UNTRACED std::string trimmed(std::string s) {
    for (char& c : s)
        if (c == '\r' || c == '\n') c = ' ';
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

PLIMB_FUZZ_UNTRACED std::vector<std::string_view> lines(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t from = 0;
    for (std::size_t nl; (nl = text.find('\n', from)) != std::string::npos; from = nl + 1)
        out.push_back(text.substr(from, nl - from));
    out.push_back(text.substr(from));
    return out;
}

// One value replaced; or a key line added, with its section header and the line end of a last
// line that had none.
PLIMB_FUZZ_UNTRACED bool oneEntryChanged(std::string_view beforeText, std::string_view afterText) {
    const auto before = lines(beforeText), after = lines(afterText);
    const auto b = before.begin(), a = after.begin();
    std::size_t same = 0, tail = 0;
    while (same < before.size() && same < after.size() && b[same] == a[same])
        ++same;
    while (tail < before.size() - same && tail < after.size() - same &&
           b[before.size() - 1 - tail] == a[after.size() - 1 - tail])
        ++tail;
    const std::size_t removed = before.size() - same - tail, added = after.size() - same - tail;
    return removed <= 1 && added <= removed + 3;
}

PLIMB_FUZZ_UNTRACED bool sameSettings(const LoadedSettings& a, const SavedSettings& s) {
    return a.textSize == s.textSize && a.textColour == s.textColour && a.actionColour == s.actionColour &&
           a.bounds == s.bounds && a.turnSound == s.turnSound && a.unlimited == s.unlimited &&
           a.playSounds == s.playSounds && a.chatterSounds == s.chatterSounds;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const std::string key = in.bytes(12);
    const std::string value = in.bytes(40);
    const std::string text(in.rest());

    // Parsed once: the editors below start from copies, which are equal to a fresh parse of the
    // same text and cheaper than one.
    const IniFile original(text);
    if (original.text() != text) fail("reading changed the text", text);

    // Keys are names on one line without "=", "[" or a comment mark at the start.
    const bool plainKey =
        !key.empty() && key.find_first_of("=\r\n[;#") == std::string::npos && trimmed(key) == key;
    if (plainKey) {
        IniFile edited = original;
        edited.set("Plimb", key, value);
        const auto back = edited.get("Plimb", key);
        if (!back || *back != trimmed(value)) fail("a written key does not read back", key + "=" + value);
        if (!oneEntryChanged(text, edited.text())) fail("a write touched other lines", text);
    }

    const LoadedSettings loaded = readSettings(original);
    SavedSettings s;
    s.textSize = loaded.textSize;
    s.textColour = loaded.textColour;
    s.actionColour = loaded.actionColour;
    s.bounds = loaded.bounds;
    s.turnSound = loaded.turnSound;
    s.unlimited = loaded.unlimited;
    s.playSounds = loaded.playSounds;
    s.chatterSounds = loaded.chatterSounds;
    IniFile saved = original;
    writeSettings(saved, s);
    const LoadedSettings again = readSettings(IniFile(saved.text()));
    if (!sameSettings(again, s)) fail("saved settings do not read back", saved.text());
    return 0;
}
