#pragma once
// TickList: a list whose items carry tick boxes, usable without a mouse. Space ticks the current
// item, and to assistive technology each item is a checkable list item whose toggle action ticks
// or unticks it (the stock item-view cells only select on toggle). A change of tick emits
// itemChanged, whichever way it was made.
#include <QListWidget>

namespace plimb {

class TickList : public QListWidget {
    Q_OBJECT
public:
    explicit TickList(QWidget* parent = nullptr);

    // Adds an item with a tick box, without emitting itemChanged.
    QListWidgetItem* addTickItem(const QString& text, bool ticked);
    // Sets an item's tick without emitting itemChanged.
    void setTickQuietly(QListWidgetItem* item, bool ticked);
    // Removes every item without emitting itemChanged.
    void clearQuietly();
};

} // namespace plimb
