#include "core/client/moveintent.h"

namespace plimb {

std::optional<MoveIntent> dropIntent(SlotFamily family, int slot, DropTarget target) {
    if (target.bin) {
        if (family == SlotFamily::Extra) return MoveIntent{MoveIntentKind::ThrowAway, slot};
        if (family == SlotFamily::MyLetter) return MoveIntent{MoveIntentKind::Remove, slot};
        return std::nullopt;
    }
    if (target.board == 0 || (family == SlotFamily::MyLetter && target.board == slot)) return std::nullopt;
    switch (family) {
    case SlotFamily::Extra:
        return MoveIntent{MoveIntentKind::Place, slot, target.board};
    case SlotFamily::MyLetter:
        return MoveIntent{MoveIntentKind::Swap, slot, target.board};
    case SlotFamily::HisLetter:
        return MoveIntent{MoveIntentKind::Steal, slot, target.board};
    }
    return std::nullopt;
}

} // namespace plimb
