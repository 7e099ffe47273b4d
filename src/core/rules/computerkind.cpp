#include "core/rules/computerkind.h"
#include "core/net/board.h"

#include <algorithm>

namespace plimb {

namespace {

struct Names {
    ComputerKind kind;
    std::string_view text;
    std::string_view title;
};

constexpr std::array<Names, 5> kNames = {{{ComputerKind::Beginner, "beginner", "Beginner"},
                                          {ComputerKind::Easy, "easy", "Easy"},
                                          {ComputerKind::Classic, "classic", "Classic"},
                                          {ComputerKind::Hard, "hard", "Hard"},
                                          {ComputerKind::Strong, "strong", "Strong"}}};

const Names& namesOf(ComputerKind kind) {
    const auto it =
        std::find_if(kNames.begin(), kNames.end(), [kind](const Names& n) { return n.kind == kind; });
    return it != kNames.end() ? *it : kNames[2];
}

} // namespace

std::string_view formatComputerKind(ComputerKind kind) {
    return namesOf(kind).text;
}

std::string_view computerKindTitle(ComputerKind kind) {
    return namesOf(kind).title;
}

std::string computerName(ComputerKind kind) {
    if (kind == ComputerKind::Classic) return std::string(kComputerName);
    return std::string(kComputerName) + " (" + std::string(computerKindTitle(kind)) + ")";
}

ComputerKind parseComputerKind(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return ComputerKind::Classic;
    text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    for (const Names& n : kNames) {
        const bool same =
            std::equal(text.begin(), text.end(), n.text.begin(), n.text.end(), [](char a, char b) {
                return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
            });
        if (same) return n.kind;
    }
    return ComputerKind::Classic;
}

} // namespace plimb
