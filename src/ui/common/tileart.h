#pragma once
// The game's pictures, drawn in code so they stay crisp at any device pixel ratio. Every picture
// is drawn the first time it is asked for, once per ratio, and then served from a cache that all
// TileArt objects share; nothing is drawn ahead (the board is empty when the window opens). The
// pixmaps carry their ratio, so callers paint them at logical coordinates.
#include <QFont>
#include <QPainter>
#include <QPixmap>
#include <QRectF>
#include <QSize>
#include <map>
#include <utility>

namespace plimb {

class TileArt {
public:
    static constexpr int kTileSize = 41;
    static constexpr int kTileCount = 27; // picture index = letter code 0..26
    static constexpr QSize kWordbackSize{406, 70};
    static constexpr QSize kTurnMarkerSize{23, 23};
    static constexpr QSize kEyesSize{20, 14};
    static constexpr QSize kTimerBarSize{197, 21};
    static constexpr QSize kTimerFrameSize{199, 23};

    // Capital letter and printed point value of a letter code 1..26; '\0' and 0 for any other code.
    static char letterOf(int code);
    static int pointsOf(int code);
    // The house type: the window's own typeface at a pixel size. What the window shows at start
    // keeps to kTextPx in Normal and Bold, two font engines in all (each further size or weight
    // costs a font lookup and an engine of its own); larger or smaller text on the board is
    // painted from the bold face scaled.
    static constexpr int kTextPx = 12;
    static QFont font(qreal pixelSize, int weight);
    static QFont font(int weight) { return font(kTextPx, weight); }
    // Draws `text` in `box` with the pen set, in bold at `pixelSize`: the painter scales the one
    // bold face the board already uses, so a tile's letter or a badge's digit costs no font of its own.
    static void paintBoldText(QPainter& p, const QRectF& box, qreal pixelSize, int flags,
                              const QString& text);

    // Picture 0 is a plain white square; 1..26 the wooden letter tiles. A code outside 0..26
    // yields picture 0, so a bad code never shows a wrong letter.
    QPixmap tile(int code, qreal ratio) const;
    QPixmap wordback(qreal ratio) const;
    QPixmap turnMarker(qreal ratio) const;
    QPixmap eyes(qreal ratio) const;
    QPixmap timerBar(qreal ratio) const;
    QPixmap timerFrame(qreal ratio) const;

    // How many pictures have been drawn so far, for every ratio together.
    static std::size_t drawnCount();

private:
    enum class Picture { Wordback, TurnMarker, Eyes, TimerBar, TimerFrame, TileBase };
    // (picture, ratio in 1/100) -> pixmap, in one cache for the whole program.
    static QPixmap cached(int picture, qreal ratio);
};

} // namespace plimb
