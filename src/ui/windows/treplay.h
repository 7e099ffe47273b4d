#pragma once
// A kept game played again, in a window of its own: the board panel as the window showed it,
// the chat beside it, and the controls of a player: a turn back and forward, play and pause at
// 1x or 4x, and a slider to any moment. The keys: Left and Right a turn, P play or pause,
// Home and End the start and the end, Escape closes; on the slider, Up and Down move one notice
// and Page Up and Page Down ten. A screen reader hears the opponent's moves as a step plays them,
// and where the game stands after a jump.
#include <QTimer>
#include <QWidget>

#include "core/records/replay.h"

class QComboBox;
class QLabel;
class QPushButton;
class QSlider;

namespace plimb {

class GamePanel;
class TranscriptView;

class Treplay : public QWidget {
    Q_OBJECT
public:
    // A top-level window over `parent`, deleted when closed.
    Treplay(GameRecord record, const QString& title, QWidget* parent);

    const ReplayModel& replay() const { return replay_; }
    QSlider* slider() const { return slider_; }
    QPushButton* playButton() const { return play_; }
    GamePanel* panel() const { return panel_; }
    bool playing() const { return timer_.isActive(); }

    void stepBack();
    void stepForward();
    void togglePlay();
    void seek(std::size_t moment);

private:
    void playOne();
    void schedule();
    // Draws the moment; `played` plays the changes of the way there, as a step forward does.
    void showMoment(bool played);
    int speed() const;

    ReplayModel replay_;
    GamePanel* panel_ = nullptr;
    TranscriptView* chat_ = nullptr;
    QSlider* slider_ = nullptr;
    QPushButton* back_ = nullptr;
    QPushButton* play_ = nullptr;
    QPushButton* forward_ = nullptr;
    QComboBox* speed_ = nullptr;
    QLabel* where_ = nullptr;
    QTimer timer_; // one notice on, only while playing
    std::size_t chatShown_ = 0;
};

} // namespace plimb
