// A later copy as the guard sees it: hands its parameter over, exits 0 when a copy was running.
#include <QCoreApplication>

#include "ui/app/instanceguard.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString link = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    return plimb::InstanceGuard().otherInstanceRunning(link) ? 0 : 1;
}
