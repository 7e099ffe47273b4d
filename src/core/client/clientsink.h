#pragma once
// The ports through which the client model asks the window around it for platform work, one per
// concern, as the server core has its Outbox and TurnTimer. The shell implements each in the
// class that does that job; tests pass recording fakes. Every call is a request, never a query of
// window state, except the two tally records, which the tally window owns.
#include <string>
#include <string_view>

#include "core/chat/colortext.h"

namespace plimb {

// Requests to the host.
class RequestSink {
public:
    virtual ~RequestSink() = default;
    // One request, without its terminator: the shell frames it and writes it on the game socket,
    // and drops it when the socket is not connected.
    virtual void sendRequest(const std::string& text) = 0;
};

// What the user reads: chat lines, message boxes, and the end of the window.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    // One line at the end of the chat, in `colour`.
    virtual void addlinetochat(const std::string& line, Colour colour) = 0;
    // A box with an OK button that the user must dismiss. It returns at once: notices go on
    // while the box is open, and a box asked for while another is open waits its turn.
    virtual void showMessage(const std::string& text) = 0;
    // Closes the main window, and with it the program; a box that is open is dismissed first.
    virtual void closeMainWindow() = 0;
};

// Sounds by name. The model has already applied the switch that governs each.
class SoundSink {
public:
    virtual ~SoundSink() = default;
    // A game sound ("place", "tick"); governed by "Play Sounds".
    virtual void playsounds(const std::string& name) = 0;
    // A chatter sound ("wave13"); governed by "Play Chatter Sounds".
    virtual void playChatter(const std::string& name) = 0;
};

// The one-second turn clock. The model keeps the count itself; the shell only runs a 1000 ms
// timer while it is started and calls ClientModel::turntimerTimer() on each tick.
class ClientTurnTimer {
public:
    virtual ~ClientTurnTimer() = default;
    // Starting a timer that already runs must keep its rhythm: the other clients' clocks keep
    // running through a time-out into the next turn.
    virtual void startTurnTimer() = 0;
    virtual void stopTurnTimer() = 0;
};

// The user's settings.
class SettingsSource {
public:
    virtual ~SettingsSource() = default;
    // Reads the settings file and applies it to the model and the window; called once, when
    // this client learns its own seat.
    virtual void loadinifile() = 0;
};

// The win tally, which the tally window keeps and writes.
class TallySink {
public:
    virtual ~TallySink() = default;
    // A record of this player's: `value` is the word's length (column 3) or its points (5).
    virtual void addword(const std::string& word, int value, int column) = 0;
    // One more word formed (column 7).
    virtual void anotherword(int column) = 0;
    // A game seen to its end: "addtomine" when this player won, else the winner's name.
    virtual void addgame(const std::string& winnerText) = 0;
    // The records addword would beat.
    virtual int longestWordRecord() const = 0;
    virtual int bestScoreRecord() const = 0;
};

// Every notice the model has handled, for the game records: the text as the model read it
// (decoded, without its terminator), given once the model's state shows what it did. Nothing is
// asked back; a window that keeps no records leaves it as it is.
class NoticeLog {
public:
    virtual ~NoticeLog() = default;
    virtual void handled(std::string_view notice) { (void)notice; }
};

// Every port in one object, for fakes that record them all (tests, the fuzzer, benchmarks). The
// program does not use it: each port has its own class in the shell.
class ClientSink : public RequestSink,
                   public MessageSink,
                   public SoundSink,
                   public ClientTurnTimer,
                   public SettingsSource,
                   public TallySink,
                   public NoticeLog {};

// Every port answered by doing nothing, for a model that runs without a window (a replay, a
// benchmark, a fuzzer): each overrides only the ports it listens to.
class QuietSink : public ClientSink {
public:
    void sendRequest(const std::string&) override {}
    void addlinetochat(const std::string&, Colour) override {}
    void showMessage(const std::string&) override {}
    void closeMainWindow() override {}
    void playsounds(const std::string&) override {}
    void playChatter(const std::string&) override {}
    void startTurnTimer() override {}
    void stopTurnTimer() override {}
    void loadinifile() override {}
    void addword(const std::string&, int, int) override {}
    void anotherword(int) override {}
    void addgame(const std::string&) override {}
    int longestWordRecord() const override { return 0; }
    int bestScoreRecord() const override { return 0; }
};

// The ports a ClientModel is built with. They must outlive the model; the model keeps the
// references and calls none of them while it is being built.
struct ClientPorts {
    RequestSink& requests;
    MessageSink& messages;
    SoundSink& sounds;
    ClientTurnTimer& turnTimer;
    SettingsSource& settings;
    TallySink& tally;
    NoticeLog& log;
};

} // namespace plimb
