#include "rules/computerkind.h"

#include <algorithm>

namespace plimb {

std::string_view formatComputerKind(ComputerKind kind) {
    return kind == ComputerKind::Strong ? "strong" : "classic";
}

ComputerKind parseComputerKind(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return ComputerKind::Classic;
    text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    constexpr std::string_view strong = "strong";
    const bool isStrong =
        std::equal(text.begin(), text.end(), strong.begin(), strong.end(), [](char a, char b) {
            return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
        });
    return isStrong ? ComputerKind::Strong : ComputerKind::Classic;
}

} // namespace plimb
