#pragma once
// The letter slots of the board panel: the own board, the opponent's board and the hand.
#include <QWidget>
#include <array>
#include <vector>

#include "core/client/feedback.h"
#include "core/client/viewstate.h"
#include "ui/common/tileart.h"

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

// The panel's 26 slots, numbered from 1 as on the board.
struct BoardSlots {
    std::array<SlotWidget*, 11> myletter{};
    std::array<SlotWidget*, 11> hisletter{};
    std::array<SlotWidget*, 7> extra{};

    // The slot of a family by number, or nullptr when there is no such slot.
    SlotWidget* at(SlotFamily family, int n) const;
    std::vector<SlotWidget*> row(SlotFamily family) const;
    // The rows top to bottom, which is also the reading and tab order.
    static constexpr std::array<SlotFamily, 3> kRows{SlotFamily::HisLetter, SlotFamily::MyLetter,
                                                     SlotFamily::Extra};
};

// The client's picks as the model holds them (0 = none).
struct BoardSelection {
    int hand = 0;
    int board = 0;
    int opponent = 0;
    bool any() const { return hand != 0 || board != 0 || opponent != 0; }
};

} // namespace plimb
