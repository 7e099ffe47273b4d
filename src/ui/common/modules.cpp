#include "ui/common/modules.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QStringList>

#include <map>
#include <memory>
#include <mutex>

namespace plimb {
namespace {

QStringList folders() {
    QStringList out;
    const QString override = qEnvironmentVariable("PLIMB_MODULE_DIR");
    if (!override.isEmpty()) out << override;
    if (QCoreApplication::instance() != nullptr) {
        const QString programDir = QCoreApplication::applicationDirPath();
        out << programDir << QDir::cleanPath(programDir + QStringLiteral("/" PLIMB_MODULE_RELDIR));
    }
    return out;
}

} // namespace

ModuleEntry moduleEntry(const char* name, const char* symbol) {
    static std::mutex lock;
    static std::map<QString, std::unique_ptr<QLibrary>> loaded; // never unloaded
    const std::lock_guard<std::mutex> guard(lock);

    const QString file = QString::fromLatin1(name) + QStringLiteral(".so");
    auto it = loaded.find(file);
    if (it == loaded.end()) {
        QString path;
        for (const QString& folder : folders()) {
            const QString candidate = folder + QLatin1Char('/') + file;
            if (QFileInfo::exists(candidate)) {
                path = candidate;
                break;
            }
        }
        if (path.isEmpty()) return {nullptr, QStringLiteral("%1 is missing").arg(file)};
        auto library = std::make_unique<QLibrary>(path);
        if (!library->load())
            return {nullptr, QStringLiteral("%1 cannot be loaded: %2").arg(file, library->errorString())};
        it = loaded.emplace(file, std::move(library)).first;
    }
    QFunctionPointer entry = it->second->resolve(symbol);
    if (entry == nullptr) return {nullptr, QStringLiteral("%1 does not fit this version of Plimb").arg(file)};
    return {reinterpret_cast<void*>(entry), {}};
}

} // namespace plimb
