#include <gtest/gtest.h>

#include "core/client/fakesink.h"
#include "core/client/rejoin.h"

using namespace plimb;
using namespace plimb::test;

namespace {

using Action = Rejoin::Action;
using Phase = Rejoin::Phase;

// Events: G the first join starts, L lost, R lost after the host's removal notice, F the attempt failed, T a
// second, P the player's "Rejoin", J the new connection logged in.
Action play(Rejoin& r, const std::string& script) {
    Action last = Action::None;
    for (const char event : script) {
        switch (event) {
        case 'G':
            r.joining();
            last = Action::None;
            break;
        case 'L':
            last = r.lost(false);
            break;
        case 'R':
            last = r.lost(true);
            break;
        case 'F':
            r.attemptFailed();
            break;
        case 'T':
            last = r.tick();
            break;
        case 'P':
            last = r.rejoinPressed();
            break;
        case 'J':
            r.rejoined();
            last = Action::None;
            break;
        case 'S': // lost again a second after getting back in
            last = r.lost(false, 1);
            break;
        }
    }
    return last;
}

// Failed attempts, each followed by its pause, doubling from three seconds: "FTTT", "FTTTTTT", ...
std::string cycles(int n) {
    std::string s;
    for (int i = 0; i < n; ++i)
        s += "F" + std::string(std::min(Rejoin::kPauseSeconds << i, Rejoin::kMaxPauseSeconds), 'T');
    return s;
}

std::string seconds(int n) {
    return std::string(n, 'T');
}

} // namespace

TEST(Rejoin, TriesByItselfForHalfAMinuteThenWaitsForThePlayer) {
    const struct Row {
        std::string script;
        Action last;
        Phase phase;
        bool ticking;
        bool rejoinEnabled;
        std::string detail;
    } rows[] = {
        {"L", Action::Attempt, Phase::Retrying, true, false, "Rejoining the game..."},
        {"LF", Action::Attempt, Phase::Retrying, true, true, "Trying again by itself for 30 more seconds."},
        {"LFTT", Action::None, Phase::Retrying, true, true, "Trying again by itself for 28 more seconds."},
        {"LFTTT", Action::Attempt, Phase::Retrying, true, false, "Rejoining the game..."},
        // An attempt that never answers is given up after its limit, then retried after a pause.
        {"L" + std::string(Rejoin::kAttemptSeconds - 1, 'T'), Action::None, Phase::Retrying, true, false,
         "Rejoining the game..."},
        {"L" + std::string(Rejoin::kAttemptSeconds, 'T'), Action::AbortAttempt, Phase::Retrying, true, true,
         "Trying again by itself for 22 more seconds."},
        // The pauses double: tries at 0, 3, 9 and 21 seconds.
        {"L" + cycles(2) + seconds(1), Action::None, Phase::Retrying, true, false, "Rejoining the game..."},
        {"L" + cycles(3) + "F" + seconds(7), Action::None, Phase::Retrying, true, true,
         "Trying again by itself for 2 more seconds."},
        // The count ends after 30 seconds; an attempt still running then is not cut short.
        {"L" + cycles(3) + "F" + seconds(8), Action::None, Phase::Retrying, true, true,
         "Trying again by itself for 1 more second."},
        {"L" + cycles(3) + "F" + seconds(9), Action::None, Phase::Waiting, false, true,
         "Press Rejoin to try again, or Quit to close Plimb."},
        {"L" + cycles(3) + "F" + seconds(14), Action::None, Phase::Waiting, false, true,
         "Press Rejoin to try again, or Quit to close Plimb."},
        {"L" + cycles(3) + "F" + seconds(8) + "PT", Action::None, Phase::Waiting, true, false,
         "Rejoining the game..."},
        // The player's Rejoin: one attempt at a time, during the count too.
        {"L" + cycles(3) + "F" + seconds(9) + "P", Action::Attempt, Phase::Waiting, true, false,
         "Rejoining the game..."},
        {"L" + cycles(3) + "F" + seconds(9) + "PP", Action::None, Phase::Waiting, true, false,
         "Rejoining the game..."},
        {"LP", Action::None, Phase::Retrying, true, false, "Rejoining the game..."},
        {"LFP", Action::Attempt, Phase::Retrying, true, false, "Rejoining the game..."},
        // Back in; a later loss counts afresh.
        {"LJ", Action::None, Phase::Connected, false, false, ""},
        {"L" + cycles(3) + "F" + seconds(9) + "PJL", Action::Attempt, Phase::Retrying, true, false,
         "Rejoining the game..."},
        // A host that lets us in and throws us out at once: no try at once, and the pauses go on
        // doubling within the half minute already begun.
        {"LJS", Action::None, Phase::Retrying, true, true, "Trying again by itself for 30 more seconds."},
        {"LJS" + seconds(3), Action::Attempt, Phase::Retrying, true, false, "Rejoining the game..."},
        {"LJS" + seconds(3) + "JS" + seconds(5), Action::None, Phase::Retrying, true, true,
         "Trying again by itself for 22 more seconds."},
        {"LJS" + seconds(3) + "JS" + seconds(6), Action::Attempt, Phase::Retrying, true, false,
         "Rejoining the game..."},
        {"LJS" + seconds(3) + "JS" + seconds(6) + "JS" + seconds(12) + "JS" + seconds(9), Action::None,
         Phase::Waiting, false, true, "Press Rejoin to try again, or Quit to close Plimb."},
        // A first join: one attempt with the same limit, then the player's Try Again.
        {"GF", Action::None, Phase::JoinFailed, false, true,
         "The chat says why. Press Try Again, or choose File, Join a Game... to join another game."},
        {"G" + std::string(Rejoin::kAttemptSeconds, 'T'), Action::AbortAttempt, Phase::JoinFailed, false,
         true, "The chat says why. Press Try Again, or choose File, Join a Game... to join another game."},
        {"GFP", Action::Attempt, Phase::JoinFailed, true, false, "Trying again..."},
        {"GFPJ", Action::None, Phase::Connected, false, false, ""},
        // Removed by the host: told, never rejoined.
        {"R", Action::None, Phase::Removed, false, false, ""},
        {"RPT", Action::None, Phase::Removed, false, false, ""},
    };
    for (const Row& row : rows) {
        Rejoin r;
        EXPECT_EQ(play(r, row.script), row.last) << row.script;
        EXPECT_EQ(r.phase(), row.phase) << row.script;
        EXPECT_EQ(r.ticking(), row.ticking) << row.script;
        EXPECT_EQ(r.rejoinEnabled(), row.rejoinEnabled) << row.script;
        EXPECT_EQ(r.detail(), row.detail) << row.script;
    }
    Rejoin lost, removed, failed, joined;
    lost.lost(false);
    removed.lost(true);
    play(failed, "GF");
    joined.joining();
    EXPECT_EQ(lost.headline("192.168.1.20") + lost.actionText(),
              "The connection to 192.168.1.20 was lost.Rejoin");
    EXPECT_EQ(removed.headline("192.168.1.20"), "You were removed from the game.");
    EXPECT_EQ(failed.headline("192.168.1.20") + failed.actionText(),
              "Could not join the game at 192.168.1.20.Try Again");
    EXPECT_FALSE(joined.rejoined()) << "a first join is not a return";
    EXPECT_TRUE(lost.rejoined());
    play(lost, "STTT");
    EXPECT_FALSE(lost.rejoined()) << "said once in one half minute of tries";
    lost.lost(false);
    lost.rejoined();
    EXPECT_TRUE(play(lost, "L") == Action::Attempt && lost.rejoined())
        << "a settled connection lost counts afresh";
}

