#pragma once
// Carrying a tile with the mouse. A left press on a slot that moves far enough picks the tile up;
// it follows the pointer, the slot it would land on lights, and the drop asks the model for the
// move it makes: a hand tile placed, a board tile swapped, the opponent's tile stolen, a hand or
// board tile dropped on the bin thrown away or removed. A drop anywhere else does nothing.
#include <QObject>
#include <QPoint>
#include <QRect>
#include <functional>

#include "ui/board/slotwidget.h"
#include "core/client/moveintent.h"

namespace plimb {

class CarriedTile;

class BoardDrag : public QObject {
    Q_OBJECT
public:
    // Beside the hand: a hand or board tile dropped here is thrown away or removed.
    static constexpr QRect kTrashArea{400, 168, 46, 44};

    // `board` is the panel the slots stand on; the carried tile is drawn on it.
    BoardDrag(const BoardSlots& tiles, std::function<BoardSelection()> selection, const TileArt* art,
              QWidget* board);

    bool dragging() const { return dragging_; }
    // Puts the tile back where it was taken from, with no move.
    void cancel();
    // Whether the bin is lit, as it is while a tile is carried over it.
    bool overTrash() const { return shown_.kind == DropKind::Trash; }

signals:
    void intentRequested(const plimb::MoveIntent& intent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class DropKind { None, Board, Trash };
    struct Drop {
        DropKind kind = DropKind::None;
        SlotWidget* slot = nullptr;
    };
    bool canDrag(const SlotWidget* source) const;
    Drop dropAt(const SlotWidget* source, QPoint at) const;
    void dragTo(QPoint at);
    void showDrop(const Drop& drop);
    void drop(const SlotWidget* source, const Drop& target);

    const BoardSlots& tiles_;
    std::function<BoardSelection()> selection_;
    QWidget* board_;
    CarriedTile* carried_ = nullptr;
    SlotWidget* pressed_ = nullptr;
    QPoint pressAt_; // in the board's coordinates
    bool dragging_ = false;
    Drop shown_;
};

} // namespace plimb
