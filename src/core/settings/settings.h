#pragma once
// The user's preferences as they are kept in section "Plimb" of the settings file: what a load
// applies (with the defaults and conversion rules for missing or unreadable values) and what a
// save writes, in the order it writes them.
#include <array>
#include <optional>
#include <string>

#include "core/chat/colortext.h"
#include "core/settings/inifile.h"

namespace plimb {

inline constexpr std::string_view kSettingsFileName = "vexolobby.ini";
inline constexpr std::string_view kSettingsSection = "Plimb";

struct WindowBounds {
    int left = 3;
    int top = 3;
    int width = 734;
    int height = 540;
    friend bool operator==(const WindowBounds&, const WindowBounds&) = default;
};

// The part of the desktop that windows may cover (a screen without its panels), in pixels.
struct DesktopRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The bounds the main window opens with. Stored bounds with a positive size that lie wholly
// inside `available` are kept; any other came from a damaged file or a screen that is gone, and
// applying it could put the window out of reach or ask for a window far larger than any screen.
// Those give the defaults (left 3, top 3, 734 by 540), shrunk and moved into `available` when
// even they do not fit. An `available` without area gives the defaults.
WindowBounds fitToDesktop(const WindowBounds& stored, const DesktopRect& available);

// What the window shows that is saved together. The game options are the dialog's texts as they
// stand, since the dialog shows whatever was stored.
struct SavedSettings {
    int textSize = 8;
    Colour textColour = clBlack;
    Colour actionColour = clBlack;
    std::string playToScore = "200";
    std::string creationTime = "30";
    std::string steals = "5";
    WindowBounds bounds;
    int turnSound = 0; // 0 Classic, 1 New
    bool unlimited = false;
    bool playSounds = true;
    bool chatterSounds = true;
};

// What a load gives. A game option is present only when its stored text converts to an integer;
// otherwise the dialog keeps what it shows. A phrase is present only when stored and not empty.
struct LoadedSettings {
    WindowBounds bounds;
    int turnSound = 0;
    int textSize = 8;
    Colour textColour = clBlack;
    Colour actionColour = clBlack;
    std::array<std::optional<std::string>, 9> phrases;
    bool playSounds = true;
    std::optional<std::string> playToScore;
    std::optional<std::string> creationTime;
    std::optional<std::string> steals;
    bool unlimited = false;
    bool chatterSounds = true;
};

LoadedSettings readSettings(const IniFile& ini);
// Writes every key of SavedSettings into section "Plimb"; the phrases are not written here.
void writeSettings(IniFile& ini, const SavedSettings& s);
// Options, "Keep Game Records" (key KeepRecords): on unless the key says "false", as the sound
// switches read. Written when the item is clicked, not by writeSettings.
bool readKeepRecords(const IniFile& ini);
void writeKeepRecords(IniFile& ini, bool on);
// Writes Phrase1 to Phrase9, empty texts included.
void writePhrases(IniFile& ini, const std::array<std::string, 9>& phrases);

} // namespace plimb
