#include "ui/common/tileart.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "core/net/board.h"

namespace plimb {
namespace {

constexpr std::array<int, 27> kPoints{0, 1, 3, 3,  1, 1, 5, 3, 3, 1, 5,  5, 1, 3,
                                      1, 1, 3, 10, 1, 1, 1, 1, 7, 5, 10, 3, 10};

// A tiny deterministic generator so the wood grain differs from tile to tile but never from run
// to run.
class Grain {
public:
    explicit Grain(std::uint32_t seed) : state_(seed * 2654435761u + 1u) {}
    double next() {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<double>(state_ >> 8) / static_cast<double>(1u << 24);
    }

private:
    std::uint32_t state_;
};

QPixmap blankPixmap(QSize logical, qreal ratio) {
    QPixmap pm(QSize(qCeil(logical.width() * ratio), qCeil(logical.height() * ratio)));
    pm.setDevicePixelRatio(ratio);
    pm.fill(Qt::transparent);
    return pm;
}

// Fine wavy lines along the length of a piece of wood, clipped by the caller. The waves are long
// (50 to 150 pixels), so a point every few pixels draws them as smoothly as every pixel would, at
// a fraction of the stroking work.
void paintGrain(QPainter& p, const QRectF& area, std::uint32_t seed, const QColor& ink, int lines,
                qreal step) {
    Grain g(seed);
    p.save();
    for (int i = 0; i < lines; ++i) {
        const double y0 = area.top() + area.height() * g.next();
        const double amp = 0.6 + 1.8 * g.next();
        const double wave = 0.04 + 0.08 * g.next();
        const double phase = 6.28 * g.next();
        QColor c = ink;
        c.setAlphaF(ink.alphaF() * (0.35 + 0.65 * g.next()));
        QPainterPath path;
        path.moveTo(area.left(), y0 + amp * std::sin(phase));
        for (double x = area.left() + step; x <= area.right() + step; x += step)
            path.lineTo(x, y0 + amp * std::sin(phase + wave * (x - area.left())));
        p.setPen(QPen(c, 0.5 + 0.6 * g.next()));
        p.drawPath(path);
    }
    p.restore();
}

void drawWhiteSquare(QPainter& p) {
    p.fillRect(QRectF(0, 0, TileArt::kTileSize, TileArt::kTileSize), Qt::white);
}

void drawLetterTile(QPainter& p, int code) {
    const qreal s = TileArt::kTileSize;
    const QRectF body(0.5, 0.5, s - 3.0, s - 3.0);
    const qreal radius = 4.5;

    // Soft shadow falling to the lower right, built from a few widening translucent outlines.
    p.setPen(Qt::NoPen);
    for (int i = 3; i >= 1; --i) {
        p.setBrush(QColor(40, 22, 8, 34 + 12 * (3 - i)));
        p.drawRoundedRect(body.translated(1.2, 1.6).adjusted(-0.4 * i, -0.4 * i, 0.4 * i, 0.4 * i),
                          radius + 0.5 * i, radius + 0.5 * i);
    }

    QPainterPath shape;
    shape.addRoundedRect(body, radius, radius);
    QLinearGradient wood(body.topLeft(), body.bottomRight());
    wood.setColorAt(0.0, QColor(0xF6, 0xDF, 0xAE));
    wood.setColorAt(0.55, QColor(0xE8, 0xC0, 0x7D));
    wood.setColorAt(1.0, QColor(0xD2, 0x9E, 0x5A));
    p.fillPath(shape, wood);

    p.save();
    p.setClipPath(shape);
    paintGrain(p, body, static_cast<std::uint32_t>(code), QColor(150, 95, 40, 70), 9, 3.0);
    p.restore();

    // Bevel: light catches the upper left edges, the lower right falls into shade.
    const QRectF inner = body.adjusted(1.2, 1.2, -1.2, -1.2);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 250, 235, 170), 1.2));
    QPainterPath lit;
    lit.moveTo(inner.left(), inner.bottom() - radius);
    lit.lineTo(inner.left(), inner.top() + radius);
    lit.quadTo(inner.topLeft(), QPointF(inner.left() + radius, inner.top()));
    lit.lineTo(inner.right() - radius, inner.top());
    p.drawPath(lit);
    p.setPen(QPen(QColor(120, 70, 25, 150), 1.2));
    QPainterPath shade;
    shade.moveTo(inner.right(), inner.top() + radius);
    shade.lineTo(inner.right(), inner.bottom() - radius);
    shade.quadTo(inner.bottomRight(), QPointF(inner.right() - radius, inner.bottom()));
    shade.lineTo(inner.left() + radius, inner.bottom());
    p.drawPath(shade);
    p.setPen(QPen(QColor(110, 66, 28, 200), 0.8));
    p.drawPath(shape);

    // The letter, pressed slightly into the wood: a light edge under dark ink.
    const QString letter(QChar(TileArt::letterOf(code)));
    const QRectF letterBox(body.left(), body.top() - 1.5, body.width() - 4.0, body.height());
    p.setPen(QColor(255, 244, 220, 160));
    TileArt::paintBoldText(p, letterBox.translated(0.6, 0.8), 22, Qt::AlignCenter, letter);
    p.setPen(QColor(0x3A, 0x22, 0x10));
    TileArt::paintBoldText(p, letterBox, 22, Qt::AlignCenter, letter);

    const QString points = QString::number(TileArt::pointsOf(code));
    p.setPen(QColor(0x4A, 0x2E, 0x16));
    TileArt::paintBoldText(p, QRectF(body.left(), body.top(), body.width() - 3.0, body.height() - 1.5), 8.5,
                           Qt::AlignRight | Qt::AlignBottom, points);
}

