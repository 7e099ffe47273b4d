// A player whose connection drops and who logs in again is shown the table as it left it: the real
// server core and two client models, joined by a loop that carries every notice and request.
#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "core/client/fakesink.h"
#include "core/dict/records.h"
#include "core/dict/tdictn.h"
#include "core/rules/game.h"
#include "core/server/server.h"
#include "support/fakes.h"

using namespace plimb;
using namespace plimb::test;

namespace {

// The host's connections, as one list of what it did to them.
struct Wire : Outbox {
    struct Event {
        enum Kind { Send, Close, Move } kind;
        int seat, to;
        std::string text;
    };
    void send(int seat, std::string_view text) override {
        events.push_back({Event::Send, seat, 0, std::string(text)});
    }
    void close(int seat) override { events.push_back({Event::Close, seat, 0, {}}); }
    void move(int from, int to) override { events.push_back({Event::Move, from, to, {}}); }
    std::vector<Event> events;
};

// A host with Ann in seat 1; Bo's window joins as seat 2. Words: "cat" and "cats".
struct Table {
    explicit Table(std::int64_t session)
        : records(makeRecords({"cat", "cats"})), spell(std::span<const char>(records)) {
        state.session = session;
        login(ann, annSink, "Ann");
    }

    int login(ClientModel& model, FakeSink& sink, const std::string& name) {
        model.setPlayerName(name);
        name == "Ann" ? model.hostpress() : model.joinpress();
        const int seat = server.pickSeat();
        server.connectionAccepted(seat);
        windows[seat] = {&model, &sink};
        pump();
        return seat;
    }
    void cut(int seat) {
        windows.erase(seat);
        server.connectionClosed(seat);
        pump();
    }
    // Every notice to its window, every request to the server, until nothing moves.
    void pump() {
        for (bool moved = true; moved;) {
            moved = false;
            // In the order the host did them: a close or a move changes where the later sends go.
            for (const auto& e : std::exchange(out.events, {})) {
                if (e.kind == Wire::Event::Send && windows.count(e.seat)) {
                    ClientModel& model = *windows[e.seat].model;
                    model.received(e.text);
                    while (!model.queue().empty())
                        model.processsocktimer();
                }
                if (e.kind == Wire::Event::Close) windows.erase(e.seat);
                if (e.kind == Wire::Event::Move) {
                    windows[e.to] = windows[e.seat];
                    windows.erase(e.seat);
                }
            }
            for (auto& [seat, window] : windows) {
                while (!window.model->queue().empty())
                    window.model->processsocktimer();
                for (const auto& request : std::exchange(window.sink->sent, {}))
                    for (std::size_t at = 0; at <= request.size();) {
                        const auto end = std::min(request.find('\xFF', at), request.size());
                        if (end > at) server.received(seat, request.substr(at, end - at));
                        at = end + 1;
                        moved = true;
                    }
            }
            while (server.hasQueuedRequests())
                server.socktimerTimer();
            moved = moved || !out.events.empty();
        }
    }
    // One second on the host's turn timer and on every clock that runs.
    void second() {
        if (timer.running) game.turntimerTimer();
        for (auto& [seat, window] : windows)
            if (window.model->clock().running()) window.model->turntimerTimer();
        pump();
    }
    // The seat at turn places its first hand letter in board slot `slot`.
    void place(int slot) {
        const int seat = state.currentplayer;
        int hand = 1;
        while (state.seats[seat].hand[hand] == 0)
            ++hand;
        windows[seat].model->input().apply({MoveIntentKind::Place, hand, slot});
        pump();
    }

