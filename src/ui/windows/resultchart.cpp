#include "ui/windows/resultchart.h"

#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cmath>

#include "ui/windows/treplaylist.h"

namespace plimb {

namespace {
constexpr int kFileRole = Qt::UserRole;
const QColor kWon(40, 140, 60);
const QColor kLost(190, 50, 40);
const QColor kShare(30, 80, 170);

QString outcomeText(RecordSummary::Outcome o) {
    switch (o) {
    case RecordSummary::Outcome::Won:
        return QStringLiteral("Won");
    case RecordSummary::Outcome::Lost:
        return QStringLiteral("Lost");
    case RecordSummary::Outcome::Unfinished:
        return QStringLiteral("Not finished");
    case RecordSummary::Outcome::Watched:
        break;
    }
    return QStringLiteral("Watched");
}
} // namespace

ResultChart::ResultChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("resultchart"));
    setAccessibleName(QStringLiteral("Results over time"));
    setToolTip(QStringLiteral("A green bar up for each game won, a red bar down for each game lost, oldest "
                              "first; the blue line is the share of the decided games won so far."));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ResultChart::setResults(std::vector<ResultPoint> results) {
    results_ = std::move(results);
    setAccessibleDescription(summary());
    update();
}

QString ResultChart::summary() const {
    if (results_.empty()) return QStringLiteral("No kept game against this player.");
    int won = 0, lost = 0, open = 0;
    for (const ResultPoint& p : results_)
        (p.outcome == RecordSummary::Outcome::Won ? won : p.outcome == RecordSummary::Outcome::Lost ? lost : open)++;
    QString text = QStringLiteral("%1 %2: %3 won, %4 lost")
                       .arg(results_.size())
                       .arg(results_.size() == 1 ? QStringLiteral("game") : QStringLiteral("games"))
                       .arg(won)
                       .arg(lost);
    if (open > 0) text += QStringLiteral(", %1 not finished").arg(open);
    if (const ResultPoint& last = results_.back(); last.decided > 0)
        text += QStringLiteral("; %1% of the decided games won").arg(std::lround(last.share() * 100));
    return text;
}

void ResultChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(38, 8, -8, -8);
    p.fillRect(rect(), palette().base());
    p.setPen(palette().mid().color());
    p.drawRect(area);
    // The share's scale: 0%, 50% and 100% at the left.
    p.setPen(palette().text().color());
    QFont small = font();
    small.setPointSizeF(font().pointSizeF() * 0.8);
    p.setFont(small);
    for (const int percent : {0, 50, 100}) {
        const qreal y = area.bottom() - area.height() * percent / 100.0;
        p.drawText(QRectF(0, y - 8, 34, 16), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("%1%").arg(percent));
    }
    const qreal middle = area.center().y();
    p.setPen(QPen(palette().mid().color(), 1, Qt::DotLine));
    p.drawLine(QPointF(area.left(), middle), QPointF(area.right(), middle));
    if (results_.empty()) return;

    const qreal step = area.width() / static_cast<qreal>(results_.size());
    const qreal bar = std::max<qreal>(1.0, std::min<qreal>(step * 0.6, 18.0));
    QPainterPath share;
    bool started = false;
    for (std::size_t i = 0; i < results_.size(); ++i) {
        const ResultPoint& r = results_[i];
        const qreal x = area.left() + step * (static_cast<qreal>(i) + 0.5);
        const qreal reach = area.height() * 0.3;
        if (r.outcome == RecordSummary::Outcome::Won)
            p.fillRect(QRectF(x - bar / 2, middle - reach, bar, reach), kWon);
        else if (r.outcome == RecordSummary::Outcome::Lost)
            p.fillRect(QRectF(x - bar / 2, middle, bar, reach), kLost);
        else {
            p.setPen(Qt::NoPen);
            p.setBrush(palette().mid());
            p.drawEllipse(QPointF(x, middle), 2.5, 2.5);
        }
        if (r.decided == 0) continue;
        const QPointF at(x, area.bottom() - area.height() * r.share());
        started ? share.lineTo(at) : share.moveTo(at);
        started = true;
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kShare, 2));
    p.drawPath(share);
}

OpponentGames::OpponentGames(Source source, QWidget* parent) : QWidget(parent), source_(std::move(source)) {
    caption_ = new QLabel(this);
    chart_ = new ResultChart(this);
    summary_ = new QLabel(this);
    summary_->setWordWrap(true);
    games_ = new QTreeWidget(this);
    games_->setObjectName(QStringLiteral("opponentgames"));
    games_->setAccessibleName(QStringLiteral("Games against this player"));
    games_->setRootIsDecorated(false);
    games_->setHeaderLabels({QStringLiteral("When"), QStringLiteral("Result"), QStringLiteral("Score")});
    games_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(caption_);
    layout->addWidget(chart_, 1);
    layout->addWidget(summary_);
    layout->addWidget(games_, 1);
    connect(games_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        emit replayRequested(item->data(0, kFileRole).toString());
    });
    showOpponent({});
}

void OpponentGames::showOpponent(const QString& opponent) {
    listing_ = opponent.isEmpty() ? RecordListing{} : source_();
    std::vector<ResultPoint> results = resultsAgainst(listing_, opponent.toStdString());
    caption_->setText(opponent.isEmpty() ? QStringLiteral("Pick a player to see the games against them.")
                                         : QStringLiteral("Games against %1 (double-click to replay)").arg(opponent));
    games_->clear();
    for (auto it = results.rbegin(); it != results.rend(); ++it) {
        const RecordSummary& s = it->game->summary;
        auto* item = new QTreeWidgetItem(games_, {startedText(s.header.startedMs), outcomeText(it->outcome),
                                                  QString::fromStdString(scoreText(s))});
        item->setData(0, kFileRole, QString::fromStdString(it->game->file));
    }
    chart_->setResults(std::move(results));
    summary_->setText(opponent.isEmpty() ? QString() : chart_->summary());
}

} // namespace plimb
