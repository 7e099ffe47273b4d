#include "app/datafiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace plimb {

QString dataFilePath(const QString& fileName) {
    // A folder named in the environment wins: tests and second profiles keep their files apart.
    const QString chosen = qEnvironmentVariable("PLIMB_DATA_DIR");
    if (!chosen.isEmpty()) {
        QDir().mkpath(chosen);
        return QDir(chosen).filePath(fileName);
    }
    const QString programDir = QCoreApplication::applicationDirPath();
    if (QFileInfo(programDir).isWritable()) return QDir(programDir).filePath(fileName);
    const QString userDir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(userDir);
    return QDir(userDir).filePath(fileName);
}

} // namespace plimb
