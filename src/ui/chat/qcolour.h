#pragma once
// Colours cross between the core's 0x00BBGGRR values and Qt here, in one place for the chat.
#include "core/chat/colortext.h"

#include <QColor>

namespace plimb {

inline QColor toQColor(Colour c) {
    return QColor(redOf(c), greenOf(c), blueOf(c));
}

inline Colour fromQColor(const QColor& c) {
    return static_cast<Colour>(c.red()) | (static_cast<Colour>(c.green()) << 8) |
           (static_cast<Colour>(c.blue()) << 16);
}

} // namespace plimb
