#include "board/gamepanel.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadialGradient>
#include <QTimer>
#include <QVariantAnimation>
#include <algorithm>
#include <climits>
#include <cmath>

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
constexpr int kWinnerFontPx = 26;
constexpr int kWinnerMinFontPx = 13;

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

// Every setting of a name is announced to assistive technology, even an unchanged one, so names
// are set only when they change.
void setName(QWidget* widget, const QString& name) {
    if (widget->accessibleName() != name) widget->setAccessibleName(name);
}

// A label too narrow for its text shows it shortened with an ellipsis and offers the whole text as
// its tool tip; its accessible name is `name`. A label without a name of its own announces its
// text instead, so the order of the two settings keeps it to one announcement per change.
void setElidedText(QLabel* label, const QString& text, const QString& name) {
    const QString shown = label->fontMetrics().elidedText(text, Qt::ElideRight, label->width());
    const QString tip = shown == text ? QString() : text;
    if (label->toolTip() != tip) label->setToolTip(tip);
    if (name.isEmpty()) {
        setPlainText(label, shown);
        setName(label, name);
    } else {
        setName(label, name);
        setPlainText(label, shown);
    }
}

void setElidedText(QLabel* label, const QString& text) {
    setElidedText(label, text, text);
}

// How the seat rows speak of a player: by name, or by seat while the seat waits for one.
QString playerTitle(const std::string& name, int seat) {
    if (name.empty() || name == "<Waiting>") return QStringLiteral("Seat %1").arg(seat);
    return fromUtf8(name);
}

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

QChar letterChar(int code) {
    return QChar(TileArt::letterOf(code));
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

// The second accessibility action of a slot: what its right click does, where it does something.
QString secondAction(SlotFamily family) {
    switch (family) {
    case SlotFamily::MyLetter:
        return QStringLiteral("Remove");
    case SlotFamily::Extra:
        return QStringLiteral("Throw away");
    case SlotFamily::HisLetter:
        break;
    }
    return {};
}

class SlotAccessible : public QAccessibleWidget {
public:
    explicit SlotAccessible(SlotWidget* slot) : QAccessibleWidget(slot, QAccessible::Button) {}

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        // Only one slot is a tab stop at a time, but the arrows and the focus action reach them all.
        s.focusable = true;
        return s;
    }
    QStringList actionNames() const override {
        QStringList names{pressAction()};
        if (const QString second = secondAction(slot()->family()); !second.isEmpty()) names << second;
        names << setFocusAction();
        return names;
    }
    void doAction(const QString& name) override {
        if (name == pressAction())
            slot()->act(MouseButton::Left);
        else if (name == setFocusAction())
            slot()->setFocus(Qt::OtherFocusReason);
        else if (!name.isEmpty() && name == secondAction(slot()->family()))
            slot()->act(MouseButton::Right);
    }
    QStringList keyBindingsForAction(const QString& name) const override {
        if (name == pressAction()) return {QStringLiteral("Return"), QStringLiteral("Space")};
        if (!name.isEmpty() && name == secondAction(slot()->family())) return {QStringLiteral("Delete")};
        return {};
    }
    QString localizedActionDescription(const QString& name) const override {
        if (name == pressAction()) return QStringLiteral("Click this tile");
        if (name == QLatin1String("Remove"))
            return QStringLiteral("Right click: remove this letter from your board");
        if (name == QLatin1String("Throw away")) return QStringLiteral("Right click: throw this letter away");
        return QAccessibleWidget::localizedActionDescription(name);
    }

private:
    SlotWidget* slot() const { return static_cast<SlotWidget*>(widget()); }
};

QAccessibleInterface* panelAccessibleFactory(const QString& key, QObject* object) {
    if (object == nullptr || !object->isWidgetType()) return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (key == QLatin1String("plimb::SlotWidget"))
        return new SlotAccessible(static_cast<SlotWidget*>(widget));
    if (key == QLatin1String("plimb::PictureWidget"))
        return new QAccessibleWidget(widget, QAccessible::Graphic);
    if (key == QLatin1String("plimb::Announcer"))
        return new QAccessibleWidget(widget, QAccessible::Notification);
    return nullptr;
}

// The tile that follows the pointer while it is dragged.
class CarriedTile : public QWidget {
public:
    CarriedTile(const TileArt* art, QWidget* parent) : QWidget(parent), art_(art) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        resize(TileArt::kTileSize + 4, TileArt::kTileSize + 4);
        hide();
    }
    void carry(int code) {
        code_ = code;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 80));
        p.drawRoundedRect(QRectF(3, 4, TileArt::kTileSize - 2, TileArt::kTileSize - 2), 6, 6);
        p.setOpacity(0.92);
        p.drawPixmap(0, 0, art_->tile(code_, devicePixelRatioF()));
    }

