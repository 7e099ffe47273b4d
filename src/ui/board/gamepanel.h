#pragma once
// The board panel `panel_board`: both boards, the hand, the seat rows, the turn clock and the
// game-wide labels. It only shows a ViewState and reports the player's clicks; what they mean is
// decided by the client model. Keys, drags and the accessibility actions are turned into the
// same clicks here, so every way of playing sends the same requests and is refused the same way
// while it is not this player's move.
#include "client/feedback.h"
#include "common/tileart.h"
#include "client/viewstate.h"

#include <QPoint>
#include <QRect>
#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>

class QLabel;
class QListWidget;
class QPushButton;
class QTimer;
class QVariantAnimation;

namespace plimb {

// One 41 x 41 letter slot. A cleared slot, or one drawn with code 0, paints nothing, so the board
// behind it shows through. To assistive technology it is a button named for its place and letter
// ("Your board 3: Q"), whose press is a left click and, on the own board and hand, whose second
// action a right click.
class SlotWidget : public QWidget {
    Q_OBJECT
public:
    SlotWidget(SlotFamily family, int number, const TileArt* art, QWidget* parent);

    SlotFamily family() const { return family_; }
    int number() const { return number_; }
    bool drawn() const { return drawn_; }
    int code() const { return code_; }
    // The letter shown, or 0 when the board shows through.
    int shownCode() const { return drawn_ && code_ >= 1 && code_ <= 26 ? code_ : 0; }

    void display(const SlotView& view);
    // Shows a change for a moment: an arriving tile fades in under a fading highlight, a tile
    // that left fades out as a ghost, a scored tile glows. Changes that come while one plays join
    // it and start it again.
    void feedback(SlotChangeKind kind, int code);
    // The animation, while one plays; none runs (nor wakes the program) when the slot is still.
    QVariantAnimation* animation() const { return animation_; }
    static constexpr int kFeedbackMs = 380;

    // The same click the mouse gives: a press of the button on the own board and the hand, a
    // completed left click on the opponent's board (where other buttons do nothing).
    void act(plimb::MouseButton button);
    // Marks while a tile is dragged: the slot it would land on, and the tile being carried.
    void setDropTarget(bool on);
    void setDragSource(bool on);
    bool dropTarget() const { return dropTarget_; }

signals:
    void pressed(plimb::MouseButton button);
    // A left press and release both on this slot.
    void clicked();
    void focused();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void updateAccessibleName();

    SlotFamily family_;
    int number_;
    const TileArt* art_;
    bool drawn_ = false;
    int code_ = 0;
    bool leftArmed_ = false;
    QVariantAnimation* animation_ = nullptr;
    qreal progress_ = 1.0; // 0 at the start of a change, 1 when it is over
    int ghostCode_ = 0;
    bool arriving_ = false;
    bool glowing_ = false;
    bool dropTarget_ = false;
    bool dragSource_ = false;
};

// A fixed picture from TileArt; the widget's width may be narrower than the picture, in which case
// only its left part shows (the timer bar shrinks this way).
class PictureWidget : public QWidget {
    Q_OBJECT
public:
    using Source = std::function<QPixmap(const TileArt&, qreal)>;
    PictureWidget(const TileArt* art, Source source, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const TileArt* art_;
    Source source_;
};

// Says short texts to assistive technology (the opponent's move, a scored word, the winner): an
// invisible notification whose name is the latest text, shown anew for each one.
class Announcer : public QWidget {
    Q_OBJECT
public:
    explicit Announcer(QWidget* parent);
    void announce(const QString& text);
};

class GamePanel : public QWidget {
    Q_OBJECT
public:
    static constexpr QSize kPanelSize{720, 270};
    // Beside the hand: a hand or board tile dropped here is thrown away or removed.
    static constexpr QRect kTrashArea{400, 168, 46, 44};

    // The client's picks as the model holds them (0 = none).
    struct Selection {
        int hand = 0;
        int board = 0;
        int opponent = 0;
        bool any() const { return hand != 0 || board != 0 || opponent != 0; }
    };

    explicit GamePanel(QWidget* parent = nullptr);

    // Shows the view as it stands; call again after every change of the model.
    void render(const ViewState& view);
    // Plays the model's changes on their slots (after render, so arriving tiles are in place).
    void animate(const std::vector<SlotChange>& changes);

