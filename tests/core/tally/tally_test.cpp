#include "core/tally/lzrw1kh.h"
#include "core/tally/tallygrid.h"
#include "core/tally/tallytext.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace plimb;

namespace {

using Counts = std::array<std::string, 8>;

// What the next start of the program makes of this tally.
Tally restarted(const Tally& tally) {
    TallyFileRead read = readTallyFile(tallyFileBytes(tally.grid()), "plimbtally.tld");
    EXPECT_FALSE(read.error.has_value()) << *read.error;
    Tally next;
    next.loadtally(std::move(read.grid));
    return next;
}

} // namespace

TEST(Tally, FirstRunShowsZerosAndNoneThenCountsAWonGameAgainstAFollowedOpponent) {
    Tally tally;
    const OwnTallyLabels fresh = tally.ownLabels();
    EXPECT_EQ(fresh.totalGames, "0");
    EXPECT_EQ(fresh.yourWins, "0");
    EXPECT_EQ(fresh.longestWord, "None");
    EXPECT_EQ(fresh.bestScoring, "None");
    EXPECT_EQ(fresh.totalWords, "0");

    EXPECT_TRUE(tally.follow("Ann"));
    EXPECT_FALSE(tally.follow("ANN")) << "a name is followed once, in any letter case";
    EXPECT_EQ(tally.addgame("addtomine", {"Ann"}), std::vector<int>{1});
    EXPECT_EQ(tally.ownLabels().totalGames, "1");
    EXPECT_EQ(tally.ownLabels().yourWins, "1");
    const OpponentTallyLabels ann = tally.opponentLabels(0);
    EXPECT_EQ(ann.hisnametop, "Ann's Tally");
    EXPECT_EQ(ann.hisname, "Ann Wins:");
    EXPECT_EQ(ann.counts, (Counts{"1", "0", "1", "0", "1", "0", "1", "0"}));
}

TEST(Tally, GameCountsGoToTheWinnersColumn) {
    struct Case {
        std::string winner;
        std::vector<std::string> checklist;
        std::string ownWins;
        Counts ann;
    };
    const Case cases[] = {
        {"addtomine", {"Ann"}, "1", {"1", "0", "1", "0", "1", "0", "1", "0"}},
        {"Ann", {"ann"}, "0", {"1", "1", "0", "0", "1", "1", "0", "0"}}, // looked up in any case
        {"ANN", {"Ann"}, "0", {"1", "0", "0", "1", "1", "0", "0", "1"}}, // the winner must match exactly
        {"Bob", {"Bob"}, "0", {"0", "0", "0", "0", "0", "0", "0", "0"}}, // not followed: row 0 only
        {"addtomine", {}, "1", {"0", "0", "0", "0", "0", "0", "0", "0"}},
    };
    for (const Case& c : cases) {
        Tally tally;
        tally.follow("Ann");
        tally.addgame(c.winner, c.checklist);
        EXPECT_EQ(tally.ownLabels().totalGames, "1") << c.winner;
        EXPECT_EQ(tally.ownLabels().yourWins, c.ownWins) << c.winner;
        EXPECT_EQ(tally.opponentLabels(0).counts, c.ann) << c.winner;
        EXPECT_EQ(tally.grid().rowCount(), 2) << c.winner;
    }
}

TEST(Tally, NextStartKeepsTheTotalsAndStartsTheSessionAtZero) {
    Tally tally;
    tally.follow("Ann");
    tally.follow("Bob");
    tally.addgame("addtomine", {"Ann"});
    tally.addgame("Bob", {"Bob"});
    tally.addword("zebra", 5, 3);
    tally.addword("quiz", 22, 5);
    tally.anotherword(7);

    const Tally next = restarted(tally);
    EXPECT_EQ(next.followedNames(), (std::vector<std::string>{"Ann", "Bob"}));
    EXPECT_EQ(next.opponentLabels(0).counts, (Counts{"1", "0", "1", "0", "0", "0", "0", "0"}));
    EXPECT_EQ(next.opponentLabels(1).counts, (Counts{"1", "1", "0", "0", "0", "0", "0", "0"}));
    const OwnTallyLabels own = next.ownLabels();
    EXPECT_EQ(own.totalGames, "2");
    EXPECT_EQ(own.yourWins, "1");
    EXPECT_EQ(own.longestWord, "zebra (5)");
    EXPECT_EQ(own.bestScoring, "quiz (22)");
    EXPECT_EQ(own.totalWords, "1");
    EXPECT_EQ(next.longestWordRecord(), 5);
    EXPECT_EQ(next.bestScoreRecord(), 22);
}

TEST(Tally, RecordsAndTheirLabels) {
    Tally tally;
    EXPECT_EQ(tally.longestWordRecord(), 0);
    tally.addword("plumb", 5, 3);
    EXPECT_EQ(tally.longestWordRecord(), 5) << "a 5-letter word ties and does not beat it";
    EXPECT_EQ(tally.bestScoreRecord(), 0);
    EXPECT_EQ(tally.ownLabels().longestWord, "plumb (5)");
    EXPECT_EQ(tally.ownLabels().bestScoring, "None");

    // A stored tally without records shows the cells as they are.
    EXPECT_EQ(restarted(Tally()).ownLabels().longestWord, "0 (0)");
    TallyGrid noRecord;
    noRecord.setCell(4, 0, "");
    Tally loaded;
    loaded.loadtally(noRecord);
    EXPECT_EQ(loaded.ownLabels().longestWord, "None");
    EXPECT_EQ(loaded.longestWordRecord(), 0);
}

