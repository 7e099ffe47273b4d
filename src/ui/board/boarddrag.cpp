#include "ui/board/boarddrag.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

namespace plimb {

// The tile that follows the pointer while it is dragged.
class CarriedTile : public QWidget {
public:
    CarriedTile(const TileArt* art, QWidget* parent) : QWidget(parent), art_(art) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        resize(TileArt::kTileSize + 4, TileArt::kTileSize + 4);
        hide();
    }
    void carry(int code) {
        code_ = code;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 80));
        p.drawRoundedRect(QRectF(3, 4, TileArt::kTileSize - 2, TileArt::kTileSize - 2), 6, 6);
        p.setOpacity(0.92);
        p.drawPixmap(0, 0, art_->tile(code_, devicePixelRatioF()));
    }

private:
    const TileArt* art_;
    int code_ = 0;
};

BoardDrag::BoardDrag(const BoardSlots& tiles, std::function<BoardSelection()> selection, const TileArt* art,
                     QWidget* board)
    : QObject(board), tiles_(tiles), selection_(std::move(selection)), board_(board) {
    carried_ = new CarriedTile(art, board);
    for (SlotFamily family : BoardSlots::kRows)
        for (SlotWidget* slot : tiles_.row(family))
            slot->installEventFilter(this);
}

bool BoardDrag::eventFilter(QObject* watched, QEvent* event) {
    auto* slot = static_cast<SlotWidget*>(watched);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() == Qt::LeftButton) {
            pressed_ = slot;
            pressAt_ = slot->mapToParent(e->position().toPoint());
        }
        break;
    }
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (slot != pressed_ || !(e->buttons() & Qt::LeftButton)) break;
        const QPoint at = slot->mapToParent(e->position().toPoint());
        if (!dragging_) {
            if ((at - pressAt_).manhattanLength() < QApplication::startDragDistance() || !canDrag(slot))
                break;
            dragging_ = true;
            slot->setDragSource(true);
            carried_->carry(slot->shownCode());
            carried_->raise();
            carried_->show();
        }
        dragTo(at);
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() != Qt::LeftButton || slot != pressed_) break;
        if (!dragging_) {
            pressed_ = nullptr;
            break;
        }
        const Drop target = dropAt(slot, slot->mapToParent(e->position().toPoint()));
        cancel();
        drop(slot, target);
        // The slot still sees its release: a tile dropped back on its own slot was a plain click.
        break;
    }
    default:
        break;
    }
    return false;
}

bool BoardDrag::canDrag(const SlotWidget* source) const {
    if (source->shownCode() == 0) return false;
    // The press on a board tile was a click: it picked the tile, or, with another tile picked,
    // it already made a move, and then there is nothing left to drag.
    return source->family() != SlotFamily::MyLetter || selection_().board == source->number();
}

BoardDrag::Drop BoardDrag::dropAt(const SlotWidget* source, QPoint at) const {
    for (SlotWidget* slot : tiles_.row(SlotFamily::MyLetter))
        if (slot->geometry().contains(at)) return slot == source ? Drop{} : Drop{DropKind::Board, slot};
    if (source->family() != SlotFamily::HisLetter && kTrashArea.contains(at))
        return {DropKind::Trash, nullptr};
    return {};
}

void BoardDrag::dragTo(QPoint at) {
    // The tile stays under the pointer where it was taken hold of.
    carried_->move(at - (pressAt_ - pressed_->pos()));
    showDrop(dropAt(pressed_, at));
}

void BoardDrag::showDrop(const Drop& drop) {
    if (shown_.slot != drop.slot) {
        if (shown_.slot != nullptr) shown_.slot->setDropTarget(false);
        if (drop.slot != nullptr) drop.slot->setDropTarget(true);
    }
    const bool wasLit = overTrash();
    shown_ = drop;
    if (wasLit != overTrash()) board_->update(kTrashArea);
}

void BoardDrag::cancel() {
    if (pressed_ != nullptr) pressed_->setDragSource(false);
    pressed_ = nullptr;
    dragging_ = false;
    carried_->hide();
    showDrop({});
}

void BoardDrag::drop(const SlotWidget* source, const Drop& target) {
    if (target.kind == DropKind::None) return;
    const DropTarget at{target.kind == DropKind::Trash, target.slot != nullptr ? target.slot->number() : 0};
    if (const auto intent = dropIntent(source->family(), source->number(), at)) emit intentRequested(*intent);
}

} // namespace plimb
