#pragma once
// The client's game model: it takes the server's notices one at a time from its queue, changes
// the view state the window draws, and hands the player's gestures to its board input. It applies
// no game rule of its own; the server decides, the model mirrors. Each job has a part of its own:
// the notice queue, the board input (one pick), the turn clock, the spectators; the model holds
// them together and runs the notice handlers.
//
// All platform work goes through the ports given at construction (client/clientsink.h). The
// shell:
//  - feeds every framed message to received() and arms its 1 ms timer while timer1Needed();
//    each tick calls timer1Timer();
//  - calls turntimerTimer() once a second while the turn timer port is started;
//  - sets the three sound switches from the settings and the Options menu;
//  - redraws from view() after every call.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/client/boardinput.h"
#include "core/client/clientsink.h"
#include "core/client/feedback.h"
#include "core/client/identity.h"
#include "core/client/noticequeue.h"
#include "core/client/spectators.h"
#include "core/client/turnclock.h"
#include "core/client/viewstate.h"
#include "core/net/board.h"
#include "core/net/protocol.h"

namespace plimb {

// The sound switches of the Options menu; the shell keeps them in step with the menu and the
// settings file.
struct SoundSwitches {
    bool playSounds = true;
    bool playChatterSounds = true;
    int turnSound = 0; // 0 Classic ("start"), 1 New ("turnnew")
};

class ClientModel {
public:
    explicit ClientModel(const ClientPorts& ports);
    // One object that serves every port, as the tests' fakes do.
    explicit ClientModel(ClientSink& all) : ClientModel(ClientPorts{all, all, all, all, all, all, all}) {}
    // A copy of `from` as it stands (its view, its game, its queue and pick), working through
    // `ports` from now on; the replay keeps such copies as its snapshots.
    ClientModel(const ClientModel& from, const ClientPorts& ports);
    ClientModel(const ClientModel&) = delete;
    ClientModel& operator=(const ClientModel&) = delete;

    const ViewState& view() const { return view_; }
    // The changes to the boards and the hand since the last call, for the window to show for a
    // moment, and the opponent's moves; taking them clears them. A game start and a latecomer's
    // catch-up record none.
    Feedback takeFeedback() { return std::exchange(feedback_, {}); }

    const Identity& me() const { return me_; }
    void setPlayerName(std::string name) { me_.playerName = std::move(name); }
    // Logged in and told so by the host (the announcement of the own seat, which comes with the
    // rest of the table): a connection that gets this far is in the game.
    bool inTheGame() const;
    // A game was seen to start here and has no winner yet: joining another game would end it.
    bool gameInProgress() const { return gameRunning_; }
    int currentPlayer() const { return currentPlayer_; }
    SoundSwitches& switches() { return switches_; }

    // Hosting or joining: the shell opens the sockets, these set the model's side of it.
    void hostpress();
    void joinpress();
    // A connect to `host` on `port` failed (no host, refused, unreachable, unknown name, no answer
    // in time): the transport's error text goes into the chat as a system line naming the host
    // tried, and under it what `code` means there, in words. Every failed attempt is told, so the
    // shell reports each attempt once; a window that is in never reports one.
    void connectFailed(std::string_view host, int port, int code, std::string_view error);
    // The host said it removed this connection from the game (the notice comes just before the
    // close).
    bool removedByHost() const { return removedByHost_; }
    // A new connection to the same host is about to be made after the old one ended: everything
    // the old one told is forgotten, so the new login is shown the game as a newcomer is. The
    // name, the role and the switches stay; the view is kept until the first notice of the new
    // connection, so the board does not go blank while the connection is being made.
    void restartConnection();

    // The notices: every framed message goes in; each tick takes one and runs the handler of its
    // name (exact names; unknown and empty names are dropped). A message with a field that is
    // not a decimal number, or a seat, slot or letter out of range, is ignored as a whole.
    void received(std::string message) { queue_.push(std::move(message)); }
    const NoticeQueue& queue() const { return queue_; }
    void processsocktimer();
    // One tick of the 1 ms timer: one message, then one step of the phrase cool-down.
    void timer1Timer();
    // The 1 ms timer has work while a message waits or the phrase cool-down counts.
    bool timer1Needed() const { return !queue_.empty() || !phraseReady_; }

    // Phrase buttons may send only while logged in and ready; sending one starts a 101-tick
    // cool-down. Returns whether the phrase was sent.
    bool phraseClick(std::string_view phrase, Colour actionColour);
    // An item of the chatter-sound menu: tag 0 is "<Cancel>"; only a logged-in player sends.
    void wave20Click(int tag);

    // Every gesture on the tiles.
    BoardInput& input() { return input_; }
    const TurnClock& clock() const { return clock_; }
    // One second of the turn clock.
    void turntimerTimer();
    // The spy list and the requests about who plays, watches or goes.
    Spectators& spectators() { return spectators_; }

