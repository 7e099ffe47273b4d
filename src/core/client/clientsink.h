#pragma once
// Everything the client model asks of the window around it. The Qt shell implements it; tests
// pass a recording fake. Each call is a request, never a query of window state, except the two
// tally records, which the tally window owns.
#include <string>

#include "chat/colortext.h"

namespace plimb {

class ClientSink {
public:
    virtual ~ClientSink() = default;

    // One request, without its terminator: the shell frames it and writes it on the game socket.
    virtual void sendRequest(const std::string& text) = 0;
    virtual void addlinetochat(const std::string& line, Colour colour) = 0;
    // A game sound by name. The model has already applied the "Play Sounds" switch.
    virtual void playsounds(const std::string& name) = 0;
    // A chatter sound by name ("wave13"). The model has already applied "Play Chatter Sounds".
    virtual void playChatter(const std::string& name) = 0;
    // A box with an OK button that the user must dismiss. It returns at once: notices go on
    // while the box is open, and a box asked for while another is open waits its turn.
    virtual void showMessage(const std::string& text) = 0;
    virtual void closeMainWindow() = 0;

    // The one-second turn clock. Starting a timer that already runs must keep its rhythm (the
    // other clients' clocks keep running through a time-out into the next turn); each tick the
    // shell calls ClientModel::turntimerTimer().
    virtual void startTurnTimer() = 0;
    virtual void stopTurnTimer() = 0;

    // Reads the user's settings; called once this client learns its own seat.
    virtual void loadinifile() = 0;

    // The win tally window.
    virtual void addword(const std::string& word, int value, int column) = 0;
    virtual void anotherword(int column) = 0;
    virtual void addgame(const std::string& winnerText) = 0;
    virtual int longestWordRecord() const = 0;
    virtual int bestScoreRecord() const = 0;
};

} // namespace plimb
