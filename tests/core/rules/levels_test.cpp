#include <gtest/gtest.h>

#include "core/rules/fakes.h"
#include "core/rules/computerkind.h"

using namespace plimb;
using namespace plimb::test;

// Each level: the settings text it reads and writes, its name in the seat row and tally, and one
// position on the real vocabulary of that level with the word it must make (or "" for none).
TEST(ComputerLevels, SettingsNameAndOnePositionEach) {
    const struct {
        ComputerKind kind;
        const char* text;
        const char* name;
        const char* board;
        const char* hand;
        const char* his;
        const char* word; // the only word the dictionary of the position knows
        const char* formed;
    } rows[] = {
        {ComputerKind::Beginner, "beginner", "Klot (Beginner)", "ca", "tqqqqq", "", "cat", "cat"},
        // "jib" is rarer than the commonest words: easy does not know it, so b and i stay apart.
        {ComputerKind::Easy, "easy", "Klot (Easy)", "ib", "jqqqqq", "", "jib", ""},
        {ComputerKind::Classic, "classic", "Klot", "ca", "tqqqqq", "", "cat", "cat"},
        // Hard knows it and steals the letter that makes it.
        {ComputerKind::Hard, "hard", "Klot (Hard)", "ji", "qqqqqq", "b", "jib", "jib"},
        {ComputerKind::Hard, "hard", "Klot (Hard)", "za", "xqqqqq", "", "zax", ""},
        {ComputerKind::Strong, "strong", "Klot (Strong)", "za", "xqqqqq", "", "zax", "zax"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text + std::string(" on ") + row.board);
        EXPECT_EQ(parseComputerKind(row.text), row.kind);
        EXPECT_EQ(formatComputerKind(row.kind), row.text);
        EXPECT_EQ(computerName(row.kind), row.name);

        GameFixture f({row.word}, {"aa", row.word, "zz"});
        f.playing(2);
        f.board(2, row.board);
        f.hand(2, row.hand);
        f.board(1, row.his);
        f.game.setComputerPlayer(row.kind);
        f.game.computerTurn(2);
        const auto& formed = f.state.formedwords[2];
        EXPECT_EQ(formed.empty() ? std::string() : formed.front(), row.formed);
        EXPECT_NE(f.state.currentplayer, 2) << "the turn passed";
    }
}

TEST(ComputerLevels, AMenuChoiceDuringAGameWaitsForTheNextGame) {
    GameFixture f;
    f.playing(2);
    EXPECT_TRUE(f.game.chooseComputerPlayer(ComputerKind::Easy));
    EXPECT_EQ(f.game.computerPlayer(), ComputerKind::Classic);
    EXPECT_FALSE(f.game.chooseComputerPlayer(ComputerKind::Easy)) << "no second announcement";
    f.game.startgame("Ann", 30, 200, 5);
    EXPECT_EQ(f.game.computerPlayer(), ComputerKind::Easy);
    f.state.gamerunning = false;
    f.game.chooseComputerPlayer(ComputerKind::Hard);
    EXPECT_EQ(f.game.computerPlayer(), ComputerKind::Hard) << "between games it applies at once";
}
