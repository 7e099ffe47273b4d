#include "core/settings/settings.h"

#include <algorithm>

#include "core/net/protocol.h"

namespace plimb {
namespace {

bool fitsIn(const WindowBounds& b, const DesktopRect& area) {
    // In 64 bits: a stored left near the largest int must not wrap round to a small right edge.
    using Wide = long long;
    return b.width > 0 && b.height > 0 && b.left >= area.x && b.top >= area.y &&
           Wide{b.left} + b.width <= Wide{area.x} + area.width &&
           Wide{b.top} + b.height <= Wide{area.y} + area.height;
}

// `start` moved as little as needed for `length` pixels from it to stay within `from`..`from +
// span`; `length` is at most `span`.
int clampInto(int start, int length, int from, int span) {
    const long long last = static_cast<long long>(from) + span - length;
    return static_cast<int>(std::clamp<long long>(start, from, last));
}

std::string readText(const IniFile& ini, std::string_view key, std::string_view fallback) {
    return ini.get(kSettingsSection, key).value_or(std::string(fallback));
}

int readInt(const IniFile& ini, std::string_view key, int fallback) {
    const auto text = ini.get(kSettingsSection, key);
    if (!text) return fallback;
    return parseInt(*text).value_or(fallback);
}

Colour readColour(const IniFile& ini, std::string_view key) {
    return stringToColor(readText(ini, key, "clblack")).value_or(clBlack);
}

std::optional<std::string> readNumberText(const IniFile& ini, std::string_view key,
                                          std::string_view fallback) {
    std::string text = readText(ini, key, fallback);
    if (!parseInt(text)) return std::nullopt;
    return text;
}

} // namespace

WindowBounds fitToDesktop(const WindowBounds& stored, const DesktopRect& available) {
    WindowBounds fitted;
    if (available.width <= 0 || available.height <= 0) return fitted;
    if (fitsIn(stored, available)) return stored;
    fitted.width = std::min(fitted.width, available.width);
    fitted.height = std::min(fitted.height, available.height);
    fitted.left = clampInto(fitted.left, fitted.width, available.x, available.width);
    fitted.top = clampInto(fitted.top, fitted.height, available.y, available.height);
    return fitted;
}

LoadedSettings readSettings(const IniFile& ini) {
    LoadedSettings s;
    s.bounds = {readInt(ini, "Left", 3), readInt(ini, "Top", 3), readInt(ini, "Width", 734),
                readInt(ini, "Height", 540)};
    s.turnSound = readText(ini, "Turnsound", "0") == "1" ? 1 : 0;
    s.textSize = readInt(ini, "Textsize", 8);
    s.textColour = readColour(ini, "Textcolor");
    s.actionColour = readColour(ini, "Actioncolor");
    for (std::size_t n = 0; n < s.phrases.size(); ++n) {
        std::string phrase = readText(ini, "Phrase" + std::to_string(n + 1), "");
        if (!phrase.empty()) s.phrases[n] = std::move(phrase);
    }
    // Exact comparisons: only the very texts the program writes switch something off or on.
    s.playSounds = readText(ini, "Playsounds", "true") != "false";
    s.playToScore = readNumberText(ini, "Playtoscore", "200");
    s.creationTime = readNumberText(ini, "Creationtime", "30");
    s.steals = readNumberText(ini, "Steals", "5");
    s.unlimited = readText(ini, "Unlimited", "f") == "t";
    s.chatterSounds = readText(ini, "ChatterSounds", "true") != "false";
    return s;
}

void writeSettings(IniFile& ini, const SavedSettings& s) {
    const auto put = [&ini](std::string_view key, const std::string& value) {
        ini.set(kSettingsSection, key, value);
    };
    put("Textsize", std::to_string(s.textSize));
    put("Textcolor", colorToString(s.textColour));
    put("Actioncolor", colorToString(s.actionColour));
    put("Playtoscore", s.playToScore);
    put("Creationtime", s.creationTime);
    put("Steals", s.steals);
    put("Top", std::to_string(s.bounds.top));
    put("Left", std::to_string(s.bounds.left));
    put("Width", std::to_string(s.bounds.width));
    put("Height", std::to_string(s.bounds.height));
    put("Turnsound", s.turnSound == 1 ? "1" : "0");
    put("Unlimited", s.unlimited ? "t" : "f");
    put("Playsounds", s.playSounds ? "true" : "false");
    put("ChatterSounds", s.chatterSounds ? "true" : "false");
}

void writePhrases(IniFile& ini, const std::array<std::string, 9>& phrases) {
    for (std::size_t n = 0; n < phrases.size(); ++n)
        ini.set(kSettingsSection, "Phrase" + std::to_string(n + 1), phrases[n]);
}

bool readKeepRecords(const IniFile& ini) {
    return readText(ini, "KeepRecords", "true") != "false";
}

void writeKeepRecords(IniFile& ini, bool on) {
    ini.set(kSettingsSection, "KeepRecords", on ? "true" : "false");
}

} // namespace plimb
