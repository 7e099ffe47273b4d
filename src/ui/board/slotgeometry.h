#pragma once
// Where the slots stand on the board panel, in its pixels: the left of each slot, and the top of
// each row with its tiles in the row or shifted out of it (the pick, a move on its way).
#include <QPoint>

#include "core/client/viewstate.h"

namespace plimb {

inline constexpr int kMyLetterTop = 115, kMyLetterSelectedTop = 119;
inline constexpr int kHisLetterTop = 32, kHisLetterSelectedTop = 36;
inline constexpr int kExtraTop = 173, kExtraSelectedTop = 167;
inline constexpr int myLetterLeft(int n) {
    return 44 + 40 * (n - 1);
}
inline constexpr int hisLetterLeft(int n) {
    return 45 + 40 * (n - 1);
}
inline constexpr int extraLeft(int n) {
    return 104 + 48 * (n - 1);
}

inline QPoint slotPosition(SlotFamily family, int n, bool raised) {
    switch (family) {
    case SlotFamily::MyLetter:
        return {myLetterLeft(n), raised ? kMyLetterSelectedTop : kMyLetterTop};
    case SlotFamily::HisLetter:
        return {hisLetterLeft(n), raised ? kHisLetterSelectedTop : kHisLetterTop};
    case SlotFamily::Extra:
        break;
    }
    return {extraLeft(n), raised ? kExtraSelectedTop : kExtraTop};
}

} // namespace plimb