    std::string records;
    TDictn spell;
    GameState state;
    Wire out;
    plimb::test::FakeTimer timer;
    Random random{7};
    Game game{state, out, random, timer, spell, {"aa"}};
    std::int64_t now = 0;
    int handed = 0; // secrets, each unlike the one before
    Server server{state, out, game, [this] { return now; },
                  [this] { return std::string(kSeatSecretChars - 1, 'a') + "0123456789"[++handed % 10]; }};
    FakeSink annSink;
    ClientModel ann{annSink};
    struct Window {
        ClientModel* model;
        FakeSink* sink;
    };
    std::map<int, Window> windows;
};

// What the player looks at: whose turn and the clock, then everything else the goal names.
std::string turn(const ViewState& v) {
    return v.status + "|" + v.turntime + "|" + (v.rows[0].turn ? "near" : "") + (v.rows[1].turn ? "far" : "");
}
std::string rest(const ViewState& v) {
    std::string s = v.rows[0].status + "|" + v.rows[1].status + "|" + v.mywordsCaption + "|" + v.playtoscore +
                    "|" + v.rows[0].score + "/" + v.rows[1].score + "|" +
                    (v.winnerVisible ? v.winnerText : "") + "|";
    for (const auto& w : v.mywords)
        s += w + ";";
    for (int n = 1; n <= 10; ++n)
        s += std::to_string(v.myletter[n].code) + "," + std::to_string(v.hisletter[n].code) + " ";
    for (int n = 1; n <= 6; ++n)
        s += std::to_string(v.extra[n].drawn ? v.extra[n].code : 0);
    return s;
}

// `seat` spells `word` on its board from slot 1 on, a letter a turn, while the other window puts
// its letters in `otherSlot`.
void spell(Table& t, int seat, std::string_view word, int otherSlot) {
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (t.state.currentplayer != seat) t.place(otherSlot);
        t.state.seats[seat].hand[1] = word[i] - 'a' + 1;
        t.windows[seat].model->input().apply({MoveIntentKind::Place, 1, static_cast<int>(i) + 1});
        t.pump();
    }
}

// Seat 2 moves first: Bo spells "cat" while Ann places in her slot 1; then three seconds of Ann's
// turn pass.
void playIntoAnnsTurn(Table& t) {
    t.annSink.sent.push_back(build::startgame("Ann", "30", "200", "5"));
    t.pump();
    spell(t, 2, "cat", 1);
    for (int s = 0; s < 3; ++s)
        t.second();
}

// In her turn Ann's board reads "cat" and her letter makes it "cats": ahead, in a game to 1.
void annWinsAtOnce(Table& t) {
    t.state.playtoscore = 1;
    for (std::size_t i = 0; i < 3; ++i)
        t.state.seats[1].board[i + 1] = "cat"[i] - 'a' + 1;
    t.state.seats[1].hand[1] = 's' - 'a' + 1;
    t.windows[1].model->input().apply({MoveIntentKind::Place, 1, 4});
    t.pump();
}

} // namespace

