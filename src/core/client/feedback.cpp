#include "core/client/feedback.h"

#include <string>

namespace plimb {
namespace {

int shown(const SlotView& slot) {
    return slot.drawn && slot.code >= 1 && slot.code <= 26 ? slot.code : 0;
}

template <std::size_t N>
void compare(SlotFamily family, const std::array<int, N>& before, const std::array<int, N>& after,
             std::vector<SlotChange>& out) {
    for (std::size_t n = 1; n < N; ++n) {
        if (before[n] == after[n]) continue;
        if (before[n] != 0) out.push_back({family, static_cast<int>(n), SlotChangeKind::Left, before[n]});
        if (after[n] != 0) out.push_back({family, static_cast<int>(n), SlotChangeKind::Arrived, after[n]});
    }
}

} // namespace

ShownSlots shownSlots(const ViewState& view) {
    ShownSlots s;
    for (int n = 1; n <= kBoardSlots; ++n) {
        s.myletter[n] = shown(view.myletter[n]);
        s.hisletter[n] = shown(view.hisletter[n]);
        if (n <= kHandSlots) s.extra[n] = shown(view.extra[n]);
    }
    return s;
}

void appendChanges(const ShownSlots& before, const ShownSlots& after, std::vector<SlotChange>& out) {
    compare(SlotFamily::MyLetter, before.myletter, after.myletter, out);
    compare(SlotFamily::HisLetter, before.hisletter, after.hisletter, out);
    compare(SlotFamily::Extra, before.extra, after.extra, out);
}

std::vector<int> wordSlots(const BoardView& board, std::string_view word) {
    std::string text;
    for (int n = 1; n <= kBoardSlots; ++n) {
        const int code = shown(board[n]);
        text += lowerLetter(code, ' ');
    }
    std::vector<int> slots;
    const auto at = word.empty() ? std::string::npos : text.find(word);
    if (at == std::string::npos) return slots;
    for (std::size_t i = 0; i < word.size(); ++i)
        slots.push_back(static_cast<int>(at + i) + 1);
    return slots;
}

} // namespace plimb
