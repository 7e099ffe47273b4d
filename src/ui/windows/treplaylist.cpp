#include "ui/windows/treplaylist.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace plimb {

namespace {
constexpr int kFileRole = Qt::UserRole;
QString q(const std::string& s) { return QString::fromStdString(s); }
} // namespace

QString startedText(std::int64_t startedMs) {
    return QLocale().toString(QDateTime::fromMSecsSinceEpoch(startedMs).toLocalTime(),
                              QStringLiteral("d MMM yyyy H:mm"));
}

Treplaylist::Treplaylist(Source source, QWidget* parent) : QDialog(parent), source_(std::move(source)) {
    setWindowTitle(QStringLiteral("Plimb - Replay a Game"));
    setObjectName(QStringLiteral("Treplaylist"));
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("games"));
    list_->setAccessibleName(QStringLiteral("Kept games"));
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setHeaderLabels({QStringLiteral("When"), QStringLiteral("Opponent"), QStringLiteral("Score"),
                            QStringLiteral("Winner"), QStringLiteral("Words")});
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    skipped_ = new QLabel(this);
    skipped_->setWordWrap(true);
    skipped_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    open_ = new QPushButton(QStringLiteral("Replay"), this);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    // Return on the list opens its game through the list itself; a default button would take the
    // same key press as well and open the game twice.
    for (QPushButton* button : {open_, close})
        button->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(open_);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addWidget(skipped_);
    layout->addLayout(buttons);
    resize(560, 380);

    connect(open_, &QPushButton::clicked, this, &Treplaylist::openCurrent);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(list_, &QTreeWidget::itemActivated, this, &Treplaylist::openCurrent);
    connect(list_, &QTreeWidget::currentItemChanged, this,
            [this] { open_->setEnabled(list_->currentItem() != nullptr); });
    reload();
}

void Treplaylist::reload() {
    const RecordListing listing = source_();
    list_->clear();
    for (const ListedRecord& game : listing.games) {
        const RecordSummary& s = game.summary;
        auto* item = new QTreeWidgetItem(
            list_, {startedText(s.header.startedMs), q(s.opponent()), q(scoreText(s)), q(winnerText(s)),
                    QString::number(s.words)});
        item->setData(0, kFileRole, q(game.file));
    }
    if (list_->topLevelItemCount() > 0) list_->setCurrentItem(list_->topLevelItem(0));
    open_->setEnabled(list_->currentItem() != nullptr);
    QString note = listing.games.empty() ? QStringLiteral("No game is kept yet.") : QString();
    if (!listing.skipped.empty()) {
        QStringList names;
        for (const std::string& s : listing.skipped)
            names << q(s);
        note += (note.isEmpty() ? QString() : QStringLiteral(" ")) + QStringLiteral("Not listed: ") +
                names.join(QStringLiteral("; ")) + QStringLiteral(".");
    }
    skipped_->setText(note);
    skipped_->setVisible(!note.isEmpty());
}

void Treplaylist::openCurrent() {
    if (const QTreeWidgetItem* item = list_->currentItem())
        emit replayRequested(item->data(0, kFileRole).toString());
}

} // namespace plimb