TEST(ComingBack, TheWindowShowsWhatItShowedBeforeTheCut) {
    enum class Cut { OthersTurn, MyTurn, BetweenGames, GameEndsWhileAway, HostStartedOver };
    const struct Row {
        const char* name;
        Cut cut;
        const char* turn; // status line, clock and Ann's marker after the rejoin; "" as before
        bool restAsBefore, clockRuns;
        const char* line; // what the chat tells of the time away; "" for nothing
    } rows[] = {
        {"drop during the other's turn", Cut::OthersTurn, "", true, true, ""},
        {"drop during my turn", Cut::MyTurn, "Ann's turn.|Time: 0:30|far", true, true,
         "Your turn passed while you were away."},
        {"drop between games", Cut::BetweenGames, "", true, false, ""},
        {"the game ends while away", Cut::GameEndsWhileAway, "|Time: 0:00|", false, false,
         "The game ended while you were away."},
        {"onto a new game", Cut::HostStartedOver, "Ann's turn.|Time: 0:30|far", false, true,
         "The host has started a new game: the game you left is over."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        auto host = std::make_unique<Table>(1);
        FakeSink boSink;
        ClientModel bo(boSink);
        bo.processsocktimer(); // the queue's first entry
        host->login(bo, boSink, "Bo");
        playIntoAnnsTurn(*host);
        if (row.cut == Cut::MyTurn) host->place(1);
        if (row.cut == Cut::BetweenGames) {
            host->state.playtoscore = 1;
            spell(*host, 1, "cats", 5);
        }
        const std::string turnBefore = turn(bo.view()), restBefore = rest(bo.view());

        host->cut(2);
        bo.restartConnection();
        if (row.cut == Cut::GameEndsWhileAway) annWinsAtOnce(*host);
        if (row.cut == Cut::HostStartedOver) {
            host = std::make_unique<Table>(2);
            host->annSink.sent.push_back(build::startgame("Ann", "30", "200", "5"));
            host->pump();
            host->second(); // the computer player takes seat 2's first turn
            host->second();
        }
        boSink.clear();
        host->login(bo, boSink, "Bo");

        EXPECT_EQ(turn(bo.view()), *row.turn ? row.turn : turnBefore);
        if (row.restAsBefore) {
            EXPECT_EQ(rest(bo.view()), restBefore);
        }
        EXPECT_EQ(bo.clock().running(), row.clockRuns) << "the clock runs as the host's does";
        const auto chat = boSink.chatLines();
        const auto told = [&chat](const std::string& line) {
            return std::find(chat.begin(), chat.end(), line) != chat.end();
        };
        EXPECT_EQ(told(row.line), *row.line != '\0');
        EXPECT_EQ(told("Your turn passed while you were away.") +
                      told("The game ended while you were away.") +
                      told("The host has started a new game: the game you left is over."),
                  *row.line != '\0' ? 1 : 0)
            << "one telling at most";
        if (row.cut == Cut::GameEndsWhileAway) {
            EXPECT_EQ(bo.view().winnerText, "Ann has won the game!");
        }
        EXPECT_EQ(bo.view().playtoscore,
                  row.cut == Cut::HostStartedOver ? "Play to score: 200" : "Play to Score: 200");
        EXPECT_TRUE(boSink.tally.empty()) << "coming back scores nothing again";
    }
}

TEST(ComingBack, TheSeatOfADroppedPlayerIsKeptForHimAlone) {
    enum class Way { CutFirst, NewConnectionFirst, StrangerMeanwhile, WrongSecret, TimeRunsOut, Removed };
    const struct Row {
        const char* name;
        Way way;
        int boSeat, eveSeat; // where each ends up; 0: Eve never came
    } rows[] = {
        {"the cut is seen, then he comes back", Way::CutFirst, 2, 0},
        {"he comes back before the cut is seen", Way::NewConnectionFirst, 2, 0},
        {"a stranger comes in meanwhile and watches", Way::StrangerMeanwhile, 2, 3},
        {"a wrong secret moves nobody", Way::WrongSecret, 2, 3},
        {"once the time runs out the seat is anybody's", Way::TimeRunsOut, 3, 2},
        {"a player the host removed keeps nothing", Way::Removed, 3, 2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Table host(1);
        FakeSink boSink, eveSink, deadSink;
        ClientModel bo(boSink), eve(eveSink), dead(deadSink);
        for (auto* m : {&bo, &eve, &dead})
            m->processsocktimer();
        host.login(bo, boSink, "Bo");
        playIntoAnnsTurn(host);
        const auto hand = [&bo] {
            std::string codes;
            for (int n = 1; n <= 6; ++n)
                codes += std::to_string(bo.view().extra[n].code) + ",";
            return codes;
        };
        const std::string boHand = hand();

        if (row.way == Way::NewConnectionFirst)
            host.windows[2] = {&dead, &deadSink}; // the old connection is dead but still open
        else if (row.way == Way::Removed) {
            host.annSink.sent.push_back(build::kickhimRequest(1, 2));
            host.pump();
            EXPECT_TRUE(bo.removedByHost());
            EXPECT_FALSE(bo.clock().running() || bo.view().rows[0].turn || bo.view().rows[1].turn)
                << "a removed window's board stops";
            host.server.connectionClosed(2);
        } else
            host.cut(2);
        if (row.way == Way::TimeRunsOut) host.now += Server::kKeepSeatMs;
        if (row.eveSeat != 0) host.login(eve, eveSink, "Eve");
        if (row.eveSeat == 3) { // a newcomer sees the turn at once, not from the next one on
            EXPECT_EQ(turn(eve.view()), "Ann's turn.|Time: 0:27|near");
        }
        if (row.way == Way::WrongSecret) {
            host.windows[3].sink->sent.push_back(
                build::reclaimseatRequest(3, std::string(kSeatSecretChars, 'f')));
            host.pump();
        }
        bo.restartConnection();
        host.login(bo, boSink, "Bo");

        EXPECT_EQ(bo.me().seat, row.boSeat);
        if (row.eveSeat != 0) {
            EXPECT_EQ(eve.me().seat, row.eveSeat);
        }
        const bool boBack = row.boSeat == 2;
        EXPECT_EQ(hand() == boHand, boBack) << "the hand goes with the seat";
        const auto eveChat = eveSink.chatLines();
        EXPECT_EQ(std::count(eveChat.begin(), eveChat.end(), " is Connected."), 0) << "nobody nameless";
        int seatsOfBo = 0;
        for (int seat = 1; seat <= host.state.seatcount; ++seat)
            seatsOfBo += host.state.seats[seat].inuse && host.state.seats[seat].name == "Bo";
        EXPECT_EQ(seatsOfBo, 1) << "one seat for one player";
    }
}
