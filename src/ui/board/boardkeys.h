#pragma once
// The board played by keys. One slot holds the keyboard (the focus slot, the board's one tab
// stop); the arrows walk its row, Up and Down go to the nearest slot of the next row, Home and End
// to the ends. Enter or Space clicks the slot, Delete or Backspace right-clicks it, a typed letter
// picks the tile that shows it (on the own board a board tile, anywhere else a hand tile), Escape
// drops the pick or puts a carried tile back.
#include <QObject>
#include <functional>

#include "ui/board/slotwidget.h"
#include "core/client/moveintent.h"

class QKeyEvent;

namespace plimb {

class BoardDrag;

class BoardKeys : public QObject {
    Q_OBJECT
public:
    BoardKeys(const BoardSlots& tiles, std::function<BoardSelection()> selection, BoardDrag* drag,
              QObject* parent);

    SlotWidget* focusSlot() const { return current_; }
    // Tab from `previous` enters the board on its focus slot, Shift+Tab leaves it back there.
    void placeInTabOrderAfter(QWidget* previous);
    // A key the board's focus slot was given; false when the board has no use for it.
    bool keyPress(QKeyEvent* event);

signals:
    void intentRequested(const plimb::MoveIntent& intent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setCurrent(SlotWidget* slot, bool giveFocus);
    void moveFocus(int key);
    void pickLetter(int code);

    const BoardSlots& tiles_;
    std::function<BoardSelection()> selection_;
    BoardDrag* drag_;
    SlotWidget* current_ = nullptr;
};

} // namespace plimb