void drawWordback(QPainter& p) {
    const QRectF r(0.5, 0.5, TileArt::kWordbackSize.width() - 1.0, TileArt::kWordbackSize.height() - 1.0);
    QPainterPath frame;
    frame.addRoundedRect(r, 8, 8);
    QLinearGradient walnut(r.topLeft(), r.bottomLeft());
    walnut.setColorAt(0.0, QColor(0x7A, 0x4B, 0x2A));
    walnut.setColorAt(0.4, QColor(0x5E, 0x37, 0x1D));
    walnut.setColorAt(1.0, QColor(0x43, 0x26, 0x13));
    p.fillPath(frame, walnut);
    p.save();
    // A rectangle inside the rounded corners clips the grain as well as the frame's path would,
    // without rasterising that path into a mask first.
    p.setClipRect(r.adjusted(4, 2, -4, -2));
    paintGrain(p, r, 4242u, QColor(25, 12, 4, 70), 16, 6.0);
    p.restore();

    // The groove the tiles stand in; the name strip stays above it.
    const QRectF groove(3.0, 24.0, r.width() - 5.0, 44.0);
    QPainterPath channel;
    channel.addRoundedRect(groove, 5, 5);
    QLinearGradient well(groove.topLeft(), groove.bottomLeft());
    well.setColorAt(0.0, QColor(0x24, 0x13, 0x08));
    well.setColorAt(0.25, QColor(0x3A, 0x21, 0x10));
    well.setColorAt(1.0, QColor(0x4B, 0x2B, 0x15));
    p.fillPath(channel, well);
    p.setPen(QPen(QColor(255, 220, 170, 55), 1.0));
    p.drawLine(QPointF(groove.left() + 5, groove.bottom() + 0.5),
               QPointF(groove.right() - 5, groove.bottom() + 0.5));

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 214, 160, 80), 1.0));
    p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 7, 7);
    p.setPen(QPen(QColor(20, 10, 3, 200), 1.0));
    p.drawPath(frame);
}

