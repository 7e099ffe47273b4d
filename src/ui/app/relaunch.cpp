#include "ui/app/relaunch.h"

#include <QCoreApplication>
#include <QProcess>
#include <cstdio>

#include "core/app/hostjoinargs.h"

namespace plimb {

Relauncher::Relauncher(QString program) : program_(std::move(program)) {}

Relauncher::~Relauncher() {
    if (!requested_) return;
    const QString program = program_.isEmpty() ? QCoreApplication::applicationFilePath() : program_;
    // Arguments go to the new process as they are, never through a shell: a name with blanks
    // or "+" stays one parameter.
    if (!QProcess::startDetached(program, args_))
        std::fprintf(stderr, "plimb: could not start %s\n", qPrintable(program));
}

bool Relauncher::request(const QStringList& args) {
    for (const QString& arg : args)
        if (readAsOption(arg.toStdString())) {
            std::fprintf(stderr, "plimb: not starting again with the option-like parameter %s\n",
                         qPrintable(arg));
            return false;
        }
    args_ = args;
    requested_ = true;
    return true;
}

} // namespace plimb
