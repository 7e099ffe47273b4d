#include "core/chat/chatrules.h"

#include <utility>

#include "core/net/protocol.h"

#include <algorithm>

namespace plimb {
namespace {

// Length in bytes of the UTF-8 character starting at `lead`; a stray byte counts as one.
std::size_t utf8Length(unsigned char lead) {
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 1;
}

// The "text|colour" of a chat or action request. Bytes 0xFF would end the message early; a text
// longer than the server relays is cut (at a character), so what is sent is what the others see.
std::string relayed(std::string_view text, Colour colour) {
    std::string out(text);
    out.erase(std::remove(out.begin(), out.end(), kTerminator), out.end());
    const std::string tail = '|' + colorToString(colour);
    out.resize(utf8Prefix(out, kMaxChatBytes - tail.size()).size());
    return out + tail;
}

} // namespace

SendOutcome sendit(std::string_view entry, bool loggedIn, int mySeat, Colour textColour,
                   Colour actionColour) {
    if (!loggedIn) return {std::nullopt, false};
    if (entry.empty()) return {std::nullopt, true};
    if (entry.front() != '/') {
        return {build::chatRequest(mySeat, relayed(entry, textColour)), true};
    }
    if (entry.substr(0, 3) != "/me") return {std::nullopt, true};
    // The command and the one character after it (normally a blank) go; "/me" alone leaves "".
    std::size_t drop = 3;
    if (entry.size() > drop) drop += utf8Length(static_cast<unsigned char>(entry[drop]));
    const auto text = entry.substr(std::min(drop, entry.size()));
    return {build::actionRequest(mySeat, relayed(text, actionColour)), true};
}

std::string phraseRequest(std::string_view phrase, int mySeat, Colour actionColour) {
    const std::string text =
        phrase.substr(0, 4) == "/me " ? std::string(phrase.substr(4)) : "says: " + std::string(phrase);
    return build::actionRequest(mySeat, relayed(text, actionColour));
}

std::string shownLine(std::string_view line) {
    std::size_t at = 0;
    for (std::size_t chars = 0; at < line.size(); ++chars) {
        if (chars == kMaxShownLineChars) return std::string(line.substr(0, at)) + "\u2026";
        at += utf8Length(static_cast<unsigned char>(line[at]));
    }
    return std::string(line);
}

namespace {

bool endsWith(std::string_view word, std::string_view tail) {
    return word.size() > tail.size() && word.substr(word.size() - tail.size()) == tail;
}

// The verb as it reads after "you": "is" is "are", "waves" is "wave", "cries" is "cry".
std::string plainVerb(std::string_view verb) {
    static constexpr std::pair<std::string_view, std::string_view> kIrregular[] = {
        {"is", "are"}, {"has", "have"}, {"was", "were"}, {"does", "do"}, {"goes", "go"}};
    for (const auto& [third, plain] : kIrregular)
        if (verb == third) return std::string(plain);
    if (endsWith(verb, "ies")) return std::string(verb.substr(0, verb.size() - 3)) + "y";
    for (const std::string_view tail : {"sses", "shes", "ches", "xes", "zes"})
        if (endsWith(verb, tail)) return std::string(verb.substr(0, verb.size() - 2));
    if (endsWith(verb, "s") && !endsWith(verb, "ss") && !endsWith(verb, "us"))
        return std::string(verb.substr(0, verb.size() - 1));
    return std::string(verb);
}

} // namespace

std::string ownLine(std::string_view line, std::string_view myName) {
    constexpr std::string_view kYou = "You ";
    if (myName != kSoloName || line.substr(0, kYou.size()) != kYou) return std::string(line);
    const auto rest = line.substr(kYou.size());
    std::size_t end = 0;
    while (end < rest.size() && rest[end] >= 'a' && rest[end] <= 'z')
        ++end;
    if (end == 0) return std::string(line);
    return std::string(kYou) + plainVerb(rest.substr(0, end)) + std::string(rest.substr(end));
}

LineParts splitHead(std::string_view line) {
    const auto colon = line.find(':');
    if (colon == std::string_view::npos) return {std::string(), std::string(line)};
    return {std::string(line.substr(0, colon + 1)), std::string(line.substr(colon + 1))};
}

} // namespace plimb
