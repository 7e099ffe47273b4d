#include "ui/chat/settingsstore.h"

#include <QFile>
#include <QSaveFile>

#include "core/settings/regularfile.h"

namespace plimb {
namespace {

// The file's text; empty for a missing file; nullopt for one that is there but is not a regular
// file we can read whole (a FIFO, a folder, an unreadable file, one above the cap).
std::optional<std::string> readWhole(const QString& path) {
    RegularFileRead read = readRegularFile(QFile::encodeName(path).toStdString(), kMaxSettingsFileSize);
    if (read.status == RegularFileRead::Status::Missing) return std::string();
    if (read.status != RegularFileRead::Status::Read) return std::nullopt;
    return std::move(read.bytes);
}

} // namespace

SettingsStore::SettingsStore(std::function<QString()> path) : path_(std::move(path)) {}

IniFile SettingsStore::read() const {
    return IniFile(readWhole(path_()).value_or(std::string()));
}

bool SettingsStore::update(const std::function<void(IniFile&)>& edit) const {
    const QString path = path_();
    const auto current = readWhole(path);
    if (!current) return false;
    IniFile ini(*current);
    edit(ini);
    const std::string text = ini.text();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(text.data(), static_cast<qint64>(text.size()));
    return file.commit();
}

} // namespace plimb