    // The host's start: returns true when the options dialog may open, else tells the user.
    bool startButtonClick();
    // Before the first game the labels show what the next one will be: the options the host's
    // dialog holds (the field texts as they stand), and the computer player as the opponent of a
    // solo game. Once a game is in view they show that game.
    void showNextGame(std::string_view timeText, std::string_view playtoText, std::string_view stealsText,
                      bool unlimited);
    void showComputerOpponent();
    // The computer's name in the seat row and the tally ("Klot", "Klot (Easy)"), as the host's
    // server plays it: taken up at once between games, otherwise from the next game's start, so
    // a game's wins count against the level that played it.
    void setComputerName(std::string name);
    const std::string& computerName() const { return computerName_; }
    // The options dialog's "Start Game": the field texts are sent as they stand.
    void sendStartGame(std::string_view timeText, std::string_view playtoText, std::string_view stealsText,
                       bool unlimited);

private:
    using Handler = void (ClientModel::*)(std::string_view);
    struct Route {
        std::string_view name;
        Handler handler;
        // A new game clears the boards and a latecomer is shown the game as it stands: neither
        // is a move to point out.
        bool catchUp = false;
    };
    static const std::vector<Route>& routes();

    // Notice handlers; each gets the data after the name and its "+".
    void sendloginfo(std::string_view data);
    void havewrongversion(std::string_view data);
    void wrongversion(std::string_view data);
    void full(std::string_view data);
    void chat(std::string_view data);
    void removedfromgame(std::string_view data);
    void seatkey(std::string_view data);
    void newplayerinfo(std::string_view data);
    void playerdisconnected(std::string_view data);
    void justwatching(std::string_view data);
    void startthegame(std::string_view data);
    void gamestats(std::string_view data);
    void letters(std::string_view data);
    void newletter(std::string_view data);
    void discardextra(std::string_view data);
    void placetheletters(std::string_view data);
    void placemyletter(std::string_view data);
    void tradingmyletter(std::string_view data);
    void discardletter(std::string_view data);
    void stoldletter(std::string_view data);
    void formedword(std::string_view data);
    void notvalid(std::string_view data);
    void toomany(std::string_view data);
    void timeup(std::string_view data);
    void getnextplayer(std::string_view data);
    void winner(std::string_view data);
    void playasound(std::string_view data);
    // This program's own: the host's key of the game just started, and the table as a newcomer
    // comes in (whose turn, the clock, steals, watching, own words; or how the last game ended).
    // After a new connection to the same host, the view is what it was before the cut, and the
    // chat says what happened meanwhile: own turns that passed, a game that ended, a game that is
    // not the one left.
    void gamekey(std::string_view data);
    void tablestate(std::string_view data);

    void send(const std::string& request);
    void sound(const std::string& name);
    void systemLine(const std::string& line);
    void clearall();
    void switchlabels();
    void showTurn(int seat, int stealsLeft);
    void tellWhatChanged(const TableState& now, bool sameGame);
    void restoreEndedGame(bool endedWhileAway);
    BoardView& boardFor(int seat);
    void applyTimePerTurn(int time);
    void adoptComputerName();

    // A member added below is copied by the copying constructor as well.
    ClientPorts ports_;
    ViewState view_;
    Identity me_;
    SoundSwitches switches_;
    NoticeQueue queue_;
    BoardInput input_;
    TurnClock clock_;
    Spectators spectators_;
    Feedback feedback_;
    // Records a move of `seat` when it is on the far board.
    void farMove(int seat, BoardMove move);
    // The name each seat was last announced with, until it leaves.
    std::array<std::optional<std::string>, kMaxSeats + 1> announced_{};
    // A game this client saw start (or was shown running when it came in) and no winner yet:
    // only then do a word and a win count, and a win only once.
    bool gameRunning_ = false;
    std::string computerName_{kComputerName};
    std::string nextComputerName_{kComputerName};
    bool settingsLoaded_ = false;

    int currentPlayer_ = 0;
    bool phraseReady_ = true;
    int phraseTicks_ = 0;
    bool removedByHost_ = false;
    bool restarted_ = false; // the view is cleared by the first notice after restartConnection
    std::string gameKey_;    // the host's key of the game in view, once told
    int turnNumber_ = 0;     // turns begun in that game
    // What the window showed when its connection ended, until the new one tells the table.
    struct LeftBehind {
        std::string gameKey;
        bool gameRunning = false;
        int turnNumber = 0;
        int currentPlayer = 0;
        int seat = 0;
        ViewState view;
    };
    std::optional<LeftBehind> leftBehind_;
    bool fullWhileAway_ = false; // "Game is full" said once while coming back
    std::string seatSecret_;     // the host's secret for our seat 2, kept across connections
};

} // namespace plimb
