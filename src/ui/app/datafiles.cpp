#include "ui/app/datafiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "core/app/appid.h"

namespace plimb {
namespace {

// An installed program: games/plimb (where Debian puts games) or bin/plimb, with
// share/applications/ID.desktop under the same prefix. Root can write to /usr/games, so
// writability alone cannot tell an installed copy from an unpacked one.
bool runsFromInstalledPrefix(const QString& programDir) {
    const QDir dir(programDir);
    if (dir.dirName() != QLatin1String("games") && dir.dirName() != QLatin1String("bin")) return false;
    const QString entry = QStringLiteral("../share/applications/%1.desktop").arg(QLatin1String(kAppId));
    return QFileInfo(dir.filePath(entry)).isFile();
}

} // namespace

QString dataFolder(const QString& programDir, const QString& userDir) {
    if (!runsFromInstalledPrefix(programDir) && QFileInfo(programDir).isWritable()) return programDir;
    return userDir;
}

QString dataFilePath(const QString& fileName) {
    // A folder named in the environment wins: tests and second profiles keep their files apart.
    QString folder = qEnvironmentVariable("PLIMB_DATA_DIR");
    if (folder.isEmpty())
        folder = dataFolder(QCoreApplication::applicationDirPath(),
                            QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
    QDir().mkpath(folder);
    return QDir(folder).filePath(fileName);
}

} // namespace plimb