private:
    const TileArt* art_;
    int code_ = 0;
};

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
    const QString what = shown == 0 ? QStringLiteral("empty") : QString(letterChar(shown));
    setName(this, QStringLiteral("%1 %2: %3").arg(slotPlace(family_)).arg(number_).arg(what));
}

void SlotWidget::act(MouseButton button) {
    if (family_ != SlotFamily::HisLetter)
        emit pressed(button);
    else if (button == MouseButton::Left)
        emit clicked();
}

void SlotWidget::setDropTarget(bool on) {
    if (dropTarget_ == on) return;
    dropTarget_ = on;
    update();
}

void SlotWidget::setDragSource(bool on) {
    if (dragSource_ == on) return;
    dragSource_ = on;
    update();
}

void SlotWidget::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
    emit focused();
}

void SlotWidget::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void SlotWidget::feedback(SlotChangeKind kind, int code) {
    if (!animation_) {
        animation_ = new QVariantAnimation(this);
        animation_->setStartValue(0.0);
        animation_->setEndValue(1.0);
        animation_->setDuration(kFeedbackMs);
        animation_->setEasingCurve(QEasingCurve::OutCubic);
        connect(animation_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
            progress_ = value.toReal();
            update();
        });
        connect(animation_, &QVariantAnimation::finished, this, [this] {
            progress_ = 1.0;
            ghostCode_ = 0;
            arriving_ = glowing_ = false;
            update();
        });
    }
    switch (kind) {
    case SlotChangeKind::Arrived:
        arriving_ = true;
        break;
    case SlotChangeKind::Left:
        ghostCode_ = code;
        break;
    case SlotChangeKind::Scored:
        glowing_ = true;
        break;
    }
    progress_ = 0.0;
    animation_->stop();
    animation_->start();
    update();
}

void SlotWidget::paintEvent(QPaintEvent*) {
    const int shown = shownCode();
    const bool focusRing = hasFocus();
    if (shown == 0 && ghostCode_ == 0 && !dropTarget_ && !focusRing) return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal ratio = devicePixelRatioF();
    const qreal t = progress_;
    const QRectF frame = QRectF(rect()).adjusted(1.0, 1.0, -3.0, -3.0);
    if (ghostCode_ != 0 && t < 1.0) {
        // The tile that left lingers as a fading, shrinking ghost.
        p.setOpacity(0.8 * (1.0 - t));
        const qreal inset = 4.0 * t;
        const QPixmap ghost = art_->tile(ghostCode_, ratio);
        p.drawPixmap(QRectF(inset, inset, width() - 2 * inset, height() - 2 * inset), ghost,
                     QRectF(ghost.rect()));
        p.setOpacity(1.0);
    }
    if (shown != 0) {
        // A tile being dragged away stays faintly in place until it is dropped.
        qreal opacity = dragSource_ ? 0.35 : 1.0;
        if (arriving_ && t < 1.0) opacity *= 0.25 + 0.75 * t;
        p.setOpacity(opacity);
        p.drawPixmap(0, 0, art_->tile(shown, ratio));
        p.setOpacity(1.0);
        if (arriving_ && t < 1.0) {
            p.setPen(QPen(QColor(255, 236, 150, static_cast<int>(230 * (1.0 - t))), 2.5));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(frame, 5, 5);
        }
        if (glowing_ && t < 1.0) {
            const int alpha = static_cast<int>(150 * std::sin(3.14159265 * t));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 214, 90, alpha));
            p.drawRoundedRect(frame, 5, 5);
        }
    }
    if (dropTarget_) {
        p.setPen(QPen(QColor(0x8C, 0xF5, 0xA8), 2.5));
        p.setBrush(QColor(0x8C, 0xF5, 0xA8, 70));
        p.drawRoundedRect(frame, 5, 5);
    }
    if (focusRing) {
        // Dark under light, so the ring shows on the felt, the board and a tile alike.
        const QRectF ring = QRectF(rect()).adjusted(1.5, 1.5, -2.5, -2.5);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(0x10, 0x20, 0x18), 4.0));
        p.drawRoundedRect(ring, 6, 6);
        p.setPen(QPen(QColor(0xFF, 0xF4, 0xB0), 2.0));
        p.drawRoundedRect(ring, 6, 6);
    }
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
Announcer::Announcer(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("announcer"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 1, 1);
}

