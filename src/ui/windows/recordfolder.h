#pragma once
// The folder "games" on disk: where the recorder writes, and what the replay list and the tally's
// chart read. Only regular files are read, none above a record's cap, so a FIFO or a huge file put
// in the folder is named and skipped, never waited on.
#include <QString>
#include <map>
#include <optional>

#include "core/records/history.h"
#include "core/records/recorder.h"

namespace plimb {

class RecordFolder : public RecordFiles {
public:
    explicit RecordFolder(QString path) : path_(std::move(path)) {}
    const QString& path() const { return path_; }

    std::vector<KeptFile> kept() override;
    bool create(const std::string& name, std::string_view text) override;
    bool append(const std::string& name, std::string_view text) override;
    void remove(const std::string& name) override;

    // Every file in the folder: the records summed up, newest first, the rest named. A file read
    // before is read again only when its size or time changed, so the tally window can ask for the
    // list whenever the player picks another opponent.
    RecordListing listing() const;
    // One record whole, or why it cannot be replayed.
    std::optional<GameRecord> load(const std::string& file, std::string& fault) const;

private:
    QString filePath(const std::string& name) const;
    QString path_;
    struct Seen {
        qint64 bytes = 0;
        qint64 modifiedMs = 0;
        RecordListing entry; // one game, or one skipped file
    };
    mutable std::map<std::string, Seen> seen_;
};

} // namespace plimb
