#pragma once
// What the chat entry box sends on Enter, and how a transcript line splits into its bold head and
// the rest. Texts are UTF-8.
#include "core/chat/colortext.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace plimb {

// The entry box's initial text; the first key-down removes it.
inline constexpr std::string_view kChatPrompt = "<Enter Chat Here>";

struct SendOutcome {
    // The request to write on the game connection (without its terminator); nullopt: send nothing.
    std::optional<std::string> request;
    // Whether the entry box is emptied afterwards.
    bool clearEntry = false;
};

// Enter in the entry box. Not logged in: nothing happens and the text stays for a later try.
// Empty text: nothing is sent. Text starting with "/me": an action with the first four characters
// (the command and the one after it) dropped, in the action colour. Any other "/" command is
// dropped silently. Everything else is a chat line in the text colour. Bytes 0xFF are removed from
// the text, since they would end the message early on the wire, and a text longer than the server
// relays (kMaxChatBytes with its colour) is cut to fit.
SendOutcome sendit(std::string_view entry, bool loggedIn, int mySeat, Colour textColour, Colour actionColour);

// A phrase button's text as the action it sends: "/me " at its start is dropped and the rest is
// sent as it stands; any other phrase is sent as "says: " and the phrase.
std::string phraseRequest(std::string_view phrase, int mySeat, Colour actionColour);

// The transcript shows at most this many characters of one line, and keeps this many lines.
// 4000 characters are some fifty lines of the chat box, more than anybody types; laying out a
// peer's 60 KB line every time it arrives is what kept a host busy. 3000 lines are an evening of
// chat and lay out in a blink when the window is resized.
inline constexpr std::size_t kMaxShownLineChars = 4000;
inline constexpr int kMaxTranscriptLines = 3000;

// The line as the transcript shows it: cut after kMaxShownLineChars characters (never inside a
// UTF-8 character), with an ellipsis to show that it was cut.
std::string shownLine(std::string_view line);

// A line about this window's own player, as this window shows it. A player who has not given a
// name is "You", and the lines built from a name read "You has started a game."; here the verb
// after "You" agrees ("You have started a game.", "You say: ...", "You wave"). Every other line,
// and every line when the name is another, is returned as it stands.
std::string ownLine(std::string_view line, std::string_view myName);

struct LineParts {
    std::string head; // up to and including the first ":"; empty when there is none
    std::string rest; // everything after that ":" (the whole line when there is none)
};
LineParts splitHead(std::string_view line);

} // namespace plimb