void Announcer::announce(const QString& text) {
    setAccessibleName(text);
    // Screen readers present a notification as it appears, so each text appears anew.
    hide();
    show();
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
    static const bool accessibleFactoryInstalled = [] {
        QAccessible::installFactory(panelAccessibleFactory);
        return true;
    }();
    (void)accessibleFactoryInstalled;
    setObjectName(QStringLiteral("panel_board"));
    setFixedSize(kPanelSize);
    // Children are stacked in the order they are made: boards first, tiles on them, labels above.
    buildBoards();
    buildSeatRow(0, {64, 95}, {164, 95}, {204, 94, 236, 16}, {42, 89}, {42, 95});
    buildSeatRow(1, {65, 12}, {165, 12}, {205, 11, 235, 16}, {43, 6}, {43, 12});
    buildClock();
    buildSidebar();
    buildWinner();
    announcer_ = new Announcer(this);
    announceTimer_ = new QTimer(this);
    announceTimer_->setSingleShot(true);
    announceTimer_->setInterval(kAnnounceQuietMs);
    connect(announceTimer_, &QTimer::timeout, this, &GamePanel::sayPending);
    carried_ = new CarriedTile(&art_, this);
    setCurrent(extra_[1], false);
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
        hisletter_[n] = new SlotWidget(SlotFamily::HisLetter, n, &art_, this);
        connect(hisletter_[n], &SlotWidget::clicked, this, [this, n] { emit hisLetterClicked(n); });
    }
    for (int n = 1; n <= 10; ++n) {
        myletter_[n] = new SlotWidget(SlotFamily::MyLetter, n, &art_, this);
        connect(myletter_[n], &SlotWidget::pressed, this,
                [this, n](MouseButton b) { emit myLetterPressed(n, b); });
    }
    for (int n = 1; n <= 6; ++n) {
        extra_[n] = new SlotWidget(SlotFamily::Extra, n, &art_, this);
        connect(extra_[n], &SlotWidget::pressed, this, [this, n](MouseButton b) { emit extraPressed(n, b); });
    }
    for (SlotFamily family : {SlotFamily::HisLetter, SlotFamily::MyLetter, SlotFamily::Extra})
        for (SlotWidget* slot : rowSlots(family)) {
            slot->setFocusPolicy(Qt::NoFocus);
            slot->installEventFilter(this);
            connect(slot, &SlotWidget::focused, this, [this, slot] { setCurrent(slot, false); });
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
    const QFont big = TileArt::font(kWinnerFontPx, QFont::Black);
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

    // The banner is fitted when it shows; a hidden one costs nothing at start-up.
    if (view.winnerVisible) showWinner(fromUtf8(view.winnerText));
    panelWinner_->setVisible(view.winnerVisible);
    if (view.winnerVisible && !winnerShown_) {
        pendingNews_ << fromUtf8(view.winnerText);
        announceTimer_->start();
    }
    winnerShown_ = view.winnerVisible;
    buttonStart_->setVisible(view.startButtonVisible);
    shownRows_ = view.rows;
}

void GamePanel::animate(const std::vector<SlotChange>& changes) {
    for (const SlotChange& change : changes) {
        SlotWidget* slot = change.family == SlotFamily::MyLetter    ? myletter(change.slot)
                           : change.family == SlotFamily::HisLetter ? hisletter(change.slot)
                                                                    : extra(change.slot);
        if (slot) slot->feedback(change.kind, change.code);
    }
    announceChanges(changes);
}