namespace {

// What the window shows of the seats and the tiles, in one line.
std::string shown(const ViewState& v) {
    std::string s;
    for (const auto& row : v.rows)
        s += row.name + " " + row.score + " " + row.status + (row.turn ? "*" : "") + " | ";
    for (int n = 1; n <= 10; ++n)
        s += std::to_string(v.myletter[n].drawn ? v.myletter[n].code : 0) + "," +
             std::to_string(v.hisletter[n].drawn ? v.hisletter[n].code : 0) + " ";
    for (int n = 1; n <= 6; ++n)
        s += std::to_string(v.extra[n].drawn ? v.extra[n].code : 0) + " ";
    return s + v.playtoscore + v.timeperturn + v.steals + (v.startButtonVisible ? " start" : "");
}

// What the server tells a newcomer who takes seat 2 of a running game.
void replaySeat2(ClientFixture& c) {
    c.feed(build::sendlogininfo(2));
    c.feed(build::newplayerinfo(2, "Bo"));
    c.feed(build::existingplayers(1, "Ann"));
    c.feed(build::existingplayers(3, "Spy"));
    c.feed(build::letters(2, {{1, 5}, {2, 12}, {4, 26}}));
    c.feed(build::placetheletters({{1, 1, 3}, {1, 2, 1}, {2, 1, 20}}));
    c.feed(build::gamestats(45, 300, 4, 17, 9));
}

} // namespace

TEST(Rejoin, ANewConnectionShowsTheGameAsANewcomerSeesIt) {
    ClientFixture c;
    c.seatAs(2, "Bo");
    c.feed(build::existingplayers(3, "Old spy"));
    c.startGame();
    c.turnOf(2);
    c.feed(build::letters(2, {{1, 7}, {3, 8}}));
    c.feed(build::placemyletter(2, 3, 5, 8));
    c.feed(build::removedfromgame());
    EXPECT_TRUE(c.model.removedByHost());
    const std::string before = shown(c.model.view());
    c.sink.clear();

    c.model.restartConnection();
    EXPECT_FALSE(c.model.me().loggedIn);
    EXPECT_FALSE(c.model.removedByHost());
    EXPECT_FALSE(c.sink.timerOn) << "no clock runs for a connection that is gone";
    EXPECT_EQ(shown(c.model.view()), before) << "the old game stays in view until the new one speaks";
    c.model.input().apply({MoveIntentKind::Place, 1, 1});
    EXPECT_TRUE(c.sink.sent.empty()) << "nothing is sent before the new login";

    ClientFixture newcomer;
    newcomer.model.setPlayerName("Bo");
    newcomer.model.joinpress();
    replaySeat2(newcomer);
    replaySeat2(c);
    EXPECT_EQ(shown(c.model.view()), shown(newcomer.model.view()));
    EXPECT_EQ(c.model.spectators().entries(), newcomer.model.spectators().entries());
    EXPECT_EQ(c.model.me().seat, 2);
    EXPECT_EQ(c.sink.sent.front(), newcomer.sink.sent.front()) << "the same login, under the same name";
}

TEST(Rejoin, AFullTableWhileComingBackIsSaidOnceAndKeepsTheWindow) {
    ClientFixture c;
    c.seatAs(2, "Bo");
    c.model.restartConnection();
    c.feed(build::full());
    c.model.restartConnection();
    c.feed(build::full());
    EXPECT_TRUE(c.sink.order.empty()) << "no box, no closing: the banner decides";
    EXPECT_EQ(c.sink.chatLines(), std::vector<std::string>{"Game is full"});

    ClientFixture first;
    first.feed(build::full());
    EXPECT_EQ(first.sink.order, (std::vector<std::string>{"box:Game is full", "close"}))
        << "a first join still ends";
}
