// Plimb: a two-player word game with a computer opponent, spectators and chat.
#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QMessageBox>

#include "core/app/appid.h"
#include "ui/app/instanceguard.h"
#include "core/app/invitelink.h"
#include "ui/app/relaunch.h"
#include "ui/app/signalclose.h"
#include "ui/app/tchat.h"
#include "core/chat/colortext.h"
#include "core/dict/builtinwords.h"
#include "core/dict/tdictn.h"
#include "core/rules/random.h"
#include "ui/server/tserver.h"

#include <cstdio>
#include <cstdlib>

namespace {

int run(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Plimb"));
    // The program's icon, the P tile: one picture the window manager scales as it needs, since
    // every further size is one more PNG decoded at start.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/plimb-64.png")));
    // Lets the desktop match the window to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QLatin1String(plimb::kAppId));

    // Destroyed after the guard and the server below, so a copy it starts finds both free.
    plimb::Relauncher relauncher;
    QStringList params = QApplication::arguments();
    params.removeFirst();
    // An invitation link clicked while this program runs goes to the running copy's window.
    const bool linkOnly = params.size() == 1 && plimb::isInvitationLink(params.front().toStdString());
    plimb::InstanceGuard guard;
    if (guard.otherInstanceRunning(linkOnly ? params.front() : QString())) return 0;

    plimb::Random random;
    plimb::Tchat chat(random);
    guard.serve([&chat](const QString& link) {
        if (chat.isMinimized()) chat.showNormal();
        chat.raise();
        chat.activateWindow();
        if (!link.isEmpty()) chat.handOverLink(link);
        // A question waiting for an answer (the link's own or another) stays in front of the window.
        if (QWidget* modal = QApplication::activeModalWidget()) {
            modal->raise();
            modal->activateWindow();
        }
    });

    // A usable word file named English in the working folder replaces the built-in list.
    plimb::TDictn spell = plimb::TDictn::load("English", plimb::builtinWordRecords());
    if (spell.wordFileIgnored())
        chat.addlinetochat("The file English in " + QDir::currentPath().toStdString() +
                               " is not a sorted word list and was ignored; the built-in word list is used.",
                           plimb::kSystemLineColour);
    if (!spell.isOpen())
        QMessageBox::warning(nullptr, QStringLiteral("Plimb"),
                             QStringLiteral("English.dic dictionary not found!"));
    plimb::TServer server(random, spell, plimb::builtinComputerWords());
    chat.setServer(&server);
    chat.setRelaunch([&](const QStringList& args) {
        // A refused command line (a name Qt would read as an option) starts nothing new, so the
        // window stays.
        if (!relauncher.request(args)) return;
        guard.release();
        if (chat.close()) QApplication::quit();
    });

    chat.setParams(params);

    // A logout or kill closes the main window as the user would, so what closing does is done.
    plimb::SignalCloser closer([&chat](int) {
        // A message box waiting for an answer would hold the close back: dismiss it first.
        for (QWidget* box = QApplication::activeModalWidget(); box && box->close();) {
            QWidget* next = QApplication::activeModalWidget();
            if (next == box) break;
            box = next;
        }
        if (chat.close()) QApplication::quit();
    });
    chat.show();
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv) {
    const int status = run(argc, argv);
    // Everything the program keeps is written when its window closes, and every window and
    // socket is gone by now. Qt's sound sample cache, a static, would wait at exit for its loader
    // thread while holding the lock that thread needs to finish a decode: a program ending while
    // a sound still loads would hang. So the static destructors are not run.
    std::fflush(nullptr);
    std::_Exit(status);
}
