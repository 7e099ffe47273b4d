#pragma once
// The folder "games" on disk: where the recorder writes, and what the replay list and the tally's
// chart read. Only regular files are read, none above a record's cap, so a FIFO or a huge file put
// in the folder is named and skipped, never waited on.
#include <QString>
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

    // Every file in the folder: the records summed up, newest first, the rest named.
    RecordListing listing() const;
    // One record whole, or why it cannot be replayed.
    std::optional<GameRecord> load(const std::string& file, std::string& fault) const;

private:
    QString filePath(const std::string& name) const;
    QString path_;
};

} // namespace plimb
