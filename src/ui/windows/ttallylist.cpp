#include "ui/windows/ttallylist.h"

#include <QDir>
#include <QFile>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QMetaObject>
#include <QPersistentModelIndex>
#include <QPushButton>
#include <QSaveFile>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>

#include "ui/common/qtext.h"
#include "ui/common/windowplacement.h"
#include "core/settings/regularfile.h"
#include "core/tally/lzrw1kh.h"
#include "core/tally/tallytext.h"
#include "ui/windows/resultchart.h"
#include "ui/windows/ticklist.h"

namespace plimb {

namespace {

int clampToInt(long long v) {
    return static_cast<int>(
        std::clamp<long long>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// A value label; its caption is read out with it.
QLabel* valueLabel(QWidget* parent, const char* name, const QString& text, const QString& caption) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAccessibleDescription(caption);
    label->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    return label;
}

TickList* tickList(QWidget* parent, const char* name, const QString& accessibleName) {
    auto* list = new TickList(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setAccessibleName(accessibleName);
    return list;
}

} // namespace

Ttallylist::Ttallylist(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName(QStringLiteral("Ttallylist"));
    setWindowTitle(QStringLiteral("Plimb - Tally List"));
    ask_ = [this](const QString& text) {
        return QMessageBox::question(this, QStringLiteral("Confirm"), text,
                                     QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    };
    resize(480, 380);
}

void Ttallylist::setRecords(std::function<RecordListing()> source) {
    records_ = std::move(source);
    // Room for the chart and the whole rows of the games list beside the counts.
    resize(860, 440);
}

void Ttallylist::setVisible(bool visible) {
    if (visible) build();
    QWidget::setVisible(visible);
}

void Ttallylist::build() {
    if (built()) return;
    auto* root = new QHBoxLayout(this);

    auto* left = new QVBoxLayout;
    auto* followedCaption = new QLabel(QStringLiteral("Players Being Tallied"), this);
    listbox_tally = tickList(this, "listbox_tally", QStringLiteral("Players Being Tallied"));
    followedCaption->setBuddy(listbox_tally);
    left->addWidget(followedCaption);
    left->addWidget(listbox_tally);
    root->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    auto* own = new QGroupBox(QStringLiteral("Your Total Tally"), this);
    auto* ownGrid = new QGridLayout(own);
    auto ownRow = [&](int row, const QString& caption, const char* name, const QString& text) {
        ownGrid->addWidget(new QLabel(caption, own), row, 0);
        QLabel* value = valueLabel(own, name, text, caption);
        ownGrid->addWidget(value, row, 1);
        return value;
    };
    mylabel_1 = ownRow(0, QStringLiteral("Total Games:"), "mylabel_1", QStringLiteral("0"));
    mylabel_2 = ownRow(1, QStringLiteral("Your Wins:"), "mylabel_2", QStringLiteral("0"));
    mylabel_3 = ownRow(2, QStringLiteral("Longest Word:"), "mylabel_3", QStringLiteral("None"));
    mylabel_5 = ownRow(3, QStringLiteral("Best Scoring:"), "mylabel_5", QStringLiteral("None"));
    mylabel_7 = ownRow(4, QStringLiteral("Total Words:"), "mylabel_7", QStringLiteral("0"));
    ownGrid->setColumnStretch(1, 1);
    right->addWidget(own);

    auto* his = new QFrame(this);
    his->setFrameShape(QFrame::StyledPanel);
    auto* hisLayout = new QVBoxLayout(his);
    label_hisnametop = new QLabel(his);
    label_hisnametop->setObjectName(QStringLiteral("label_hisnametop"));
    hisLayout->addWidget(label_hisnametop);
    auto* hisGrid = new QGridLayout;
    hisGrid->addWidget(new QLabel(QStringLiteral("Total"), his), 0, 1);
    hisGrid->addWidget(new QLabel(QStringLiteral("Session"), his), 0, 2);
    label_hisname = new QLabel(QStringLiteral("XX Wins:"), his);
    label_hisname->setObjectName(QStringLiteral("label_hisname"));
    QLabel* rowCaptions[4] = {new QLabel(QStringLiteral("Number of Games:"), his), label_hisname,
                              new QLabel(QStringLiteral("Your Wins:"), his),
                              new QLabel(QStringLiteral("Neither Won:"), his)};
    for (int row = 0; row < 4; ++row) {
        hisGrid->addWidget(rowCaptions[row], row + 1, 0);
        for (int session = 0; session < 2; ++session) {
            const int number = row + 1 + 4 * session;
            const QString name = QStringLiteral("label_%1").arg(number);
            QLabel* value = valueLabel(his, name.toLatin1().constData(), QStringLiteral("0"),
                                       rowCaptions[row]->text() +
                                           (session ? QStringLiteral(" Session") : QStringLiteral(" Total")));
            label_[static_cast<std::size_t>(number - 1)] = value;
            hisGrid->addWidget(value, row + 1, 1 + session);
        }
    }
    // Games won by neither player are counted but not shown.
    rowCaptions[3]->hide();
    label_[3]->hide();
    label_[7]->hide();
    hisLayout->addLayout(hisGrid);
    right->addWidget(his);

    auto* currentCaption = new QLabel(QStringLiteral("Player In Current Game (Click to Start Tally)"), this);
    checklist = tickList(this, "checklist", QStringLiteral("Player In Current Game"));
    currentCaption->setBuddy(checklist);
    right->addWidget(currentCaption);
    right->addWidget(checklist);

    auto* buttons = new QHBoxLayout;
    FlatButton2 = new QPushButton(QStringLiteral("Reset Tally"), this);
    FlatButton2->setObjectName(QStringLiteral("FlatButton2"));
    FlatButton1 = new QPushButton(QStringLiteral("Ok"), this);
    FlatButton1->setObjectName(QStringLiteral("FlatButton1"));
    buttons->addWidget(FlatButton2);
    buttons->addStretch(1);
    buttons->addWidget(FlatButton1);
    right->addLayout(buttons);
    root->addLayout(right, 1);
    if (records_) {
        history_ = new OpponentGames(records_, this);
        root->addWidget(history_, 2);
        connect(history_, &OpponentGames::replayRequested, this, &Ttallylist::replayRequested);
    }

    connect(FlatButton1, &QPushButton::clicked, this, &QWidget::hide);
    connect(FlatButton2, &QPushButton::clicked, this, &Ttallylist::FlatButton2Click);
    connect(checklist, &QListWidget::itemChanged, this, &Ttallylist::checklistClickCheck);
    connect(listbox_tally, &QListWidget::itemChanged, this, &Ttallylist::listbox_tallyClickCheck);
    connect(listbox_tally, &QListWidget::currentRowChanged, this, &Ttallylist::listbox_tallyClick);

    showOwnTotals();
    fillFollowed();
    fillCurrent();
}

void Ttallylist::showOwnTotals() {
    if (!built()) return;
    const OwnTallyLabels own = tally_.ownLabels();
    mylabel_1->setText(toQString(own.totalGames));
    mylabel_2->setText(toQString(own.yourWins));
    mylabel_3->setText(toQString(own.longestWord));
    mylabel_5->setText(toQString(own.bestScoring));
    mylabel_7->setText(toQString(own.totalWords));
}

void Ttallylist::fillFollowed() {
    if (!built()) return;
    listbox_tally->clearQuietly();
    for (const std::string& name : tally_.followedNames())
        listbox_tally->addTickItem(toQString(name), true);
}

void Ttallylist::addword(const std::string& word, int value, int column) {
    tally_.addword(word, value, column);
    showOwnTotals();
}

void Ttallylist::anotherword(int column) {
    tally_.anotherword(column);
    showOwnTotals();
}

int Ttallylist::longestWordRecord() const {
    return clampToInt(tally_.longestWordRecord());
}

int Ttallylist::bestScoreRecord() const {
    return clampToInt(tally_.bestScoreRecord());
}

void Ttallylist::loadchecklist(const std::vector<std::string>& opponentNames) {
    current_ = opponentNames;
    fillCurrent();
}

void Ttallylist::fillCurrent() {
    if (!built()) return;
    checklist->clearQuietly();
    for (const std::string& name : current_)
        checklist->addTickItem(toQString(name), tally_.followedPosition(name).has_value());
}

void Ttallylist::addgame(const std::string& winnerText) {
    tally_.addgame(winnerText, current_);
    showOwnTotals();
    listbox_tallyClick();
    if (!filePath_.isEmpty()) save(filePath_);
}

void Ttallylist::addgame(const std::string& winnerText, const std::vector<std::string>& opponentNames) {
    loadchecklist(opponentNames);
    addgame(winnerText);
}

void Ttallylist::checklistClickCheck(QListWidgetItem* item) {
    // Unticking a followed name does not stop following it; that is done in the followed list.
    if (!tally_.follow(toStdString(item->text()))) return;
    listbox_tally->addTickItem(item->text(), true);
    checklist->setTickQuietly(item, true);
}

void Ttallylist::listbox_tallyClickCheck(QListWidgetItem* item) {
    if (item->checkState() == Qt::Checked) return;
    // Asked once the click or key press is over: a Yes removes the very item it toggled.
    const QPersistentModelIndex index(listbox_tally->indexFromItem(item));
    QMetaObject::invokeMethod(
        this, [this, index] { askToStopFollowing(index); }, Qt::QueuedConnection);
}

void Ttallylist::askToStopFollowing(const QPersistentModelIndex& index) {
    QListWidgetItem* item = index.isValid() ? listbox_tally->itemFromIndex(index) : nullptr;
    if (item == nullptr || item->checkState() == Qt::Checked) return;
    if (ask_(QStringLiteral("This will delete %1's Tally, Are you want to delete it?").arg(item->text()))) {
        const int position = listbox_tally->row(item);
        tally_.stopFollowing(position);
        delete listbox_tally->takeItem(position);
        listbox_tallyClick();
    } else {
        listbox_tally->setTickQuietly(item, true);
    }
}

void Ttallylist::listbox_tallyClick() {
    if (!built()) return;
    const int position = listbox_tally->currentRow();
    const bool picked = position >= 0 && position + 1 < tally_.grid().rowCount();
    // After the notice that counted a game has been handled, so that game's record is closed
    // and is shown as it ended.
    if (history_)
        QTimer::singleShot(0, history_, [history = history_, name = picked ? listbox_tally->item(position)->text() : QString()] {
            history->showOpponent(name);
        });
    if (!picked) return;
    const OpponentTallyLabels his = tally_.opponentLabels(position);
    label_hisnametop->setText(toQString(his.hisnametop));
    label_hisname->setText(toQString(his.hisname));
    for (std::size_t i = 0; i < label_.size(); ++i)
        label_[i]->setText(toQString(his.counts[i]));
}

void Ttallylist::FlatButton2Click() {
    if (!ask_(QStringLiteral("Are you sure you want to reset the Tally?"))) return;
    tally_.reset();
    showOwnTotals();
    fillFollowed();
    for (QLabel* label : label_)
        label->setText(QStringLiteral("0"));
}

void Ttallylist::showOver(QWidget* mainWindow) {
    build(); // placed at the size its widgets give it
    showWindowOver(*this, mainWindow);
}

std::optional<QString> Ttallylist::load(const QString& filePath) {
    filePath_ = filePath;
    damaged_ = false;
    const QString shownPath = QDir::toNativeSeparators(filePath);
    const auto cannotOpen = [&](const QString& why) {
        damaged_ = true;
        return QStringLiteral("Cannot open file \"%1\". %2").arg(shownPath, why);
    };
    // Anything longer than the longest text the reader accepts, with its container, is damaged.
    RegularFileRead file =
        readRegularFile(QFile::encodeName(filePath).toStdString(), kMaxTallyTextLength + 65536);
    switch (file.status) {
    case RegularFileRead::Status::Missing:
        return std::nullopt;
    case RegularFileRead::Status::NotRegular:
        return cannotOpen(QStringLiteral("It is not a regular file."));
    case RegularFileRead::Status::TooLarge:
        return cannotOpen(QStringLiteral("It is larger than any tally file."));
    case RegularFileRead::Status::Failed:
        return cannotOpen(QString::fromLocal8Bit(std::strerror(file.error)));
    case RegularFileRead::Status::Read:
        break;
    }
    TallyFileRead read = readTallyFile(file.bytes, toStdString(shownPath));
    if (read.error) {
        damaged_ = true;
        return toQString(*read.error);
    }
    tally_.loadtally(std::move(read.grid));
    showOwnTotals();
    fillFollowed();
    return std::nullopt;
}

bool Ttallylist::save(const QString& filePath) {
    // The first write over a file that could not be read moves it aside first, so the record it
    // may still hold can be recovered by hand; a damaged file from an earlier run makes way for it.
    if (damaged_ && filePath == filePath_) {
        const QByteArray from = QFile::encodeName(filePath);
        const QByteArray aside = QFile::encodeName(filePath + QLatin1String(kDamagedSuffix));
        if (std::rename(from.constData(), aside.constData()) != 0 && errno != ENOENT) return false;
        damaged_ = false;
    }
    const std::string bytes = tallyFileBytes(tally_.grid());
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace plimb
