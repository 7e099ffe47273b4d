#include "ui/windows/treplay.h"

#include <QComboBox>
#include <algorithm>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include "ui/board/gamepanel.h"
#include "ui/chat/transcriptview.h"

namespace plimb {

namespace {
// A game's long silences (a player thinking) are kept at 1x, as they were.
constexpr int kSpeeds[] = {1, 4};
} // namespace

Treplay::Treplay(GameRecord record, const QString& title, QWidget* parent)
    : QWidget(parent, Qt::Window), replay_(std::move(record)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(title);
    setObjectName(QStringLiteral("Treplay"));

    panel_ = new GamePanel(this);
    chat_ = new TranscriptView(this);
    chat_->setAccessibleName(QStringLiteral("Chat of the game"));
    chat_->setMinimumHeight(120);

    back_ = new QPushButton(QStringLiteral("Turn Back"), this);
    play_ = new QPushButton(QStringLiteral("Play"), this);
    forward_ = new QPushButton(QStringLiteral("Turn Forward"), this);
    back_->setToolTip(QStringLiteral("Back to the start of this turn (Left)"));
    play_->setToolTip(QStringLiteral("Play or pause (P)"));
    forward_->setToolTip(QStringLiteral("On to the next turn (Right)"));
    speed_ = new QComboBox(this);
    for (const int s : kSpeeds)
        speed_->addItem(QStringLiteral("%1x").arg(s));
    speed_->setAccessibleName(QStringLiteral("Speed"));
    slider_ = new QSlider(Qt::Horizontal, this);
    slider_->setAccessibleName(QStringLiteral("Moment of the game"));
    slider_->setRange(static_cast<int>(replay_.firstMoment()), static_cast<int>(replay_.lastMoment()));
    slider_->setPageStep(10);
    slider_->setFocusPolicy(Qt::StrongFocus);
    where_ = new QLabel(this);
    where_->setObjectName(QStringLiteral("where"));

    auto* controls = new QHBoxLayout;
    controls->addWidget(back_);
    controls->addWidget(play_);
    controls->addWidget(forward_);
    auto* speedCaption = new QLabel(QStringLiteral("&Speed:"), this);
    speedCaption->setBuddy(speed_);
    controls->addWidget(speedCaption);
    controls->addWidget(speed_);
    controls->addWidget(slider_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel_, 0, Qt::AlignHCenter);
    layout->addLayout(controls);
    layout->addWidget(where_);
    layout->addWidget(chat_, 1);
    setTabOrder(play_, forward_);
    setTabOrder(forward_, back_);
    setTabOrder(back_, speed_);
    setTabOrder(speed_, slider_);
    setTabOrder(slider_, chat_);

    const auto key = [this](QKeySequence keys, auto act) {
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, act);
    };
    key(QKeySequence(Qt::Key_Left), [this] { stepBack(); });
    key(QKeySequence(Qt::Key_Right), [this] { stepForward(); });
    // Not Space: that presses whichever button has the focus, as everywhere else.
    key(QKeySequence(Qt::Key_P), [this] { togglePlay(); });
    key(QKeySequence(Qt::Key_Home), [this] { seek(replay_.firstMoment()); });
    key(QKeySequence(Qt::Key_End), [this] { seek(replay_.lastMoment()); });
    key(QKeySequence(QKeySequence::Close), [this] { close(); });
    key(QKeySequence(Qt::Key_Escape), [this] { close(); });

    connect(back_, &QPushButton::clicked, this, &Treplay::stepBack);
    connect(forward_, &QPushButton::clicked, this, &Treplay::stepForward);
    connect(play_, &QPushButton::clicked, this, &Treplay::togglePlay);
    connect(slider_, &QSlider::valueChanged, this, [this](int value) { seek(static_cast<std::size_t>(value)); });
    connect(speed_, &QComboBox::currentIndexChanged, this, [this] {
        if (playing()) schedule();
    });
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &Treplay::playOne);

    showMoment(false);
    play_->setFocus();
}

int Treplay::speed() const {
    return kSpeeds[std::clamp(speed_->currentIndex(), 0, static_cast<int>(std::size(kSpeeds)) - 1)];
}

void Treplay::stepBack() {
    timer_.stop();
    replay_.stepBack();
    showMoment(false);
}

void Treplay::stepForward() {
    timer_.stop();
    replay_.stepForward();
    showMoment(true);
}

void Treplay::seek(std::size_t moment) {
    if (moment == replay_.position()) return;
    const bool next = moment == replay_.position() + 1;
    if (next)
        replay_.forward();
    else
        replay_.seek(moment);
    showMoment(next);
}

void Treplay::togglePlay() {
    if (playing()) {
        timer_.stop();
    } else {
        if (replay_.atEnd()) replay_.seek(replay_.firstMoment());
        showMoment(false);
        schedule();
    }
    play_->setText(playing() ? QStringLiteral("Pause") : QStringLiteral("Play"));
}

void Treplay::schedule() {
    if (replay_.atEnd()) {
        timer_.stop();
        play_->setText(QStringLiteral("Play"));
        return;
    }
    timer_.start(static_cast<int>(std::min<std::int64_t>(replay_.msToNext() / speed(), 3'600'000)));
}

void Treplay::playOne() {
    replay_.forward();
    showMoment(true);
    schedule();
}

void Treplay::showMoment(bool played) {
    {
        const QSignalBlocker quiet(slider_);
        slider_->setValue(static_cast<int>(replay_.position()));
    }
    const QString where = QString::fromStdString(replay_.momentText());
    where_->setText(where);
    slider_->setAccessibleDescription(where);
    back_->setEnabled(replay_.position() > replay_.firstMoment());
    forward_->setEnabled(!replay_.atEnd());

    if (replay_.chatLines() < chatShown_) {
        chat_->clearLines();
        chatShown_ = 0;
    }
    for (; chatShown_ < replay_.chatLines(); ++chatShown_) {
        const ReplayChatLine& line = replay_.chatLine(chatShown_);
        chat_->addLine(line.line, line.colour);
    }

    panel_->render(replay_.view());
    if (played) {
        panel_->animate(replay_.takeFeedback());
    } else {
        replay_.takeFeedback();
        panel_->announcer()->announce(where);
    }
}

} // namespace plimb
