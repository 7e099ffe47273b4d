#pragma once
// The tally window's results over time against one opponent: a chart of the games (a bar up for
// a win, down for a loss, a dot for a game that did not end) under the running share of wins, and
// the list of those games, newest first, each opening its replay.
#include <QWidget>
#include <functional>
#include <vector>

#include "core/records/history.h"

class QLabel;
class QTreeWidget;

namespace plimb {

class ResultChart : public QWidget {
    Q_OBJECT
public:
    explicit ResultChart(QWidget* parent = nullptr);
    void setResults(std::vector<ResultPoint> results);
    // "12 games: 7 won, 4 lost, 1 not finished; 64% of the decided games won": the chart in words,
    // for its accessible description and for the caption under it.
    QString summary() const;
    QSize sizeHint() const override { return {320, 140}; }
    QSize minimumSizeHint() const override { return {160, 90}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<ResultPoint> results_;
};

class OpponentGames : public QWidget {
    Q_OBJECT
public:
    using Source = std::function<RecordListing()>;
    explicit OpponentGames(Source source, QWidget* parent = nullptr);
    // Reads the kept games and shows those against `opponent`; an empty name shows none.
    void showOpponent(const QString& opponent);
    const ResultChart* chart() const { return chart_; }
    QTreeWidget* games() const { return games_; }

signals:
    void replayRequested(const QString& file);

private:
    Source source_;
    RecordListing listing_; // what the results point into
    QLabel* caption_ = nullptr;
    ResultChart* chart_ = nullptr;
    QLabel* summary_ = nullptr;
    QTreeWidget* games_ = nullptr;
};

} // namespace plimb