void drawTurnMarker(QPainter& p) {
    const QRectF r(2.0, 2.5, 18.0, 18.0);
    QRadialGradient glow(r.center(), 10.0);
    glow.setColorAt(0.0, QColor(255, 236, 140, 255));
    glow.setColorAt(0.7, QColor(246, 176, 38, 255));
    glow.setColorAt(1.0, QColor(196, 112, 10, 255));
    p.setPen(QPen(QColor(90, 48, 6), 1.0));
    p.setBrush(glow);
    p.drawEllipse(r);
    p.setPen(QPen(QColor(255, 255, 255, 150), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawArc(r.adjusted(2.5, 2.5, -2.5, -2.5), 40 * 16, 120 * 16);
    QPainterPath arrow;
    arrow.moveTo(8.5, 7.0);
    arrow.lineTo(15.5, 11.5);
    arrow.lineTo(8.5, 16.0);
    arrow.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x5A, 0x2E, 0x05));
    p.drawPath(arrow);
}

void drawEyes(QPainter& p) {
    for (const qreal cx : {5.5, 14.5}) {
        const QRectF eye(cx - 4.8, 1.5, 9.6, 11.0);
        p.setPen(QPen(QColor(30, 30, 40), 1.0));
        QRadialGradient white(eye.center() + QPointF(-1, -1.5), 6);
        white.setColorAt(0.0, Qt::white);
        white.setColorAt(1.0, QColor(210, 214, 224));
        p.setBrush(white);
        p.drawEllipse(eye);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 60, 110));
        p.drawEllipse(QPointF(cx + 1.3, 8.0), 2.7, 3.0);
        p.setBrush(QColor(10, 10, 14));
        p.drawEllipse(QPointF(cx + 1.5, 8.2), 1.4, 1.6);
        p.setBrush(QColor(255, 255, 255, 220));
        p.drawEllipse(QPointF(cx + 0.6, 6.8), 0.7, 0.7);
    }
}

// Red at the left, green at the right: as the bar shrinks from the right, the colour that is left
// warns that time is running out.
void drawTimerBar(QPainter& p) {
    const QRectF r(0, 0, TileArt::kTimerBarSize.width(), TileArt::kTimerBarSize.height());
    QLinearGradient hue(r.topLeft(), r.topRight());
    hue.setColorAt(0.0, QColor(0xD8, 0x35, 0x2A));
    hue.setColorAt(0.3, QColor(0xF0, 0x9A, 0x20));
    hue.setColorAt(0.6, QColor(0xE4, 0xD0, 0x32));
    hue.setColorAt(1.0, QColor(0x4C, 0xB8, 0x48));
    p.fillRect(r, hue);
    QLinearGradient gloss(r.topLeft(), r.bottomLeft());
    gloss.setColorAt(0.0, QColor(255, 255, 255, 150));
    gloss.setColorAt(0.45, QColor(255, 255, 255, 30));
    gloss.setColorAt(0.55, QColor(0, 0, 0, 0));
    gloss.setColorAt(1.0, QColor(0, 0, 0, 60));
    p.fillRect(r, gloss);
    p.setPen(QPen(QColor(0, 0, 0, 40), 1.0));
    for (qreal x = 10.5; x < r.width(); x += 10.0)
        p.drawLine(QPointF(x, 2), QPointF(x, r.height() - 2));
}

void drawTimerFrame(QPainter& p) {
    const QRectF r(0.5, 0.5, TileArt::kTimerFrameSize.width() - 1.0, TileArt::kTimerFrameSize.height() - 1.0);
    QLinearGradient trough(r.topLeft(), r.bottomLeft());
    trough.setColorAt(0.0, QColor(0x10, 0x1C, 0x16));
    trough.setColorAt(1.0, QColor(0x23, 0x33, 0x2B));
    p.setPen(QPen(QColor(0xC9, 0xA4, 0x62), 1.0));
    p.setBrush(trough);
    p.drawRoundedRect(r, 3, 3);
}

} // namespace

