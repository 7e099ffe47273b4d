#include "ui/board/tgamestart.h"

#include "ui/common/tileart.h"
#include "ui/common/windowplacement.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadialGradient>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>

namespace plimb {

UpDownField::UpDownField(int minimum, int maximum, int step, int initial, QWidget* parent)
    : QWidget(parent), minimum_(minimum), maximum_(maximum), step_(step), edit_(new QLineEdit(this)),
      up_(new QToolButton(this)), down_(new QToolButton(this)) {
    edit_->setReadOnly(true);
    edit_->setText(QString::number(initial));
    edit_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edit_->setFixedWidth(64);
    edit_->installEventFilter(this);

    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    up_->setAccessibleName(QStringLiteral("Up"));
    down_->setAccessibleName(QStringLiteral("Down"));
    for (QToolButton* b : {up_, down_}) {
        b->setAutoRepeat(true);
        b->setFixedSize(18, 12);
        b->setFocusPolicy(Qt::NoFocus);
    }
    connect(up_, &QToolButton::clicked, this, [this] { stepUp(); });
    connect(down_, &QToolButton::clicked, this, [this] { stepDown(); });

    auto* arrows = new QVBoxLayout;
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    arrows->addWidget(up_);
    arrows->addWidget(down_);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    row->addWidget(edit_);
    row->addLayout(arrows);
}

QString UpDownField::text() const {
    return edit_->text();
}

void UpDownField::setText(const QString& text) {
    edit_->setText(text);
}

void UpDownField::stepBy(int direction) {
    // Text that is not a number, or lies outside the range, steps from the nearest limit.
    bool ok = false;
    const int current = edit_->text().trimmed().toInt(&ok);
    const int base = ok ? std::clamp(current, minimum_, maximum_) : minimum_;
    const int next = std::clamp(base + direction * step_, minimum_, maximum_);
    const QString text = QString::number(next);
    if (edit_->text() != text) edit_->setText(text);
}

bool UpDownField::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            stepBy(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    if (watched == edit_ && event->type() == QEvent::Wheel) {
        const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
        if (delta != 0) stepBy(delta > 0 ? 1 : -1);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

Tgamestart::Tgamestart(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      playto_(new UpDownField(100, 1000, 50, GameOptionTexts::kPlayToScore, this)),
      time_(new UpDownField(20, 120, 5, GameOptionTexts::kTimePerTurn, this)),
      steals_(new UpDownField(0, 20, 1, GameOptionTexts::kSteals, this)),
      checkboxUnlimited_(new QCheckBox(this)), buttonStart_(new QPushButton(this)) {
    setObjectName(QStringLiteral("Tgamestart"));
    setWindowTitle(QStringLiteral("Plimb - Game Start"));

    playto_->setObjectName(QStringLiteral("UpDown1"));
    playto_->edit()->setObjectName(QStringLiteral("edit_playtoscore"));
    time_->setObjectName(QStringLiteral("UpDown2"));
    time_->edit()->setObjectName(QStringLiteral("edit_creationtime"));
    steals_->setObjectName(QStringLiteral("UpDown3"));
    steals_->edit()->setObjectName(QStringLiteral("edit_steals"));

    auto* heading = new QLabel(QStringLiteral("Game Options"), this);
    heading->setObjectName(QStringLiteral("heading"));
    heading->setFont(TileArt::font(17, QFont::Bold));
    heading->setAlignment(Qt::AlignCenter);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(8);
    const std::pair<const char*, UpDownField*> fields[] = {
        {"Play to Score:", playto_}, {"Time Per Turn:", time_}, {"# of Steals::", steals_}};
    int row = 0;
    for (const auto& [caption, field] : fields) {
        auto* label = new QLabel(QString::fromLatin1(caption), this);
        label->setFont(TileArt::font(13, QFont::DemiBold));
        label->setBuddy(field->edit());
        field->edit()->setAccessibleName(label->text());
        grid->addWidget(label, row, 0, Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(field, row, 1, Qt::AlignLeft | Qt::AlignVCenter);
        ++row;
    }

    checkboxUnlimited_->setObjectName(QStringLiteral("checkbox_unlimited"));
    checkboxUnlimited_->setText(QStringLiteral("Unlimited Steals"));
    checkboxUnlimited_->setFont(TileArt::font(13, QFont::DemiBold));
    checkboxUnlimited_->setChecked(GameOptionTexts{}.unlimited);

    buttonStart_->setObjectName(QStringLiteral("button_start"));
    buttonStart_->setText(QStringLiteral("Start Game"));
    buttonStart_->setFont(TileArt::font(13, QFont::Bold));
    buttonStart_->setDefault(true);
    buttonStart_->setMinimumHeight(32);
    buttonStart_->setCursor(Qt::PointingHandCursor);
    connect(buttonStart_, &QPushButton::clicked, this, &Tgamestart::buttonStartClick);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(22, 16, 22, 18);
    layout->setSpacing(12);
    layout->addWidget(heading);
    layout->addLayout(grid);
    layout->addWidget(checkboxUnlimited_, 0, Qt::AlignHCenter);
    layout->addWidget(buttonStart_);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setStyleSheet(QStringLiteral(
        "QLabel, QCheckBox { color: #F6E9CC; }"
        "QLabel#heading { color: #F2C96B; }"
        "QLineEdit { background: #FBF3E0; color: #3A2210; border: 1px solid #B8925A; border-radius: 3px; "
        "padding: 2px 4px; font-weight: bold; }"
        "QToolButton { background: #E8C07D; border: 1px solid #8A5A24; border-radius: 2px; }"
        "QToolButton:pressed { background: #C4861C; }"
        "QPushButton { color: #3A2210; border: 1px solid #6E4208; border-radius: 7px; padding: 4px 18px; "
        "background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #FFE79A, stop:0.5 #F0B83C, stop:1 "
        "#C4861C); }"
        "QPushButton:pressed { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #C4861C, stop:1 "
        "#F0B83C); }"));
}

QString Tgamestart::playToScoreText() const {
    return playto_->text();
}
void Tgamestart::setPlayToScoreText(const QString& text) {
    playto_->setText(text);
}
QString Tgamestart::timePerTurnText() const {
    return time_->text();
}
void Tgamestart::setTimePerTurnText(const QString& text) {
    time_->setText(text);
}
QString Tgamestart::stealsText() const {
    return steals_->text();
}
void Tgamestart::setStealsText(const QString& text) {
    steals_->setText(text);
}
bool Tgamestart::unlimited() const {
    return checkboxUnlimited_->isChecked();
}
void Tgamestart::setUnlimited(bool on) {
    checkboxUnlimited_->setChecked(on);
}

GameOptionTexts Tgamestart::options() const {
    return {playToScoreText(), timePerTurnText(), stealsText(), unlimited()};
}

void Tgamestart::setOptions(const GameOptionTexts& options) {
    setPlayToScoreText(options.playToScore);
    setTimePerTurnText(options.timePerTurn);
    setStealsText(options.steals);
    setUnlimited(options.unlimited);
}

void Tgamestart::showOver(QWidget* mainWindow) {
    adjustSize();
    showWindowOver(*this, mainWindow);
}

void Tgamestart::buttonStartClick() {
    emit startRequested(time_->text(), playto_->text(), steals_->text(), checkboxUnlimited_->isChecked());
    hide();
}

void Tgamestart::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        buttonStart_->click();
        break;
    case Qt::Key_Escape:
        hide();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void Tgamestart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QRadialGradient felt(QPointF(width() * 0.35, height() * 0.3), std::max(width(), height()));
    felt.setColorAt(0.0, QColor(0x2A, 0x6A, 0x4E));
    felt.setColorAt(0.6, QColor(0x1C, 0x4C, 0x38));
    felt.setColorAt(1.0, QColor(0x12, 0x33, 0x26));
    p.fillRect(rect(), felt);
}

} // namespace plimb
