#pragma once
// The board panel as assistive technology meets it: slots are buttons whose actions are the
// clicks, pictures are graphics, and the news of each turn is said through a notification.
#include <QWidget>
#include <vector>

#include "core/client/feedback.h"
#include "core/client/turnnews.h"
#include "core/client/viewstate.h"

class QTimer;

namespace plimb {

// Makes the board's widgets known to the accessibility tree; once per program is enough, more is
// harmless.
void installBoardAccessibility();

// Says short texts to assistive technology (the opponent's move, a scored word, the winner): an
// invisible notification whose name is the latest text, shown anew for each one.
class Announcer : public QWidget {
    Q_OBJECT
public:
    // News of a turn is gathered until the notices pause this long, then said at once.
    static constexpr int kQuietMs = 250;

    explicit Announcer(QWidget* parent);
    void announce(const QString& text);

    // The view as the panel shows it and the changes as it plays them: what they tell of the
    // turn is said once the notices pause.
    void shown(const ViewState& view);
    void played(const Feedback& feedback);
    bool pending() const { return news_.pending(); }

private:
    void sayPending();

    TurnNews news_;
    QTimer* quiet_ = nullptr;
};

} // namespace plimb