QFont TileArt::font(qreal pixelSize, int weight) {
    // The window's own typeface: at its own size and weight it is the very font the menus and the
    // chat entry use, so no other face is looked up for them.
    QFont f = QGuiApplication::font();
    f.setPixelSize(std::max(1, qRound(pixelSize)));
    f.setWeight(static_cast<QFont::Weight>(weight));
    return f;
}

void TileArt::paintBoldText(QPainter& p, const QRectF& box, qreal pixelSize, int flags, const QString& text) {
    const qreal k = pixelSize / kTextPx;
    p.save();
    p.scale(k, k);
    p.setFont(font(QFont::Bold));
    p.drawText(QRectF(box.topLeft() / k, box.size() / k), flags, text);
    p.restore();
}

char TileArt::letterOf(int code) {
    return upperLetter(code);
}

int TileArt::pointsOf(int code) {
    return code >= 1 && code <= 26 ? kPoints[static_cast<std::size_t>(code)] : 0;
}

QPixmap TileArt::tile(int code, qreal ratio) const {
    if (code < 0 || code >= kTileCount) code = 0;
    return cached(static_cast<int>(Picture::TileBase) + code, ratio);
}
QPixmap TileArt::wordback(qreal ratio) const {
    return cached(static_cast<int>(Picture::Wordback), ratio);
}
QPixmap TileArt::turnMarker(qreal ratio) const {
    return cached(static_cast<int>(Picture::TurnMarker), ratio);
}
QPixmap TileArt::eyes(qreal ratio) const {
    return cached(static_cast<int>(Picture::Eyes), ratio);
}
QPixmap TileArt::timerBar(qreal ratio) const {
    return cached(static_cast<int>(Picture::TimerBar), ratio);
}
QPixmap TileArt::timerFrame(qreal ratio) const {
    return cached(static_cast<int>(Picture::TimerFrame), ratio);
}

namespace {
// One cache for the whole program: the about box's logo is the window icon's tile, and every
// window that shows a picture gets the one drawn first.
std::map<std::pair<int, int>, QPixmap>& pictureCache() {
    static std::map<std::pair<int, int>, QPixmap> cache;
    return cache;
}
} // namespace

std::size_t TileArt::drawnCount() {
    return pictureCache().size();
}

QPixmap TileArt::cached(int picture, qreal ratio) {
    auto& cache = pictureCache();
    // A nonsense ratio from a misconfigured screen must not ask for a gigantic pixmap.
    if (!(ratio >= 0.5)) ratio = 1.0;
    ratio = std::min(ratio, 8.0);
    const auto key = std::make_pair(picture, qRound(ratio * 100));
    if (const auto it = cache.find(key); it != cache.end()) return it->second;

    QSize size(kTileSize, kTileSize);
    switch (static_cast<Picture>(std::min(picture, static_cast<int>(Picture::TileBase)))) {
    case Picture::Wordback:
        size = kWordbackSize;
        break;
    case Picture::TurnMarker:
        size = kTurnMarkerSize;
        break;
    case Picture::Eyes:
        size = kEyesSize;
        break;
    case Picture::TimerBar:
        size = kTimerBarSize;
        break;
    case Picture::TimerFrame:
        size = kTimerFrameSize;
        break;
    case Picture::TileBase:
        break;
    }
    QPixmap pm = blankPixmap(size, ratio);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    switch (static_cast<Picture>(std::min(picture, static_cast<int>(Picture::TileBase)))) {
    case Picture::Wordback:
        drawWordback(p);
        break;
    case Picture::TurnMarker:
        drawTurnMarker(p);
        break;
    case Picture::Eyes:
        drawEyes(p);
        break;
    case Picture::TimerBar:
        drawTimerBar(p);
        break;
    case Picture::TimerFrame:
        drawTimerFrame(p);
        break;
    case Picture::TileBase: {
        const int code = picture - static_cast<int>(Picture::TileBase);
        if (code == 0)
            drawWhiteSquare(p);
        else
            drawLetterTile(p, code);
        break;
    }
    }
    p.end();
    return cache.emplace(key, pm).first->second;
}

} // namespace plimb
