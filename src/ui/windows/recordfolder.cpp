#include "ui/windows/recordfolder.h"

#include <QDir>
#include <QFile>
#include <QDateTime>
#include <QFileInfo>
#include <cstring>

#include "core/settings/regularfile.h"

namespace plimb {

namespace {
// A record that stopped growing at its cap still reads: its last line may pass it a little.
constexpr std::size_t kReadCap = kMaxRecordBytes + 64 * 1024;

std::string describe(const RegularFileRead& read) {
    switch (read.status) {
    case RegularFileRead::Status::NotRegular:
        return "not a regular file";
    case RegularFileRead::Status::TooLarge:
        return "too large for a game record";
    case RegularFileRead::Status::Missing:
        return "gone while being read";
    case RegularFileRead::Status::Read:
    case RegularFileRead::Status::Failed:
        break;
    }
    return "cannot be read (" + std::string(std::strerror(read.error)) + ")";
}
} // namespace

QString RecordFolder::filePath(const std::string& name) const {
    return QDir(path_).filePath(QString::fromStdString(name));
}

std::vector<KeptFile> RecordFolder::kept() {
    std::vector<KeptFile> out;
    for (const QFileInfo& f : QDir(path_).entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
        const std::string name = f.fileName().toStdString();
        if (isRecordFileName(name)) out.push_back({name, static_cast<std::uint64_t>(std::max<qint64>(0, f.size()))});
    }
    return out;
}

bool RecordFolder::create(const std::string& name, std::string_view text) {
    if (!QDir().mkpath(path_)) return false;
    QFile file(filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return false;
    const auto size = static_cast<qint64>(text.size());
    return file.write(text.data(), size) == size && file.flush();
}

bool RecordFolder::append(const std::string& name, std::string_view text) {
    QFile file(filePath(name));
    // Only a file that is there: one removed meanwhile is not made anew with half a game.
    if (!file.exists() || !file.open(QIODevice::WriteOnly | QIODevice::Append)) return false;
    const auto size = static_cast<qint64>(text.size());
    return file.write(text.data(), size) == size && file.flush();
}

void RecordFolder::remove(const std::string& name) {
    QFile::remove(filePath(name));
}

RecordListing RecordFolder::listing() const {
    std::map<std::string, Seen> now;
    RecordListing listing;
    for (const QFileInfo& f : QDir(path_).entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
        const std::string name = f.fileName().toStdString();
        Seen seen{f.size(), f.lastModified().toMSecsSinceEpoch(), {}};
        if (const auto before = seen_.find(name);
            before != seen_.end() && before->second.bytes == seen.bytes && before->second.modifiedMs == seen.modifiedMs) {
            seen.entry = std::move(before->second.entry);
        } else {
            const RegularFileRead read = readRegularFile(f.filePath().toStdString(), kReadCap);
            if (read.status == RegularFileRead::Status::Read)
                seen.entry.add(name, read.bytes);
            else
                seen.entry.skip(name, describe(read));
        }
        for (const ListedRecord& game : seen.entry.games)
            listing.games.push_back(game);
        for (const std::string& why : seen.entry.skipped)
            listing.skipped.push_back(why);
        now.emplace(name, std::move(seen));
    }
    seen_ = std::move(now);
    listing.sortNewestFirst();
    return listing;
}

std::optional<GameRecord> RecordFolder::load(const std::string& file, std::string& fault) const {
    const RegularFileRead read = readRegularFile(filePath(file).toStdString(), kReadCap);
    if (read.status != RegularFileRead::Status::Read) {
        fault = describe(read);
        return std::nullopt;
    }
    RecordRead record = readRecord(read.bytes);
    fault = record.fault;
    return std::move(record.record);
}

} // namespace plimb
