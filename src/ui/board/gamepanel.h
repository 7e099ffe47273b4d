#pragma once
// The board panel `panel_board`: both boards, the hand, the seat rows, the turn clock and the
// game-wide labels. It only shows a ViewState and hands on what the player does; what it means is
// decided by the client model. The mouse's clicks go out as the three click signals; a key, a
// drag or an accessibility action is either the same click or one of the model's move intents
// (intentRequested), so every way of playing sends the same requests and is refused the same way
// while it is not this player's move. The owner answers each signal with the model's call
// (for intentRequested: model.input().apply(intent)) and a new render().
#include <QPoint>
#include <QRect>
#include <QWidget>
#include <array>
#include <functional>
#include <vector>

#include "core/client/feedback.h"
#include "core/client/moveintent.h"
#include "core/client/viewstate.h"
#include "ui/board/boardaccess.h"
#include "ui/board/boarddrag.h"
#include "ui/board/slotgeometry.h"
#include "ui/board/slotwidget.h"
#include "ui/common/tileart.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace plimb {

class BoardKeys;
class PictureWidget;
class WinnerBanner;

class GamePanel : public QWidget {
    Q_OBJECT
public:
    static constexpr QSize kPanelSize{720, 270};
    static constexpr QRect kTrashArea = BoardDrag::kTrashArea;
    static constexpr int kAnnounceQuietMs = Announcer::kQuietMs;
    using Selection = BoardSelection;

    explicit GamePanel(QWidget* parent = nullptr);

    // Shows the view as it stands; call again after every change of the model.
    void render(const ViewState& view);
    // Plays the model's changes on their slots (after render, so arriving tiles are in place).
    void animate(const Feedback& feedback);

    SlotWidget* myletter(int n) const { return tiles_.at(SlotFamily::MyLetter, n); }
    SlotWidget* hisletter(int n) const { return tiles_.at(SlotFamily::HisLetter, n); }
    SlotWidget* extra(int n) const { return tiles_.at(SlotFamily::Extra, n); }
    const TileArt& art() const { return art_; }

    // Where the panel reads the model's picks: a drag takes only a board tile that is the pick,
    // and Escape is the board's only while there is a pick to drop.
    void setSelectionSource(std::function<Selection()> source) { selectionSource_ = std::move(source); }
    // Tab from `previous` enters the board on its focus slot, Shift+Tab leaves it back there.
    void placeInTabOrderAfter(QWidget* previous);
    // The one slot the keyboard acts on (it holds the focus while the board has it).
    SlotWidget* focusSlot() const;
    Announcer* announcer() const { return announcer_; }
    bool announcementPending() const { return announcer_->pending(); }

    QSize sizeHint() const override { return kPanelSize; }
    QSize minimumSizeHint() const override { return kPanelSize; }

signals:
    void myLetterPressed(int n, plimb::MouseButton button);
    void extraPressed(int n, plimb::MouseButton button);
    void hisLetterClicked(int n);
    void intentRequested(const plimb::MoveIntent& intent);
    void startClicked();
    // Right click (or the context-menu key) on a seat row's name; seat is the seat that row shows.
    void nameContextMenuRequested(int seat, QPoint globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct SeatRow {
        QLabel* name = nullptr;
        QLabel* score = nullptr;
        QLabel* status = nullptr;
        PictureWidget* turn = nullptr;
        PictureWidget* eyes = nullptr;
        int seat = 0; // the name label's Tag
    };

    void buildBoards();
    void buildSeatRow(int row, QPoint name, QPoint score, QRect status, QPoint turn, QPoint eyes);
    void buildClock();
    void buildSidebar();
    void showRow(int row, const SeatRowView& view, int seat);
    void showWords(const std::vector<std::string>& words);
    Selection selection() const { return selectionSource_ ? selectionSource_() : Selection{}; }

    TileArt art_;
    BoardSlots tiles_;
    std::array<SeatRow, 2> rows_{};
    std::function<Selection()> selectionSource_;
    Announcer* announcer_ = nullptr;
    BoardDrag* drag_ = nullptr;
    BoardKeys* keys_ = nullptr;

    QLabel* labelStatus_ = nullptr;
    QLabel* labelTurntime_ = nullptr;
    PictureWidget* imageTimer_ = nullptr;
    QLabel* labelPlaytoscore_ = nullptr;
    QLabel* labelTimeperturn_ = nullptr;
    QLabel* labelSteals_ = nullptr;
    QLabel* labelMywords_ = nullptr;
    QListWidget* listboxMywords_ = nullptr;
    WinnerBanner* panelWinner_ = nullptr;
    QPushButton* buttonStart_ = nullptr;
};

} // namespace plimb
