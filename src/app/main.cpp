// Plimb: a two-player word game with a computer opponent, spectators and chat.
#include <QApplication>
#include <QIcon>
#include <QMessageBox>

#include "app/instanceguard.h"
#include "client/tchat.h"
#include "client/tileart.h"
#include "dict/builtinwords.h"
#include "dict/tdictn.h"
#include "rules/random.h"
#include "server/tserver.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Plimb"));
    // The program's icon is its own P tile.
    QApplication::setWindowIcon(QIcon(plimb::TileArt().tile('P' - 'A' + 1, 2.0)));

    plimb::InstanceGuard guard;
    if (guard.otherInstanceRunning()) return 0;

    plimb::Random random;
    plimb::Tchat chat(random);
    guard.serve([&chat] {
        if (chat.isMinimized()) chat.showNormal();
        chat.raise();
        chat.activateWindow();
    });

    // A word file named English in the working folder replaces the built-in list.
    plimb::TDictn spell = plimb::TDictn::load("English", plimb::builtinWordRecords());
    if (!spell.isOpen())
        QMessageBox::warning(nullptr, QStringLiteral("Plimb"),
                             QStringLiteral("English.dic dictionary not found!"));
    plimb::TServer server(random, spell, plimb::builtinComputerWords());
    chat.setServer(&server);

    QStringList params = QApplication::arguments();
    params.removeFirst();
    chat.setParams(params);
    chat.show();
    return QApplication::exec();
}
