#include "ui/board/gamepanel.h"
#include "ui/common/qtext.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadialGradient>
#include <algorithm>

#include "core/client/turnnews.h"
#include "ui/board/boardkeys.h"
#include "ui/board/boardparts.h"

namespace plimb {
namespace {

// Where the game-wide labels and the word list sit, to the right of the boards.
constexpr QRect kGameCard(460, 5, 254, 70);
constexpr QRect kWordsCard(460, 88, 136, 176);
constexpr QRect kLegendCard(604, 88, 110, 106);
constexpr QRect kStartButton(604, 214, 110, 36);
constexpr QRect kWinnerBanner(92, 163, 306, 56);
constexpr QPoint kTimerFrame(146, 240);

// A solo player is called "You": "Your turn", not "You's turn".
QString possessive(const QString& who) {
    return who == QLatin1String("You") ? QStringLiteral("Your") : who + QStringLiteral("'s");
}

QString stealsName(const QString& who, const QString& status) {
    static const QString prefix = QStringLiteral("Steals Left: ");
    if (status.isEmpty()) return {};
    if (status.startsWith(prefix))
        return possessive(who) + QStringLiteral(" steals left: ") + status.mid(prefix.size());
    return who + QStringLiteral(": ") + status;
}

} // namespace

GamePanel::GamePanel(QWidget* parent) : QWidget(parent) {
    installBoardAccessibility();
    setObjectName(QStringLiteral("panel_board"));
    setFixedSize(kPanelSize);
    // Children are stacked in the order they are made: boards first, tiles on them, labels above.
    buildBoards();
    buildSeatRow(0, {64, 95}, {164, 95}, {204, 94, 236, 16}, {42, 89}, {42, 95});
    buildSeatRow(1, {65, 12}, {165, 12}, {205, 11, 235, 16}, {43, 6}, {43, 12});
    buildClock();
    buildSidebar();
    panelWinner_ = new WinnerBanner(kWinnerBanner, this);
    announcer_ = new Announcer(this);

    const auto picks = [this] { return selection(); };
    drag_ = new BoardDrag(tiles_, picks, &art_, this);
    keys_ = new BoardKeys(tiles_, picks, drag_, this);
    connect(drag_, &BoardDrag::intentRequested, this, &GamePanel::intentRequested);
    connect(keys_, &BoardKeys::intentRequested, this, &GamePanel::intentRequested);
    render(ViewState{});
}

void GamePanel::buildBoards() {
    const auto wordback = [](const TileArt& art, qreal ratio) { return art.wordback(ratio); };
    auto* back1 = new PictureWidget(&art_, wordback, this);
    back1->setObjectName(QStringLiteral("wordback1"));
    back1->setGeometry(QRect(QPoint(42, 88), TileArt::kWordbackSize));
    auto* back2 = new PictureWidget(&art_, wordback, this);
    back2->setObjectName(QStringLiteral("wordback2"));
    back2->setGeometry(QRect(QPoint(43, 5), TileArt::kWordbackSize));

    // Made row by row, so assistive technology lists them in reading order: the opponent's
    // board, the own board, the hand.
    for (int n = 1; n <= 10; ++n) {
        auto* slot = tiles_.hisletter[static_cast<std::size_t>(n)] =
            new SlotWidget(SlotFamily::HisLetter, n, &art_, this);
        connect(slot, &SlotWidget::clicked, this, [this, n] { emit hisLetterClicked(n); });
    }
    for (int n = 1; n <= 10; ++n) {
        auto* slot = tiles_.myletter[static_cast<std::size_t>(n)] =
            new SlotWidget(SlotFamily::MyLetter, n, &art_, this);
        connect(slot, &SlotWidget::pressed, this, [this, n](MouseButton b) { emit myLetterPressed(n, b); });
    }
    for (int n = 1; n <= 6; ++n) {
        auto* slot = tiles_.extra[static_cast<std::size_t>(n)] =
            new SlotWidget(SlotFamily::Extra, n, &art_, this);
        connect(slot, &SlotWidget::pressed, this, [this, n](MouseButton b) { emit extraPressed(n, b); });
    }
}

void GamePanel::buildSeatRow(int row, QPoint name, QPoint score, QRect status, QPoint turn, QPoint eyes) {
    SeatRow& r = rows_[static_cast<std::size_t>(row)];
    r.turn = new PictureWidget(
        &art_, [](const TileArt& a, qreal q) { return a.turnMarker(q); }, this);
    r.turn->setGeometry(QRect(turn, TileArt::kTurnMarkerSize));
    r.eyes = new PictureWidget(
        &art_, [](const TileArt& a, qreal q) { return a.eyes(q); }, this);
    r.eyes->setGeometry(QRect(eyes, TileArt::kEyesSize));
    r.name = makeLabel(this, {}, QRect(name, QSize(score.x() - name.x() - 6, 16)), TileArt::font(QFont::Bold),
                       kCream);
    r.name->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(r.name, &QLabel::customContextMenuRequested, this, [this, row](const QPoint& at) {
        const SeatRow& self = rows_[static_cast<std::size_t>(row)];
        emit nameContextMenuRequested(self.seat, self.name->mapToGlobal(at));
    });
    r.score = makeLabel(this, {}, QRect(score, QSize(status.left() - score.x(), 16)),
                        TileArt::font(QFont::Bold), kGold);
    r.status = makeLabel(this, {}, status, TileArt::font(QFont::Normal), kSoftText,
                         Qt::AlignRight | Qt::AlignVCenter);
}

void GamePanel::buildClock() {
    labelStatus_ =
        makeLabel(this, {}, QRect(42, 219, 406, 18), TileArt::font(QFont::Bold), kCream, Qt::AlignCenter);
    labelStatus_->setObjectName(QStringLiteral("label_status"));

    auto* frame = new PictureWidget(
        &art_, [](const TileArt& a, qreal q) { return a.timerFrame(q); }, this);
    frame->setObjectName(QStringLiteral("Image3"));
    frame->setGeometry(QRect(kTimerFrame, TileArt::kTimerFrameSize));
    imageTimer_ = new PictureWidget(
        &art_, [](const TileArt& a, qreal q) { return a.timerBar(q); }, this);
    imageTimer_->setObjectName(QStringLiteral("image_timer"));
    imageTimer_->setGeometry(QRect(kTimerFrame + QPoint(1, 1), TileArt::kTimerBarSize));

    labelTurntime_ = makeLabel(this, {}, QRect(kTimerFrame.x() - 96, kTimerFrame.y() + 2, 90, 19),
                               TileArt::font(QFont::Bold), kCream, Qt::AlignRight | Qt::AlignVCenter);
    labelTurntime_->setObjectName(QStringLiteral("label_turntime"));
}

void GamePanel::buildSidebar() {
    const QFont info = TileArt::font(QFont::Bold);
    const int x = kGameCard.left() + 12;
    labelPlaytoscore_ = makeLabel(this, {}, QRect(x, kGameCard.top() + 6, 230, 18), info, kCream);
    labelPlaytoscore_->setObjectName(QStringLiteral("label_playtoscore"));
    labelTimeperturn_ = makeLabel(this, {}, QRect(x, kGameCard.top() + 26, 230, 18), info, kCream);
    labelTimeperturn_->setObjectName(QStringLiteral("label_timeperturn"));
    labelSteals_ = makeLabel(this, {}, QRect(x, kGameCard.top() + 46, 230, 18), info, kCream);
    labelSteals_->setObjectName(QStringLiteral("label_steals"));

    labelMywords_ =
        makeLabel(this, {}, QRect(kWordsCard.left() + 8, kWordsCard.top() + 4, kWordsCard.width() - 16, 18),
                  TileArt::font(QFont::Bold), kGold);
    labelMywords_->setObjectName(QStringLiteral("label_mywords"));
    listboxMywords_ = new QListWidget(this);
    listboxMywords_->setObjectName(QStringLiteral("listbox_mywords"));
    listboxMywords_->setAccessibleName(QStringLiteral("Your Words"));
    listboxMywords_->setGeometry(kWordsCard.adjusted(6, 24, -6, -6));
    listboxMywords_->setFont(TileArt::font(QFont::Normal));
    listboxMywords_->setFocusPolicy(Qt::NoFocus);
    listboxMywords_->setSelectionMode(QAbstractItemView::NoSelection);
    listboxMywords_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    listboxMywords_->setStyleSheet(QStringLiteral(
        "QListWidget { background: #FBF3E0; color: #3A2210; border: 1px solid #B8925A; border-radius: 4px; "
        "padding: 2px; } QListWidget::item { padding: 0px 2px; }"));

    const int lx = kLegendCard.left() + 10;
    makeLabel(this, QStringLiteral("Bonus Points"),
              QRect(lx, kLegendCard.top() + 4, kLegendCard.width() - 14, 18), TileArt::font(QFont::Bold),
              kGold);
    const char* const legend[] = {"6 Letters - 2x", "7 Letters - 3x", "8 Letters - 4x", "9 Letters - 5x",
                                  "10 Letters - 6x"};
    int y = kLegendCard.top() + 24;
    for (const char* line : legend) {
        makeLabel(this, QString::fromLatin1(line), QRect(lx, y, kLegendCard.width() - 14, 15),
                  TileArt::font(QFont::Normal), kSoftText);
        y += 15;
    }

    buttonStart_ = new QPushButton(QStringLiteral("Start Game"), this);
    buttonStart_->setObjectName(QStringLiteral("button_start"));
    buttonStart_->setGeometry(kStartButton);
    buttonStart_->setFont(TileArt::font(QFont::Bold));
    buttonStart_->setCursor(Qt::PointingHandCursor);
    buttonStart_->setStyleSheet(QStringLiteral(
        "QPushButton { color: #3A2210; border: 1px solid #6E4208; border-radius: 7px; "
        "background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #FFE79A, stop:0.5 #F0B83C, stop:1 "
        "#C4861C); }"
        "QPushButton:hover { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #FFF0BC, stop:0.5 "
        "#F6C658, stop:1 #D4962C); }"
        "QPushButton:pressed { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #C4861C, stop:1 "
        "#F0B83C); }"));
    connect(buttonStart_, &QPushButton::clicked, this, &GamePanel::startClicked);
}

void GamePanel::render(const ViewState& view) {
    for (int n = 1; n <= 10; ++n) {
        myletter(n)->display(view.myletter[static_cast<std::size_t>(n)]);
        hisletter(n)->display(view.hisletter[static_cast<std::size_t>(n)]);
    }
    for (int n = 1; n <= 6; ++n)
        extra(n)->display(view.extra[static_cast<std::size_t>(n)]);

    const int nearSeat = view.rowOfSeat1 == 0 ? 1 : 2;
    showRow(0, view.rows[0], nearSeat);
    showRow(1, view.rows[1], 3 - nearSeat);

    setPlainText(labelStatus_, toQString(view.status));
    setPlainText(labelTurntime_, toQString(view.turntime));
    const int barWidth = std::clamp(view.timerWidth, 0, kTimerBarWidth);
    if (imageTimer_->width() != barWidth) imageTimer_->resize(barWidth, TileArt::kTimerBarSize.height());
    imageTimer_->setVisible(barWidth > 0);

    setElidedText(labelPlaytoscore_, toQString(view.playtoscore));
    setElidedText(labelTimeperturn_, toQString(view.timeperturn));
    setElidedText(labelSteals_, toQString(view.steals));
    setPlainText(labelMywords_, toQString(view.mywordsCaption));
    showWords(view.mywords);

    // The banner is fitted when it shows; a hidden one costs nothing at start-up.
    if (view.winnerVisible) panelWinner_->setText(toQString(view.winnerText));
    panelWinner_->setVisible(view.winnerVisible);
    buttonStart_->setVisible(view.startButtonVisible);
    announcer_->shown(view);
}

void GamePanel::animate(const Feedback& feedback) {
    for (const SlotChange& change : feedback.changes)
        if (SlotWidget* slot = tiles_.at(change.family, change.slot))
            slot->feedback(change.kind, change.code);
    announcer_->played(feedback);
}

void GamePanel::showRow(int row, const SeatRowView& view, int seat) {
    SeatRow& r = rows_[static_cast<std::size_t>(row)];
    r.seat = seat;
    // The components are named for the seat they show, so the names follow a row exchange.
    r.name->setObjectName(QStringLiteral("label_playername%1").arg(seat));
    r.score->setObjectName(QStringLiteral("label_score%1").arg(seat));
    r.status->setObjectName(QStringLiteral("label_status%1").arg(seat));
    r.turn->setObjectName(QStringLiteral("image_Turn%1").arg(seat));
    r.eyes->setObjectName(QStringLiteral("image_eyes%1").arg(seat));

    // Scores, steals, the turn marker and the eyes are named with their player, since a screen
    // reader meets them one by one, away from the name beside them.
    const QString who = toQString(playerTitle(view.name, seat));
    setElidedText(r.name, toQString(view.name));
    r.name->setVisible(view.nameVisible);
    const QString score = toQString(view.score);
    setElidedText(r.score, score, possessive(who) + QStringLiteral(" score: ") + score);
    r.score->setVisible(view.scoreVisible);
    const QString status = toQString(view.status);
    setElidedText(r.status, status, stealsName(who, status));
    setName(r.turn, possessive(who) + QStringLiteral(" turn"));
    r.turn->setVisible(view.turn);
    setName(r.eyes, who + (who == QLatin1String("You") ? QStringLiteral(" are") : QStringLiteral(" is")) +
                        QStringLiteral(" just watching"));
    r.eyes->setVisible(view.eyes);
}

void GamePanel::showWords(const std::vector<std::string>& words) {
    bool same = listboxMywords_->count() == static_cast<int>(words.size());
    for (int i = 0; same && i < listboxMywords_->count(); ++i)
        same = listboxMywords_->item(i)->text() == toQString(words[static_cast<std::size_t>(i)]);
    if (same) return;
    listboxMywords_->clear();
    for (const std::string& word : words)
        listboxMywords_->addItem(toQString(word));
}

void GamePanel::placeInTabOrderAfter(QWidget* previous) {
    keys_->placeInTabOrderAfter(previous);
}

SlotWidget* GamePanel::focusSlot() const {
    return keys_->focusSlot();
}

void GamePanel::keyPressEvent(QKeyEvent* event) {
    if (keys_->keyPress(event))
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

void GamePanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF all = rect();
    QRadialGradient felt(all.center() - QPointF(120, 20), all.width() * 0.7);
    felt.setColorAt(0.0, QColor(0x2A, 0x6A, 0x4E));
    felt.setColorAt(0.6, QColor(0x1C, 0x4C, 0x38));
    felt.setColorAt(1.0, QColor(0x12, 0x33, 0x26));
    p.fillRect(all, felt);

    // Soft cards behind the sidebar's groups keep the game facts, the words and the legend apart.
    for (const QRect& card : {kGameCard, kWordsCard, kLegendCard}) {
        const QRectF c = QRectF(card).adjusted(0.5, 0.5, -0.5, -0.5);
        p.setPen(QPen(QColor(0xC9, 0xA4, 0x62, 120), 1.0));
        p.setBrush(QColor(8, 24, 17, 110));
        p.drawRoundedRect(c, 7, 7);
    }
    // A faint tray under the hand.
    const QRectF tray(extraLeft(1) - 8.5, kExtraSelectedTop - 3.5, extraLeft(6) - extraLeft(1) + 57.0, 52.0);
    p.setPen(QPen(QColor(0xC9, 0xA4, 0x62, 60), 1.0));
    p.setBrush(QColor(0, 0, 0, 45));
    p.drawRoundedRect(tray, 8, 8);

    // The bin beside the hand, lit while a tile is dragged over it.
    const bool lit = drag_->overTrash();
    const QRectF bin = QRectF(kTrashArea).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(QColor(0xC9, 0xA4, 0x62, lit ? 230 : 60), lit ? 2.0 : 1.0));
    p.setBrush(lit ? QColor(0xB0, 0x3A, 0x2A, 150) : QColor(0, 0, 0, 45));
    p.drawRoundedRect(bin, 8, 8);
    const QColor ink = lit ? QColor(0xFF, 0xF4, 0xE0) : QColor(0xCF, 0xE0, 0xD4, 150);
    const QPointF c = bin.center();
    p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(c.x() - 10, c.y() - 9), QPointF(c.x() + 10, c.y() - 9));
    p.drawLine(QPointF(c.x() - 3, c.y() - 12), QPointF(c.x() + 3, c.y() - 12));
    QPainterPath can;
    can.moveTo(c.x() - 8, c.y() - 6);
    can.lineTo(c.x() - 6, c.y() + 12);
    can.lineTo(c.x() + 6, c.y() + 12);
    can.lineTo(c.x() + 8, c.y() - 6);
    p.drawPath(can);
    for (const qreal dx : {-3.0, 0.0, 3.0})
        p.drawLine(QPointF(c.x() + dx, c.y() - 3), QPointF(c.x() + dx * 0.8, c.y() + 9));
}

} // namespace plimb
