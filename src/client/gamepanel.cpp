#include "client/gamepanel.h"

#include <QLabel>
#include <QLinearGradient>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadialGradient>
#include <algorithm>

namespace plimb {
namespace {

const QColor kCream(0xF6, 0xE9, 0xCC);
const QColor kGold(0xF2, 0xC9, 0x6B);
const QColor kSoftText(0xCF, 0xE0, 0xD4);

// Where the game-wide labels and the word list sit, to the right of the boards.
constexpr QRect kGameCard(460, 5, 254, 70);
constexpr QRect kWordsCard(460, 88, 136, 176);
constexpr QRect kLegendCard(604, 88, 110, 106);
constexpr QRect kStartButton(604, 214, 110, 36);
constexpr QRect kWinnerBanner(92, 163, 306, 56);
constexpr QPoint kTimerFrame(146, 240);

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QLabel* makeLabel(QWidget* parent, const QString& text, const QRect& geometry, const QFont& font,
                  const QColor& colour, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* label = new QLabel(parent);
    // Names and texts come from other players over the network; never let them be read as markup.
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setGeometry(geometry);
    label->setFont(font);
    label->setAlignment(align);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
    return label;
}

void setPlainText(QLabel* label, const QString& text) {
    if (label->text() != text) label->setText(text);
}

// A label too narrow for its text shows it shortened with an ellipsis and offers the whole text as
// its tool tip and accessible name.
void setElidedText(QLabel* label, const QString& text) {
    const QString shown = label->fontMetrics().elidedText(text, Qt::ElideRight, label->width());
    setPlainText(label, shown);
    label->setToolTip(shown == text ? QString() : text);
    label->setAccessibleName(text);
}

QString slotPlace(SlotFamily family) {
    switch (family) {
    case SlotFamily::MyLetter:
        return QStringLiteral("Your board");
    case SlotFamily::HisLetter:
        return QStringLiteral("Opponent's board");
    case SlotFamily::Extra:
        return QStringLiteral("Your hand");
    }
    return {};
}

QString slotObjectName(SlotFamily family, int n) {
    switch (family) {
    case SlotFamily::MyLetter:
        return QStringLiteral("myletter%1").arg(n);
    case SlotFamily::HisLetter:
        return QStringLiteral("hisletter%1").arg(n);
    case SlotFamily::Extra:
        return QStringLiteral("extra%1").arg(n);
    }
    return {};
}

MouseButton toMouseButton(Qt::MouseButton button) {
    if (button == Qt::LeftButton) return MouseButton::Left;
    if (button == Qt::RightButton) return MouseButton::Right;
    return MouseButton::Other;
}

// The gold banner over the hand that announces the winner.
class WinnerBanner : public QWidget {
public:
    explicit WinnerBanner(QWidget* parent) : QWidget(parent) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF r = QRectF(rect()).adjusted(1.5, 1.5, -2.5, -2.5);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 90));
        p.drawRoundedRect(r.translated(1.5, 2), 10, 10);
        QLinearGradient gold(r.topLeft(), r.bottomLeft());
        gold.setColorAt(0.0, QColor(0xFF, 0xE7, 0x9A));
        gold.setColorAt(0.5, QColor(0xF0, 0xB8, 0x3C));
        gold.setColorAt(1.0, QColor(0xC4, 0x86, 0x1C));
        p.setBrush(gold);
        p.setPen(QPen(QColor(0x6E, 0x42, 0x08), 1.2));
        p.drawRoundedRect(r, 10, 10);
        p.setPen(QPen(QColor(255, 250, 225, 170), 1.0));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r.adjusted(3, 3, -3, -3), 7, 7);
    }
};

} // namespace

// ---------------------------------------------------------------------------------------------
SlotWidget::SlotWidget(SlotFamily family, int number, const TileArt* art, QWidget* parent)
    : QWidget(parent), family_(family), number_(number), art_(art) {
    setObjectName(slotObjectName(family, number));
    resize(TileArt::kTileSize, TileArt::kTileSize);
    setCursor(Qt::PointingHandCursor);
    updateAccessibleName();
}

void SlotWidget::display(const SlotView& view) {
    const bool changed = view.drawn != drawn_ || view.code != code_;
    drawn_ = view.drawn;
    code_ = view.code;
    const int left = family_ == SlotFamily::MyLetter    ? myLetterLeft(number_)
                     : family_ == SlotFamily::HisLetter ? hisLetterLeft(number_)
                                                        : extraLeft(number_);
    if (pos() != QPoint(left, view.top)) move(left, view.top);
    if (changed) {
        updateAccessibleName();
        update();
    }
}

void SlotWidget::updateAccessibleName() {
    const int shown = shownCode();
    const QString what = shown == 0 ? QStringLiteral("empty") : QString(QChar(TileArt::letterOf(shown)));
    setAccessibleName(QStringLiteral("%1 %2: %3").arg(slotPlace(family_)).arg(number_).arg(what));
}