void GamePanel::announceChanges(const std::vector<SlotChange>& changes) {
    for (const SlotFamily family : {SlotFamily::MyLetter, SlotFamily::HisLetter}) {
        std::vector<std::pair<int, int>> letters; // slot, code
        for (const SlotChange& c : changes)
            if (c.kind == SlotChangeKind::Scored && c.family == family) letters.emplace_back(c.slot, c.code);
        if (letters.empty()) continue;
        std::sort(letters.begin(), letters.end());
        QString word;
        for (const auto& [slot, code] : letters)
            word += letterChar(code);
        const int row = family == SlotFamily::MyLetter ? 0 : 1;
        pendingNews_ << QStringLiteral("%1 scored %2, score %3")
                            .arg(rowTitle(row), word,
                                 fromUtf8(shownRows_[static_cast<std::size_t>(row)].score));
    }

    // The opponent's move: what changed on the boards while the far row has the turn. A letter
    // that leaves one slot and arrives at another was moved, or stolen from the near board.
    if (shownRows_[1].turn) {
        std::vector<SlotChange> arrived, left;
        for (const SlotChange& c : changes) {
            if (c.family == SlotFamily::HisLetter && c.kind == SlotChangeKind::Arrived) arrived.push_back(c);
            if (c.kind == SlotChangeKind::Left && c.family != SlotFamily::Extra) left.push_back(c);
        }
        for (const SlotChange& gone : left) {
            auto moved = std::find_if(arrived.begin(), arrived.end(), [&](const SlotChange& c) {
                return c.code == gone.code && (gone.family == SlotFamily::MyLetter || c.slot != gone.slot);
            });
            const QChar letter = letterChar(gone.code);
            if (moved != arrived.end()) {
                const QString how = gone.family == SlotFamily::MyLetter
                                        ? QStringLiteral("stole %1 from your board %2 to %3")
                                        : QStringLiteral("moved %1 from %2 to %3");
                pendingSteps_ << how.arg(letter).arg(gone.slot).arg(moved->slot);
                arrived.erase(moved);
            } else if (gone.family == SlotFamily::MyLetter) {
                pendingSteps_ << QStringLiteral("took %1 from your board %2").arg(letter).arg(gone.slot);
            } else {
                pendingSteps_ << QStringLiteral("took %1 off %2").arg(letter).arg(gone.slot);
            }
        }
        for (const SlotChange& c : arrived)
            pendingSteps_ << QStringLiteral("put %1 on %2").arg(letterChar(c.code)).arg(c.slot);
    }
    if (!pendingSteps_.isEmpty() || !pendingNews_.isEmpty()) announceTimer_->start();
}

void GamePanel::sayPending() {
    // A turn arrives as several notices in quick succession; a screen reader would cut each
    // notification short with the next, so the whole turn is said at once: the moves, the board
    // they leave, then the words and the winner.
    QStringList said;
    if (!pendingSteps_.isEmpty()) {
        QString board;
        for (int n = 1; n <= 10; ++n) {
            const int code = hisletter_[n]->shownCode();
            board += code == 0 ? QChar(' ') : letterChar(code);
        }
        board = board.trimmed();
        said << QStringLiteral("%1 %2; the board reads %3")
                    .arg(rowTitle(1), pendingSteps_.join(QStringLiteral(", ")),
                         board.isEmpty() ? QStringLiteral("nothing") : board);
    }
    said << pendingNews_;
    pendingSteps_.clear();
    pendingNews_.clear();
    if (!said.isEmpty()) announcer_->announce(said.join(QStringLiteral(". ")));
}

QString GamePanel::rowTitle(int row) const {
    return playerTitle(shownRows_[static_cast<std::size_t>(row)].name,
                       rows_[static_cast<std::size_t>(row)].seat);
}

void GamePanel::showWinner(const QString& text) {
    if (labelWinner1_->accessibleName() == text) return;
    // The whole sentence shows for any name: the font shrinks to fit it, and a name too long even
    // for the smallest size is shortened, never the words after it.
    static const QString sentence = QStringLiteral(" has won the game!");
    const int room = labelWinner1_->contentsRect().width();
    QFont font = labelWinner1_->font();
    QString shown = text;
    for (int px = kWinnerFontPx; px >= kWinnerMinFontPx; --px) {
        font.setPixelSize(px);
        if (QFontMetrics(font).horizontalAdvance(text) <= room) break;
    }
    const QFontMetrics metrics(font);
    if (metrics.horizontalAdvance(text) > room) {
        const bool named = text.endsWith(sentence);
        const QString name = named ? text.left(text.size() - sentence.size()) : text;
        const int tail = named ? metrics.horizontalAdvance(sentence) : 0;
        shown = metrics.elidedText(name, Qt::ElideRight, room - tail) + (named ? sentence : QString());
    }
    for (QLabel* label : {labelWinner1_, labelWinner2_}) {
        label->setFont(font);
        setName(label, text);
        setPlainText(label, shown);
        const QString tip = shown == text ? QString() : text;
        if (label->toolTip() != tip) label->setToolTip(tip);
    }
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
    const QString who = playerTitle(view.name, seat);
    setElidedText(r.name, fromUtf8(view.name));
    r.name->setVisible(view.nameVisible);
    const QString score = fromUtf8(view.score);
    setElidedText(r.score, score, possessive(who) + QStringLiteral(" score: ") + score);
    r.score->setVisible(view.scoreVisible);
    const QString status = fromUtf8(view.status);
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
        same = listboxMywords_->item(i)->text() == fromUtf8(words[static_cast<std::size_t>(i)]);
    if (same) return;
    listboxMywords_->clear();
    for (const std::string& word : words)
        listboxMywords_->addItem(fromUtf8(word));
}

