#include "chat/settingsstore.h"

#include <QFile>
#include <QSaveFile>

namespace plimb {
namespace {

// Settings files are a few hundred bytes; anything far larger is not one of ours to rewrite.
constexpr qint64 kMaxFileSize = 4 * 1024 * 1024;

std::optional<std::string> readWhole(const QString& path) {
    QFile file(path);
    if (!file.exists()) return std::string();
    if (file.size() > kMaxFileSize || !file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.read(kMaxFileSize + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > kMaxFileSize) return std::nullopt;
    return bytes.toStdString();
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
