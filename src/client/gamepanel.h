#pragma once
// The board panel `panel_board`: both boards, the hand, the seat rows, the turn clock and the
// game-wide labels. It only shows a ViewState and reports the player's mouse actions; what they
// mean is decided by the client model.
#include "client/tileart.h"
#include "client/viewstate.h"

#include <QPoint>
#include <QWidget>
#include <array>
#include <functional>

class QLabel;
class QListWidget;
class QPushButton;

namespace plimb {

// One 41 x 41 letter slot. A cleared slot, or one drawn with code 0, paints nothing, so the board
// behind it shows through.
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

signals:
    void pressed(plimb::MouseButton button);
    // A left press and release both on this slot.
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void updateAccessibleName();

    SlotFamily family_;
    int number_;
    const TileArt* art_;
    bool drawn_ = false;
    int code_ = 0;
    bool leftArmed_ = false;
};

// A fixed picture from TileArt; the widget's width may be narrower than the picture, in which case
// only its left part shows (the timer bar shrinks this way).
class PictureWidget : public QWidget {
public:
    using Source = std::function<QPixmap(const TileArt&, qreal)>;
    PictureWidget(const TileArt* art, Source source, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const TileArt* art_;
    Source source_;
};

class GamePanel : public QWidget {
    Q_OBJECT
public:
    static constexpr QSize kPanelSize{720, 270};

    explicit GamePanel(QWidget* parent = nullptr);

    // Shows the view as it stands; call again after every change of the model.
    void render(const ViewState& view);

    SlotWidget* myletter(int n) const { return n >= 1 && n <= 10 ? myletter_[n] : nullptr; }
    SlotWidget* hisletter(int n) const { return n >= 1 && n <= 10 ? hisletter_[n] : nullptr; }
    SlotWidget* extra(int n) const { return n >= 1 && n <= 6 ? extra_[n] : nullptr; }
    const TileArt& art() const { return art_; }

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
    void showRow(int row, const SeatRowView& view, int seat);
    void showWords(const std::vector<std::string>& words);

    TileArt art_;
    std::array<SlotWidget*, 11> myletter_{};
    std::array<SlotWidget*, 11> hisletter_{};
    std::array<SlotWidget*, 7> extra_{};
    std::array<SeatRow, 2> rows_{};

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
