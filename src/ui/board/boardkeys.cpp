#include "ui/board/boardkeys.h"

#include <QKeyEvent>
#include <algorithm>
#include <climits>
#include <cstdlib>

#include "ui/board/boarddrag.h"

#include "core/net/board.h"

namespace plimb {

BoardKeys::BoardKeys(const BoardSlots& tiles, std::function<BoardSelection()> selection, BoardDrag* drag,
                     QObject* parent)
    : QObject(parent), tiles_(tiles), selection_(std::move(selection)), drag_(drag) {
    for (SlotFamily family : BoardSlots::kRows)
        for (SlotWidget* slot : tiles_.row(family)) {
            slot->setFocusPolicy(Qt::NoFocus);
            slot->installEventFilter(this);
            connect(slot, &SlotWidget::focused, this, [this, slot] { setCurrent(slot, false); });
        }
    setCurrent(tiles_.extra[1], false);
}

void BoardKeys::placeInTabOrderAfter(QWidget* previous) {
    // The slots follow `previous` in one run, and only the focus slot is a tab stop, so Tab
    // enters the board once and leaves it with the next Tab.
    std::vector<SlotWidget*> order;
    for (SlotFamily family : BoardSlots::kRows)
        for (SlotWidget* slot : tiles_.row(family))
            order.push_back(slot);
    for (SlotWidget* slot : order)
        slot->setFocusPolicy(Qt::TabFocus); // the tab order leaves out widgets that take no focus
    QWidget* before = previous;
    for (SlotWidget* slot : order) {
        QWidget::setTabOrder(before, slot);
        before = slot;
    }
    for (SlotWidget* slot : order)
        if (slot != current_) slot->setFocusPolicy(Qt::NoFocus);
}

void BoardKeys::setCurrent(SlotWidget* slot, bool giveFocus) {
    SlotWidget* old = current_;
    current_ = slot;
    slot->setFocusPolicy(Qt::TabFocus);
    if (giveFocus && !slot->hasFocus()) slot->setFocus(Qt::OtherFocusReason);
    if (old != nullptr && old != slot) old->setFocusPolicy(Qt::NoFocus);
}

bool BoardKeys::eventFilter(QObject* watched, QEvent* event) {
    // While the board has the keyboard, the focus follows the mouse's clicks on it.
    if (event->type() == QEvent::MouseButtonPress && current_ != nullptr && current_->hasFocus())
        setCurrent(static_cast<SlotWidget*>(watched), true);
    return false;
}

bool BoardKeys::keyPress(QKeyEvent* event) {
    if (current_ == nullptr || !current_->hasFocus()) return false;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
        moveFocus(event->key());
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        current_->act(MouseButton::Left);
        return true;
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        current_->act(MouseButton::Right);
        return true;
    case Qt::Key_Escape:
        if (drag_->dragging())
            drag_->cancel();
        else if (selection_().any())
            emit intentRequested({MoveIntentKind::Cancel});
        else
            return false;
        return true;
    default:
        break;
    }
    const QString text = event->text();
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    const char c = text.size() == 1 ? text[0].toLatin1() : '\0';
    if (!plain || letterCode(c) == 0) return false;
    pickLetter(letterCode(c));
    return true;
}

void BoardKeys::moveFocus(int key) {
    const std::vector<SlotWidget*> row = tiles_.row(current_->family());
    const int index = current_->number() - 1;
    SlotWidget* next = current_;
    switch (key) {
    case Qt::Key_Left:
        next = row[static_cast<std::size_t>(std::max(index - 1, 0))];
        break;
    case Qt::Key_Right:
        next = row[static_cast<std::size_t>(std::min(index + 1, static_cast<int>(row.size()) - 1))];
        break;
    case Qt::Key_Home:
        next = row.front();
        break;
    case Qt::Key_End:
        next = row.back();
        break;
    default: {
        // Up and Down go to the slot of the next row that stands nearest above or below.
        const auto& rows = BoardSlots::kRows;
        const int at =
            static_cast<int>(std::find(rows.begin(), rows.end(), current_->family()) - rows.begin());
        const int to = at + (key == Qt::Key_Up ? -1 : 1);
        if (to < 0 || to > 2) break;
        const int x = current_->geometry().center().x();
        int best = INT_MAX;
        for (SlotWidget* slot : tiles_.row(rows[static_cast<std::size_t>(to)])) {
            const int distance = std::abs(slot->geometry().center().x() - x);
            if (distance < best) best = distance, next = slot;
        }
    }
    }
    setCurrent(next, true);
}

void BoardKeys::pickLetter(int code) {
    // On the own board a letter picks a board tile; anywhere else, a hand tile.
    const bool onBoard = current_->family() == SlotFamily::MyLetter;
    const std::vector<SlotWidget*> row = tiles_.row(onBoard ? SlotFamily::MyLetter : SlotFamily::Extra);
    const auto tile =
        std::find_if(row.begin(), row.end(), [code](SlotWidget* s) { return s->shownCode() == code; });
    if (tile == row.end()) return;
    setCurrent(*tile, true);
    emit intentRequested({onBoard ? MoveIntentKind::PickBoard : MoveIntentKind::PickHand, (*tile)->number()});
}

} // namespace plimb