    SlotWidget* myletter(int n) const { return n >= 1 && n <= 10 ? myletter_[n] : nullptr; }
    SlotWidget* hisletter(int n) const { return n >= 1 && n <= 10 ? hisletter_[n] : nullptr; }
    SlotWidget* extra(int n) const { return n >= 1 && n <= 6 ? extra_[n] : nullptr; }
    const TileArt& art() const { return art_; }

    // Where the panel reads the picks from; keys and drops need them to choose their clicks.
    void setSelectionSource(std::function<Selection()> source) { selectionSource_ = std::move(source); }
    // Tab from `previous` enters the board on its focus slot, Shift+Tab leaves it back there.
    void placeInTabOrderAfter(QWidget* previous);
    // The one slot the keyboard acts on (it holds the focus while the board has it).
    SlotWidget* focusSlot() const { return current_; }
    Announcer* announcer() const { return announcer_; }
    // News of a turn is gathered until the notices pause this long, then said at once.
    static constexpr int kAnnounceQuietMs = 250;
    bool announcementPending() const { return !pendingSteps_.isEmpty() || !pendingNews_.isEmpty(); }

    QSize sizeHint() const override { return kPanelSize; }
    QSize minimumSizeHint() const override { return kPanelSize; }

signals:
    void myLetterPressed(int n, plimb::MouseButton button);
    void extraPressed(int n, plimb::MouseButton button);
    void hisLetterClicked(int n);
    void startClicked();
    // Right click (or the context-menu key) on a seat row's name; seat is the seat that row shows.
    void nameContextMenuRequested(int seat, QPoint globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

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
    void buildWinner();
    void showWinner(const QString& text);
    void showRow(int row, const SeatRowView& view, int seat);
    void showWords(const std::vector<std::string>& words);
    void announceChanges(const std::vector<SlotChange>& changes);
    void sayPending();
    QString rowTitle(int row) const;

    Selection selection() const { return selectionSource_ ? selectionSource_() : Selection{}; }
    std::vector<SlotWidget*> rowSlots(SlotFamily family) const;
    void setCurrent(SlotWidget* slot, bool giveFocus);
    bool moveFocus(int key);
    bool pickLetter(int code);
    void cancelSelection();

    // Dragging: the slot pressed, where, and once the pointer has moved far enough, the carried
    // tile and the place it would land.
    enum class DropKind { None, Board, Trash };
    struct Drop {
        DropKind kind = DropKind::None;
        SlotWidget* slot = nullptr;
    };
    bool canDrag(const SlotWidget* source) const;
    Drop dropAt(const SlotWidget* source, QPoint at) const;
    void dragTo(QPoint at);
    void showDrop(const Drop& drop);
    void endDrag();
    void drop(SlotWidget* source, const Drop& target);

    TileArt art_;
    std::array<SlotWidget*, 11> myletter_{};
    std::array<SlotWidget*, 11> hisletter_{};
    std::array<SlotWidget*, 7> extra_{};
    std::array<SeatRow, 2> rows_{};
    std::array<SeatRowView, 2> shownRows_{};
    bool winnerShown_ = false;
    std::function<Selection()> selectionSource_;
    SlotWidget* current_ = nullptr;
    Announcer* announcer_ = nullptr;
    QTimer* announceTimer_ = nullptr;
    QStringList pendingSteps_; // the opponent's moves since the last announcement
    QStringList pendingNews_;  // scored words and the winner

    SlotWidget* pressedSlot_ = nullptr;
    QPoint pressAt_;
    bool dragging_ = false;
    QWidget* carried_ = nullptr;
    Drop shownDrop_;

    QLabel* labelStatus_ = nullptr;
    QLabel* labelTurntime_ = nullptr;
    PictureWidget* imageTimer_ = nullptr;
    QLabel* labelPlaytoscore_ = nullptr;
    QLabel* labelTimeperturn_ = nullptr;
    QLabel* labelSteals_ = nullptr;
    QLabel* labelMywords_ = nullptr;
    QListWidget* listboxMywords_ = nullptr;
    QWidget* panelWinner_ = nullptr;
    QLabel* labelWinner1_ = nullptr;
    QLabel* labelWinner2_ = nullptr;
    QPushButton* buttonStart_ = nullptr;
};

} // namespace plimb