TEST(Tally, ResetEmptiesEverythingSoAnyWordIsARecordAgain) {
    Tally tally;
    tally.follow("Ann");
    tally.follow("Bob");
    tally.addgame("addtomine", {"Ann"});
    tally.addword("zebra", 5, 3);
    tally.addword("zebra", 18, 5);
    tally.reset();
    EXPECT_EQ(tally.grid().rowCount(), 1);
    EXPECT_TRUE(tally.followedNames().empty());
    EXPECT_EQ(tally.longestWordRecord(), 0);
    EXPECT_EQ(tally.bestScoreRecord(), 0);
    EXPECT_EQ(tally.ownLabels().totalGames, "0");
    EXPECT_EQ(tally.ownLabels().bestScoring, "None");
}

TEST(Tally, StopFollowingRemovesThatRowAndKeepsTheOthersInOrder) {
    struct Case {
        int position;
        std::vector<std::string> left;
    };
    const Case cases[] = {
        {0, {"Bob", "Cy"}}, {1, {"Ann", "Cy"}}, {2, {"Ann", "Bob"}}, {3, {"Ann", "Bob", "Cy"}}};
    for (const Case& c : cases) {
        Tally tally;
        for (const char* name : {"Ann", "Bob", "Cy"})
            tally.follow(name);
        tally.addgame("Cy", {"Cy"});
        tally.stopFollowing(c.position);
        EXPECT_EQ(tally.followedNames(), c.left) << c.position;
        const auto cy = std::find(c.left.begin(), c.left.end(), "Cy");
        if (cy != c.left.end()) {
            EXPECT_EQ(tally.opponentLabels(static_cast<int>(cy - c.left.begin())).counts[1], "1")
                << "Cy's counts moved with the name";
        }
    }
    Tally one;
    one.follow("Ann");
    one.stopFollowing(0);
    EXPECT_EQ(one.grid().rowCount(), 1);
}

TEST(TallyText, ThreeRowsAre32LinesColumnByColumn) {
    Tally tally;
    tally.follow("Ann");
    tally.follow("Bob");
    const std::string text = tallyText(tally.grid());
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(text.substr(at, end - at));
    ASSERT_EQ(lines.size(), 32u);
    EXPECT_EQ(text.size(), text.find_last_of('\n') + 1) << "the last line is ended too";
    EXPECT_EQ(lines[0], "10");
    EXPECT_EQ(lines[1], "3");
    EXPECT_EQ((std::vector<std::string>(lines.begin() + 2, lines.begin() + 5)),
              (std::vector<std::string>{"0", "Ann", "Bob"}));

    TallyGrid back;
    EXPECT_FALSE(readTallyText(text, back));
    EXPECT_EQ(tallyText(back), text);
}

TEST(TallyText, ReadsLenientlyWhereItIsSafe) {
    struct Case {
        const char* what;
        std::string text;
        int rows;
        std::string cell00;
        std::string cell90;
    };
    const Case cases[] = {
        {"blanks before a count, words after it, LF line ends",
         "  10 columns\n 1\nA\nB\nC\nD\nE\nF\nG\nH\nI\nJ\n", 1, "A", "J"},
        {"fewer columns leave the rest empty", "2\r\n1\r\nA\r\nB\r\n", 1, "A", ""},
        {"more columns are dropped", "11\r\n1\r\nA\r\nB\r\nC\r\nD\r\nE\r\nF\r\nG\r\nH\r\nI\r\nJ\r\nK\r\n", 1,
         "A", "J"},
        {"a last line without its end", "1\r\n1\r\nA", 1, "A", ""},
        {"no rows still gives row 0", "10\r\n0\r\n", 1, "", ""},
    };
    for (const Case& c : cases) {
        TallyGrid grid;
        EXPECT_FALSE(readTallyText(c.text, grid)) << c.what;
        EXPECT_EQ(grid.rowCount(), c.rows) << c.what;
        EXPECT_EQ(grid.cell(0, 0), c.cell00) << c.what;
        EXPECT_EQ(grid.cell(9, 0), c.cell90) << c.what;
    }
}

TEST(TallyText, BadCountsAreReadableErrorsAndLeaveTheGridAlone) {
    struct Case {
        std::string text;
        std::string error;
    };
    const Case cases[] = {
        {"", "'' is not a valid integer value"},
        {"ten\r\n1\r\n", "'ten' is not a valid integer value"},
        {"10\r\n", "'' is not a valid integer value"},
        {"10\r\nx1\r\n", "'x1' is not a valid integer value"},
        {"10\r\n99999999999\r\n", "'99999999999' is not a valid integer value"},
        {"10\r\n-1\r\n", "The tally text does not hold -1 rows of 10 columns"},
        {"10\r\n2\r\n" + std::string(18, '\n'), "The tally text does not hold 2 rows of 10 columns"},
        {"1\r\n100001\r\n" + std::string(100001, '\n'),
         "The tally text does not hold 100001 rows of 1 columns"},
    };
    for (const Case& c : cases) {
        TallyGrid grid;
        grid.setCell(3, 0, "kept");
        EXPECT_EQ(readTallyText(c.text, grid), c.error);
        EXPECT_EQ(grid.cell(3, 0), "kept");
        EXPECT_EQ(grid.rowCount(), 1);
    }
}

TEST(TallyFile, DamagedFileGivesAnEmptyTallyAndOneError) {
    const std::string good = tallyFileBytes(TallyGrid());
    const TallyFileRead cut = readTallyFile(good.substr(0, good.size() - 1), "t.tld");
    EXPECT_EQ(cut.error, std::string(kLzrwSizeError));
    EXPECT_EQ(tallyText(cut.grid), tallyText(TallyGrid()));
    EXPECT_EQ(readTallyFile("junk", "t.tld").error,
              "t.tld : Lzrw1 decompression : this file has no valid header !");
    EXPECT_EQ(readTallyFile(lzrwCompress("x\r\n"), "t.tld").error, "'x' is not a valid integer value");
}
