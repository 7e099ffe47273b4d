// A later copy of the program as the single-instance guard sees it: it hands its one parameter
// to the running copy and exits 0 when a copy was running.
#include <QCoreApplication>

#include "app/instanceguard.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString link = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    return plimb::InstanceGuard().otherInstanceRunning(link) ? 0 : 1;
}
