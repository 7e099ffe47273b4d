#pragma once
// File, "Replay a Game...": the kept games, newest first (when, opponent, score, winner, words);
// a double click, Enter or "Replay" opens one. Files of the folder that are no readable record
// are named under the list.
#include <QDialog>
#include <functional>
#include <string>

#include "core/records/history.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace plimb {

// "10 Dec 2026 19:49", in local time.
QString startedText(std::int64_t startedMs);

class Treplaylist : public QDialog {
    Q_OBJECT
public:
    using Source = std::function<RecordListing()>;
    Treplaylist(Source source, QWidget* parent);

    // Reads the folder again.
    void reload();
    QTreeWidget* list() const { return list_; }
    const QLabel* skippedLabel() const { return skipped_; }

signals:
    void replayRequested(const QString& file);

private:
    void openCurrent();

    Source source_;
    QTreeWidget* list_ = nullptr;
    QLabel* skipped_ = nullptr;
    QPushButton* open_ = nullptr;
};

} // namespace plimb
