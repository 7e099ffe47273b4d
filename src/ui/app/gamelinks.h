#pragma once
// Invitation links that reach the running window: clicked in the chat, or handed over by a copy
// of this program that the desktop started with one. joinStepFor decides whether to ask; this
// shows the question and joins on yes. One question is shown at a time: a link handed over while
// its question is up takes that question's place (the newest link wins, and a link given twice
// is asked about once); one handed over while another dialog waits for an answer is taken up
// when that dialog closes, again the newest of them.
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "core/app/joinlink.h"

class QMessageBox;
class QWidget;

namespace plimb {

class GameLinks : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        std::function<bool()> gameInProgress;
        // Joins the game of a link that parseInvitationLink accepts, ending this window's game.
        std::function<void(const QString& link)> join;
        // A line for the chat: why a link is not used.
        std::function<void(const std::string& line)> tell;
    };
    // The questions are shown over `window`.
    GameLinks(QWidget& window, Hooks hooks);

    // The chat's question before a link that is not a web or mail address is opened; true to
    // open it. Any other link gets the chat's own question.
    bool askBeforeOpening(const QString& link);
    // A link from another copy of this program, as it arrived.
    void handOver(const QString& link);
    // The window is closing: nothing waits any more, and nothing more is asked.
    void stop();

private:
    void act(const std::string& link);
    void takeWaiting();

    QWidget& window_;
    Hooks hooks_;
    QPointer<QMessageBox> question_;
    HostPort asked_;
    std::optional<std::string> waiting_;
    bool stopped_ = false;
};

} // namespace plimb