void SlotWidget::paintEvent(QPaintEvent*) {
    const int shown = shownCode();
    if (shown == 0) return;
    QPainter p(this);
    p.drawPixmap(0, 0, art_->tile(shown, devicePixelRatioF()));
}

void SlotWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) leftArmed_ = true;
    emit pressed(toMouseButton(event->button()));
    event->accept();
}

void SlotWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const bool armed = leftArmed_;
    leftArmed_ = false;
    if (armed && rect().contains(event->position().toPoint())) emit clicked();
    event->accept();
}

// ---------------------------------------------------------------------------------------------
PictureWidget::PictureWidget(const TileArt* art, Source source, QWidget* parent)
    : QWidget(parent), art_(art), source_(std::move(source)) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void PictureWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawPixmap(0, 0, source_(*art_, devicePixelRatioF()));
}

// ---------------------------------------------------------------------------------------------
GamePanel::GamePanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("panel_board"));
    setFixedSize(kPanelSize);
    // Children are stacked in the order they are made: boards first, tiles on them, labels above.
    buildBoards();
    buildSeatRow(0, {64, 95}, {164, 95}, {204, 94, 236, 16}, {42, 89}, {42, 95});
    buildSeatRow(1, {65, 12}, {165, 12}, {205, 11, 235, 16}, {43, 6}, {43, 12});
    buildClock();
    buildSidebar();
    buildWinner();
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

    for (int n = 1; n <= 10; ++n) {
        myletter_[n] = new SlotWidget(SlotFamily::MyLetter, n, &art_, this);
        connect(myletter_[n], &SlotWidget::pressed, this,
                [this, n](MouseButton b) { emit myLetterPressed(n, b); });
        hisletter_[n] = new SlotWidget(SlotFamily::HisLetter, n, &art_, this);
        connect(hisletter_[n], &SlotWidget::clicked, this, [this, n] { emit hisLetterClicked(n); });
    }
    for (int n = 1; n <= 6; ++n) {
        extra_[n] = new SlotWidget(SlotFamily::Extra, n, &art_, this);
        connect(extra_[n], &SlotWidget::pressed, this, [this, n](MouseButton b) { emit extraPressed(n, b); });
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
    r.name = makeLabel(this, {}, QRect(name, QSize(score.x() - name.x() - 6, 16)),
                       TileArt::font(12, QFont::Bold), kCream);
    r.name->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(r.name, &QLabel::customContextMenuRequested, this, [this, row](const QPoint& at) {
        const SeatRow& self = rows_[static_cast<std::size_t>(row)];
        emit nameContextMenuRequested(self.seat, self.name->mapToGlobal(at));
    });
    r.score = makeLabel(this, {}, QRect(score, QSize(status.left() - score.x(), 16)),
                        TileArt::font(12, QFont::Bold), kGold);
    r.status = makeLabel(this, {}, status, TileArt::font(11, QFont::Normal), kSoftText,
                         Qt::AlignRight | Qt::AlignVCenter);
}

void GamePanel::buildClock() {
    labelStatus_ = makeLabel(this, {}, QRect(42, 219, 406, 18), TileArt::font(12, QFont::DemiBold), kCream,
                             Qt::AlignCenter);
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
                               TileArt::font(12, QFont::Bold), kCream, Qt::AlignRight | Qt::AlignVCenter);
    labelTurntime_->setObjectName(QStringLiteral("label_turntime"));
}

