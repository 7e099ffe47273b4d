#include "ui/board/slotwidget.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QVariantAnimation>
#include <cmath>

#include "ui/board/boardparts.h"

#include "core/net/board.h"
#include "ui/board/slotgeometry.h"

namespace plimb {
namespace {

QString slotPlace(SlotFamily family) {
    switch (family) {
    case SlotFamily::MyLetter:
        return QStringLiteral("Your board");
    case SlotFamily::HisLetter:
        return QStringLiteral("Opponent's board");
    case SlotFamily::Extra:
        return QStringLiteral("Your hand");
    }
    return {};
}

QString slotObjectName(SlotFamily family, int n) {
    switch (family) {
    case SlotFamily::MyLetter:
        return QStringLiteral("myletter%1").arg(n);
    case SlotFamily::HisLetter:
        return QStringLiteral("hisletter%1").arg(n);
    case SlotFamily::Extra:
        return QStringLiteral("extra%1").arg(n);
    }
    return {};
}

MouseButton toMouseButton(Qt::MouseButton button) {
    if (button == Qt::LeftButton) return MouseButton::Left;
    if (button == Qt::RightButton) return MouseButton::Right;
    return MouseButton::Other;
}

} // namespace

SlotWidget::SlotWidget(SlotFamily family, int number, const TileArt* art, QWidget* parent)
    : QWidget(parent), family_(family), number_(number), art_(art) {
    setObjectName(slotObjectName(family, number));
    resize(TileArt::kTileSize, TileArt::kTileSize);
    setCursor(Qt::PointingHandCursor);
    updateAccessibleName();
}

void SlotWidget::display(const SlotView& view) {
    const bool changed = view.drawn != drawn_ || view.code != code_;
    drawn_ = view.drawn;
    code_ = view.code;
    const QPoint at = slotPosition(family_, number_, view.raised);
    if (pos() != at) move(at);
    if (changed) {
        updateAccessibleName();
        update();
    }
}

void SlotWidget::updateAccessibleName() {
    const int shown = shownCode();
    const QString what = shown == 0 ? QStringLiteral("empty") : QString(QChar(TileArt::letterOf(shown)));
    setName(this, QStringLiteral("%1 %2: %3").arg(slotPlace(family_)).arg(number_).arg(what));
}

void SlotWidget::act(MouseButton button) {
    if (family_ != SlotFamily::HisLetter)
        emit pressed(button);
    else if (button == MouseButton::Left)
        emit clicked();
}

void SlotWidget::setDropTarget(bool on) {
    if (dropTarget_ == on) return;
    dropTarget_ = on;
    update();
}

void SlotWidget::setDragSource(bool on) {
    if (dragSource_ == on) return;
    dragSource_ = on;
    update();
}

void SlotWidget::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
    emit focused();
}

void SlotWidget::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void SlotWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) leftArmed_ = true;
    emit pressed(toMouseButton(event->button()));
    event->accept();
}

void SlotWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const bool armed = leftArmed_;
    leftArmed_ = false;
    if (armed && rect().contains(event->position().toPoint())) emit clicked();
    event->accept();
}

void SlotWidget::feedback(SlotChangeKind kind, int code) {
    if (!animation_) {
        animation_ = new QVariantAnimation(this);
        animation_->setStartValue(0.0);
        animation_->setEndValue(1.0);
        animation_->setDuration(kFeedbackMs);
        animation_->setEasingCurve(QEasingCurve::OutCubic);
        connect(animation_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
            progress_ = value.toReal();
            update();
        });
        connect(animation_, &QVariantAnimation::finished, this, [this] {
            progress_ = 1.0;
            ghostCode_ = 0;
            arriving_ = glowing_ = false;
            update();
        });
    }
    switch (kind) {
    case SlotChangeKind::Arrived:
        arriving_ = true;
        break;
    case SlotChangeKind::Left:
        ghostCode_ = code;
        break;
    case SlotChangeKind::Scored:
        glowing_ = true;
        break;
    }
    progress_ = 0.0;
    animation_->stop();
    animation_->start();
    update();
}

void SlotWidget::paintEvent(QPaintEvent*) {
    const int shown = shownCode();
    const bool focusRing = hasFocus();
    if (shown == 0 && ghostCode_ == 0 && !dropTarget_ && !focusRing) return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal ratio = devicePixelRatioF();
    const qreal t = progress_;
    const QRectF frame = QRectF(rect()).adjusted(1.0, 1.0, -3.0, -3.0);
    if (ghostCode_ != 0 && t < 1.0) {
        // The tile that left lingers as a fading, shrinking ghost.
        p.setOpacity(0.8 * (1.0 - t));
        const qreal inset = 4.0 * t;
        const QPixmap ghost = art_->tile(ghostCode_, ratio);
        p.drawPixmap(QRectF(inset, inset, width() - 2 * inset, height() - 2 * inset), ghost,
                     QRectF(ghost.rect()));
        p.setOpacity(1.0);
    }
    if (shown != 0) {
        // A tile being dragged away stays faintly in place until it is dropped.
        qreal opacity = dragSource_ ? 0.35 : 1.0;
        if (arriving_ && t < 1.0) opacity *= 0.25 + 0.75 * t;
        p.setOpacity(opacity);
        p.drawPixmap(0, 0, art_->tile(shown, ratio));
        p.setOpacity(1.0);
        if (arriving_ && t < 1.0) {
            p.setPen(QPen(QColor(255, 236, 150, static_cast<int>(230 * (1.0 - t))), 2.5));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(frame, 5, 5);
        }
        if (glowing_ && t < 1.0) {
            const int alpha = static_cast<int>(150 * std::sin(3.14159265 * t));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 214, 90, alpha));
            p.drawRoundedRect(frame, 5, 5);
        }
    }
    if (dropTarget_) {
        p.setPen(QPen(QColor(0x8C, 0xF5, 0xA8), 2.5));
        p.setBrush(QColor(0x8C, 0xF5, 0xA8, 70));
        p.drawRoundedRect(frame, 5, 5);
    }
    if (focusRing) {
        // Dark under light, so the ring shows on the felt, the board and a tile alike.
        const QRectF ring = QRectF(rect()).adjusted(1.5, 1.5, -2.5, -2.5);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(0x10, 0x20, 0x18), 4.0));
        p.drawRoundedRect(ring, 6, 6);
        p.setPen(QPen(QColor(0xFF, 0xF4, 0xB0), 2.0));
        p.drawRoundedRect(ring, 6, 6);
    }
}

// ---------------------------------------------------------------------------------------------
SlotWidget* BoardSlots::at(SlotFamily family, int n) const {
    switch (family) {
    case SlotFamily::MyLetter:
        return isBoardSlot(n) ? myletter[static_cast<std::size_t>(n)] : nullptr;
    case SlotFamily::HisLetter:
        return isBoardSlot(n) ? hisletter[static_cast<std::size_t>(n)] : nullptr;
    case SlotFamily::Extra:
        return isHandSlot(n) ? extra[static_cast<std::size_t>(n)] : nullptr;
    }
    return nullptr;
}

std::vector<SlotWidget*> BoardSlots::row(SlotFamily family) const {
    std::vector<SlotWidget*> out;
    for (int n = 1; SlotWidget* slot = at(family, n); ++n)
        out.push_back(slot);
    return out;
}

} // namespace plimb
