#pragma once
// Field checks shared by the notice handlers: the server only ever sends well-formed notices, so
// anything else is dropped whole rather than half applied. The ranges are the table's
// (core/net/board.h).
#include <optional>
#include <string_view>
#include <vector>

#include "core/net/board.h"
#include "core/net/protocol.h"

namespace plimb::notice {

// The notice handlers read their fields with the catalogue's numbers<N> (net/protocol.h).
using plimb::numbers;

// Every remaining field as a number, for the notices made of repeated groups. The empty field
// that a trailing "+" leaves is allowed at the very end; any other field must be decimal.
inline std::optional<std::vector<int>> allNumbers(std::string_view data) {
    std::vector<int> out;
    if (data.empty()) return out;
    FieldReader reader(data);
    while (true) {
        const bool last = reader.rest().find('+') == std::string_view::npos;
        const auto field = reader.text();
        if (last && field.empty()) break;
        const auto n = parseInt(field);
        if (!n) return std::nullopt;
        out.push_back(*n);
        if (last) break;
    }
    return out;
}

} // namespace plimb::notice