void GamePanel::buildSidebar() {
    const QFont info = TileArt::font(12, QFont::DemiBold);
    const int x = kGameCard.left() + 12;
    labelPlaytoscore_ = makeLabel(this, {}, QRect(x, kGameCard.top() + 6, 230, 18), info, kCream);
    labelPlaytoscore_->setObjectName(QStringLiteral("label_playtoscore"));
    labelTimeperturn_ = makeLabel(this, {}, QRect(x, kGameCard.top() + 26, 230, 18), info, kCream);
    labelTimeperturn_->setObjectName(QStringLiteral("label_timeperturn"));
    labelSteals_ = makeLabel(this, {}, QRect(x, kGameCard.top() + 46, 230, 18), info, kCream);
    labelSteals_->setObjectName(QStringLiteral("label_steals"));

    labelMywords_ =
        makeLabel(this, {}, QRect(kWordsCard.left() + 8, kWordsCard.top() + 4, kWordsCard.width() - 16, 18),
                  TileArt::font(12, QFont::Bold), kGold);
    labelMywords_->setObjectName(QStringLiteral("label_mywords"));
    listboxMywords_ = new QListWidget(this);
    listboxMywords_->setObjectName(QStringLiteral("listbox_mywords"));
    listboxMywords_->setAccessibleName(QStringLiteral("Your Words"));
    listboxMywords_->setGeometry(kWordsCard.adjusted(6, 24, -6, -6));
    listboxMywords_->setFont(TileArt::font(11, QFont::Normal));
    listboxMywords_->setFocusPolicy(Qt::NoFocus);
    listboxMywords_->setSelectionMode(QAbstractItemView::NoSelection);
    listboxMywords_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    listboxMywords_->setStyleSheet(QStringLiteral(
        "QListWidget { background: #FBF3E0; color: #3A2210; border: 1px solid #B8925A; border-radius: 4px; "
        "padding: 2px; } QListWidget::item { padding: 0px 2px; }"));

    const int lx = kLegendCard.left() + 10;
    makeLabel(this, QStringLiteral("Bonus Points"),
              QRect(lx, kLegendCard.top() + 4, kLegendCard.width() - 14, 18), TileArt::font(12, QFont::Bold),
              kGold);
    const char* const legend[] = {"6 Letters - 2x", "7 Letters - 3x", "8 Letters - 4x", "9 Letters - 5x",
                                  "10 Letters - 6x"};
    int y = kLegendCard.top() + 24;
    for (const char* line : legend) {
        makeLabel(this, QString::fromLatin1(line), QRect(lx, y, kLegendCard.width() - 14, 15),
                  TileArt::font(11, QFont::Normal), kSoftText);
        y += 15;
    }

    buttonStart_ = new QPushButton(QStringLiteral("Start Game"), this);
    buttonStart_->setObjectName(QStringLiteral("button_start"));
    buttonStart_->setGeometry(kStartButton);
    buttonStart_->setFont(TileArt::font(13, QFont::Bold));
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

void GamePanel::buildWinner() {
    panelWinner_ = new WinnerBanner(this);
    panelWinner_->setObjectName(QStringLiteral("panel_winner"));
    panelWinner_->setGeometry(kWinnerBanner);
    const QRect text(0, 0, kWinnerBanner.width() - 4, kWinnerBanner.height() - 4);
    const QFont big = TileArt::font(26, QFont::Black);
    // The grey copy lies behind, one pixel right and one up, as a shadow.
    labelWinner2_ =
        makeLabel(panelWinner_, {}, text.translated(1, -1), big, QColor(0x80, 0x80, 0x80), Qt::AlignCenter);
    labelWinner2_->setObjectName(QStringLiteral("label_winner2"));
    labelWinner1_ = makeLabel(panelWinner_, {}, text, big, QColor(0x5A, 0x2E, 0x05), Qt::AlignCenter);
    labelWinner1_->setObjectName(QStringLiteral("label_winner1"));
}

void GamePanel::render(const ViewState& view) {
    for (int n = 1; n <= 10; ++n) {
        myletter_[n]->display(view.myletter[n]);
        hisletter_[n]->display(view.hisletter[n]);
    }
    for (int n = 1; n <= 6; ++n)
        extra_[n]->display(view.extra[n]);

    const int nearSeat = view.rowOfSeat1 == 0 ? 1 : 2;
    showRow(0, view.rows[0], nearSeat);
    showRow(1, view.rows[1], 3 - nearSeat);

    setPlainText(labelStatus_, fromUtf8(view.status));
    setPlainText(labelTurntime_, fromUtf8(view.turntime));
    const int barWidth = std::clamp(view.timerWidth, 0, kTimerBarWidth);
    if (imageTimer_->width() != barWidth) imageTimer_->resize(barWidth, TileArt::kTimerBarSize.height());
    imageTimer_->setVisible(barWidth > 0);

    setElidedText(labelPlaytoscore_, fromUtf8(view.playtoscore));
    setElidedText(labelTimeperturn_, fromUtf8(view.timeperturn));
    setElidedText(labelSteals_, fromUtf8(view.steals));
    setPlainText(labelMywords_, fromUtf8(view.mywordsCaption));
    showWords(view.mywords);

    const QString winner = fromUtf8(view.winnerText);
    setPlainText(labelWinner1_, winner);
    setPlainText(labelWinner2_, winner);
    panelWinner_->setVisible(view.winnerVisible);
    buttonStart_->setVisible(view.startButtonVisible);
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

    setElidedText(r.name, fromUtf8(view.name));
    r.name->setVisible(view.nameVisible);
    setElidedText(r.score, fromUtf8(view.score));
    r.score->setVisible(view.scoreVisible);
    setElidedText(r.status, fromUtf8(view.status));
    r.turn->setVisible(view.turn);
    r.eyes->setVisible(view.eyes);
}

void GamePanel::showWords(const std::vector<std::string>& words) {
    bool same = listboxMywords_->count() == static_cast<int>(words.size());
    for (int i = 0; same && i < listboxMywords_->count(); ++i)
        same = listboxMywords_->item(i)->text() == fromUtf8(words[static_cast<std::size_t>(i)]);
    if (same) return;
    listboxMywords_->clear();
    for (const std::string& word : words)
        listboxMywords_->addItem(fromUtf8(word));
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
}

} // namespace plimb