std::vector<SlotWidget*> GamePanel::rowSlots(SlotFamily family) const {
    std::vector<SlotWidget*> row;
    const int count = family == SlotFamily::Extra ? 6 : 10;
    for (int n = 1; n <= count; ++n)
        row.push_back(family == SlotFamily::MyLetter    ? myletter_[n]
                      : family == SlotFamily::HisLetter ? hisletter_[n]
                                                        : extra_[n]);
    return row;
}

void GamePanel::placeInTabOrderAfter(QWidget* previous) {
    // The slots follow `previous` in one run, and only the focus slot is a tab stop, so Tab
    // enters the board once and leaves it with the next Tab.
    std::vector<SlotWidget*> order;
    for (SlotFamily family : {SlotFamily::HisLetter, SlotFamily::MyLetter, SlotFamily::Extra})
        for (SlotWidget* slot : rowSlots(family))
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

void GamePanel::setCurrent(SlotWidget* slot, bool giveFocus) {
    SlotWidget* old = current_;
    current_ = slot;
    slot->setFocusPolicy(Qt::TabFocus);
    if (giveFocus && !slot->hasFocus()) slot->setFocus(Qt::OtherFocusReason);
    if (old != nullptr && old != slot) old->setFocusPolicy(Qt::NoFocus);
}

void GamePanel::keyPressEvent(QKeyEvent* event) {
    if (current_ == nullptr || !current_->hasFocus()) {
        QWidget::keyPressEvent(event);
        return;
    }
    bool handled = true;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
        handled = moveFocus(event->key());
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        current_->act(MouseButton::Left);
        break;
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        current_->act(MouseButton::Right);
        break;
    case Qt::Key_Escape:
        if (dragging_)
            endDrag();
        else if (selection().any())
            cancelSelection();
        else
            handled = false;
        break;
    default: {
        const QString text = event->text();
        const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        const char c = text.size() == 1 ? text[0].toLatin1() : '\0';
        if (plain && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')))
            handled = pickLetter((c | 0x20) - 'a' + 1);
        else
            handled = false;
    }
    }
    if (handled)
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

bool GamePanel::moveFocus(int key) {
    const std::vector<SlotWidget*> row = rowSlots(current_->family());
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
        static constexpr SlotFamily rows[] = {SlotFamily::HisLetter, SlotFamily::MyLetter, SlotFamily::Extra};
        const int at =
            static_cast<int>(std::find(std::begin(rows), std::end(rows), current_->family()) - rows);
        const int to = at + (key == Qt::Key_Up ? -1 : 1);
        if (to < 0 || to > 2) break;
        const int x = current_->geometry().center().x();
        int best = INT_MAX;
        for (SlotWidget* slot : rowSlots(rows[to])) {
            const int distance = std::abs(slot->geometry().center().x() - x);
            if (distance < best) best = distance, next = slot;
        }
    }
    }
    setCurrent(next, true);
    return true;
}

bool GamePanel::pickLetter(int code) {
    // On the own board a letter picks a board tile; anywhere else, a hand tile.
    const SlotFamily family =
        current_->family() == SlotFamily::MyLetter ? SlotFamily::MyLetter : SlotFamily::Extra;
    SlotWidget* tile = nullptr;
    for (SlotWidget* slot : rowSlots(family))
        if (tile == nullptr && slot->shownCode() == code) tile = slot;
    if (tile == nullptr) return true;
    setCurrent(tile, true);
    const Selection picked = selection();
    if (family == SlotFamily::Extra) {
        // A click on the picked hand tile would drop it again.
        if (picked.hand != tile->number()) tile->act(MouseButton::Left);
    } else if (picked.board != tile->number()) {
        // With another tile picked, a click on the board would move a letter there.
        if (picked.any()) cancelSelection();
        tile->act(MouseButton::Left);
    }
    return true;
}

void GamePanel::cancelSelection() {
    // There is no click that drops a picked board or opponent tile, but picking a hand tile drops
    // any other pick and a second click on it drops that one too.
    if (selection().hand == 0) {
        for (int n = 1; n <= 6; ++n)
            if (extra_[n]->y() == kExtraTop) {
                extra_[n]->act(MouseButton::Left);
                break;
            }
    }
    // A picked hand tile that stands back in its row is lifted by the first click, dropped by the next.
    for (int tries = 0; tries < 2 && selection().hand != 0; ++tries)
        extra_[selection().hand]->act(MouseButton::Left);
}

bool GamePanel::eventFilter(QObject* watched, QEvent* event) {
    auto* slot = qobject_cast<SlotWidget*>(watched);
    if (slot == nullptr || slot->parent() != this) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() == Qt::LeftButton) {
            pressedSlot_ = slot;
            pressAt_ = slot->mapToParent(e->position().toPoint());
        }
        // While the board has the keyboard, the focus follows the mouse's clicks on it.
        if (current_ != nullptr && current_->hasFocus()) setCurrent(slot, true);
        break;
    }
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (slot != pressedSlot_ || !(e->buttons() & Qt::LeftButton)) break;
        const QPoint at = slot->mapToParent(e->position().toPoint());
        if (!dragging_) {
            if ((at - pressAt_).manhattanLength() < QApplication::startDragDistance() || !canDrag(slot))
                break;
            dragging_ = true;
            slot->setDragSource(true);
            static_cast<CarriedTile*>(carried_)->carry(slot->shownCode());
            carried_->raise();
            carried_->show();
        }
        dragTo(at);
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() != Qt::LeftButton || slot != pressedSlot_) break;
        if (!dragging_) {
            pressedSlot_ = nullptr;
            break;
        }
        const Drop target = dropAt(slot, slot->mapToParent(e->position().toPoint()));
        endDrag();
        drop(slot, target);
        // The slot still sees its release: a tile dropped back on its own slot was a plain click.
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

bool GamePanel::canDrag(const SlotWidget* source) const {
    if (source->shownCode() == 0) return false;
    // The press on a board tile was a click: it picked the tile, or, with another tile picked,
    // it already made a move, and then there is nothing left to drag.
    return source->family() != SlotFamily::MyLetter || selection().board == source->number();
}

GamePanel::Drop GamePanel::dropAt(const SlotWidget* source, QPoint at) const {
    for (int n = 1; n <= 10; ++n)
        if (myletter_[n]->geometry().contains(at))
            return myletter_[n] == source ? Drop{} : Drop{DropKind::Board, myletter_[n]};
    if (source->family() != SlotFamily::HisLetter && kTrashArea.contains(at))
        return {DropKind::Trash, nullptr};
    return {};
}

void GamePanel::dragTo(QPoint at) {
    // The tile stays under the pointer where it was taken hold of.
    carried_->move(at - (pressAt_ - pressedSlot_->pos()));
    showDrop(dropAt(pressedSlot_, at));
}

void GamePanel::showDrop(const Drop& drop) {
    if (shownDrop_.slot != drop.slot) {
        if (shownDrop_.slot != nullptr) shownDrop_.slot->setDropTarget(false);
        if (drop.slot != nullptr) drop.slot->setDropTarget(true);
    }
    if ((shownDrop_.kind == DropKind::Trash) != (drop.kind == DropKind::Trash)) update(kTrashArea);
    shownDrop_ = drop;
}

void GamePanel::endDrag() {
    if (pressedSlot_ != nullptr) pressedSlot_->setDragSource(false);
    pressedSlot_ = nullptr;
    dragging_ = false;
    carried_->hide();
    showDrop({});
}

void GamePanel::drop(SlotWidget* source, const Drop& target) {
    // Each drop is the clicks that make the same move: pick the tile (unless the press already
    // picked it), then click where it goes; throwing away is the right click.
    const int n = source->number();
    switch (target.kind) {
    case DropKind::None:
        return;
    case DropKind::Trash:
        source->act(MouseButton::Right);
        return;
    case DropKind::Board:
        break;
    }
    switch (source->family()) {
    case SlotFamily::Extra:
        if (selection().hand != n) source->act(MouseButton::Left);
        if (selection().hand == n) target.slot->act(MouseButton::Left);
        break;
    case SlotFamily::MyLetter:
        if (selection().board == n) target.slot->act(MouseButton::Left);
        break;
    case SlotFamily::HisLetter:
        if (selection().opponent != n) source->act(MouseButton::Left);
        if (selection().opponent == n) target.slot->act(MouseButton::Left);
        break;
    }
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
    const bool lit = shownDrop_.kind == DropKind::Trash;
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
