#include "core/dict/tdictn.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "core/dict/builtinwords.h"
#include "core/dict/records.h"

using namespace plimb;
namespace fs = std::filesystem;

namespace {

const std::string kSmall = test::makeRecords(
    {"ab", "at", "cat", "cats", "dog", "internationalization", "quartz", "zebra", "zygote"});

struct TempDir {
    fs::path path = fs::temp_directory_path() /
                    ("plimb-dict-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
    TempDir() {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~TempDir() { fs::remove_all(path); }
    fs::path write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path / name, std::ios::binary) << bytes;
        return path / name;
    }
};

} // namespace

// The same small list answers the same in memory and in a file.
TEST(TDictn, AnswersFromRecordsInMemoryAndFromARecordFileTheSame) {
    const struct {
        std::string word;
        bool isword;
        const char* why;
    } words[] = {
        {"", false, "nothing"},
        {"          ", false, "only blanks"},
        {std::string(3, '\0'), false, "only NULs"},
        {"cat", true, ""},
        {"CAT", true, "any letter case"},
        {"cAt", true, "any letter case"},
        {"  cat     ", true, "a board with the word in the middle"},
        {std::string("cat\0\0", 5), true, "NULs read as blanks"},
        {"ca t", false, "an inner blank never matches"},
        {"c", false, "a start of a word"},
        {"ca", false, "a start of a word"},
        {"catss", false, "a word and more"},
        {"ab", true, ""},
        {"at", true, ""},
        {"cats", true, ""},
        {"dog", true, ""},
        {"quartz", true, ""},
        {"zebra", true, ""},
        {"zygote", true, "the last record"},
        {"aa", false, "before the first record"},
        {"abc", false, ""},
        {"zz", false, "after the last record"},
        {"zygotes", false, ""},
        {"b", false, ""},
        {"internationali", true, "the stored first 14 letters"},
        {"INTERNATIONALI", true, "the stored first 14 letters"},
        {"internationaliz", false, "15 letters never match"},
        {"internationalization", false, "15 letters never match"},
    };
    TempDir dir;
    const TDictn inMemory{std::span<const char>(kSmall)};
    const TDictn inFile = TDictn::fromFile(dir.write("English", kSmall).string());
    for (const auto& [source, d] : {std::pair<const char*, const TDictn&>{"in memory", inMemory},
                                    std::pair<const char*, const TDictn&>{"in a file", inFile}}) {
        SCOPED_TRACE(source);
        ASSERT_TRUE(d.isOpen());
        EXPECT_EQ(d.recordCount(), 9);
        for (const auto& row : words)
            EXPECT_EQ(d.isword(row.word), row.isword) << '"' << row.word << "\" " << row.why;
    }
}

TEST(TDictn, NotOpenAnswersFalseForEveryWord) {
    const TDictn none;
    EXPECT_FALSE(none.isOpen());
    EXPECT_FALSE(none.isword("cat"));
    const TDictn empty{std::span<const char>()};
    EXPECT_FALSE(empty.isOpen());
    EXPECT_FALSE(empty.isword("cat"));
}

TEST(TDictn, BytesAfterANulAndAPartialRecordAreNotSearched) {
    const std::string withNul = test::makeRecords({"ab", "cat"}) + '\0' + test::makeRecords({"zebra"});
    TDictn d{std::span<const char>(withNul)};
    EXPECT_EQ(d.recordCount(), 2);
    EXPECT_TRUE(d.isword("cat"));
    EXPECT_FALSE(d.isword("zebra"));

    const std::string partial = test::makeRecords({"ab", "cat", "dog"}).substr(0, 40);
    TDictn cut{std::span<const char>(partial)};
    EXPECT_EQ(cut.recordCount(), 2);
    EXPECT_TRUE(cut.isword("cat"));
    EXPECT_FALSE(cut.isword("dog"));
}

TEST(TDictn, ShortReadDuringLookupAnswersFalse) {
    TempDir dir;
    const auto file = dir.write("English", test::makeRecords({"ab", "cat", "dog"}));
    const TDictn d = TDictn::fromFile(file.string());
    ASSERT_TRUE(d.isOpen());
    fs::resize_file(file, 15); // the middle record the search reads first is gone
    EXPECT_FALSE(d.isword("cat"));
    EXPECT_FALSE(d.isword("ab"));
}

TEST(TDictnLoad, UsesAnExistingFileUnchangedElseTheBuiltInList) {
    TempDir dir;
    const std::string path = (dir.path / "English").string();
    const TDictn builtin = TDictn::load(path, std::span<const char>(kSmall));
    EXPECT_TRUE(builtin.isOpen());
    EXPECT_TRUE(builtin.isword("cat"));
    EXPECT_FALSE(fs::exists(path)) << "the built-in list is searched in memory, no file is written";

    const std::string onlyZebu = test::makeRecords({"zebu"});
    dir.write("English", onlyZebu);
    const TDictn fromFile = TDictn::load(path, std::span<const char>(kSmall));
    EXPECT_TRUE(fromFile.isword("zebu"));
    EXPECT_FALSE(fromFile.isword("cat"));
    EXPECT_TRUE(fs::exists(path)) << "the file is never deleted";
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), onlyZebu) << "opened read-only";
}

TEST(TDictnLoad, AWordFileThatCannotBeUsedIsPassedOverForTheBuiltInList) {
    // Each of these would reject every word if it were searched: the built-in list stands in
    // and the caller learns that the file was ignored.
    const std::string two = test::makeRecords({"cat", "dog"});
    const std::string unsorted = two.substr(15) + two.substr(0, 15);
    const std::vector<std::pair<const char*, std::function<void(const fs::path&)>>> cases{
        {"empty", [](const fs::path& p) { std::ofstream(p, std::ios::binary); }},
        {"shorter than one record",
         [&](const fs::path& p) { std::ofstream(p, std::ios::binary) << two.substr(0, 14); }},
        {"unsorted", [&](const fs::path& p) { std::ofstream(p, std::ios::binary) << unsorted; }},
        {"a folder", [](const fs::path& p) { fs::create_directory(p); }},
        {"a dangling link", [](const fs::path& p) { fs::create_symlink(p.parent_path() / "nowhere", p); }},
    };
    for (const auto& [what, make] : cases) {
        TempDir dir;
        const fs::path path = dir.path / "English";
        make(path);
        const TDictn d = TDictn::load(path.string(), std::span<const char>(kSmall));
        EXPECT_TRUE(d.wordFileIgnored()) << what;
        EXPECT_TRUE(d.isword("zebra")) << what;
    }
}

TEST(TDictnLoad, AUsableWordFileIsUsedAndNotReportedAsIgnored) {
    const std::string words = test::makeRecords({"cat", "cat", "dog", "zebu"}); // repeats allowed
    const std::vector<std::pair<const char*, std::string>> cases{
        {"one record", words.substr(0, 15)},
        {"sorted with a repeated record", words},
        {"a trailing partial record", words + "\x1e" + "ZZ"},
    };
    for (const auto& [what, bytes] : cases) {
        TempDir dir;
        dir.write("English", bytes);
        const TDictn d = TDictn::load((dir.path / "English").string(), std::span<const char>(kSmall));
        EXPECT_FALSE(d.wordFileIgnored()) << what;
        EXPECT_TRUE(d.isword("cat")) << what;
        EXPECT_FALSE(d.isword("zebra")) << what << ": the built-in list is not searched";
    }
    TempDir none;
    EXPECT_FALSE(
        TDictn::load((none.path / "English").string(), std::span<const char>(kSmall)).wordFileIgnored());
}

TEST(BuiltinWordRecords, AreWellFormedAndSorted) {
    const auto records = builtinWordRecords();
    ASSERT_GT(records.size(), 100000u * 15);
    ASSERT_EQ(records.size() % 15, 0u);
    std::string_view previous;
    for (std::size_t at = 0; at < records.size(); at += 15) {
        const std::string_view record(records.data() + at, 15);
        ASSERT_EQ(record[0], '\x1e') << at / 15;
        const auto text = record.substr(1);
        const auto end = text.find_last_not_of(' ') + 1;
        ASSERT_GE(end, 2u) << text;
        for (std::size_t i = 0; i < 14; ++i)
            ASSERT_TRUE(i < end ? (text[i] >= 'A' && text[i] <= 'Z') : text[i] == ' ') << text;
        ASSERT_LE(previous, text) << "records out of order at " << at / 15;
        previous = text;
    }
}

TEST(BuiltinWordRecords, KnowCommonWords) {
    const TDictn spell{builtinWordRecords()};
    for (auto w : {"cat", "quartz", "house", "Houses", "interviews", "at"})
        EXPECT_TRUE(spell.isword(w)) << w;
    for (auto w : {"qzx", "housex", "a", "ho use"})
        EXPECT_FALSE(spell.isword(w)) << w;
}

TEST(BuiltinComputerWords, AreShortSortedAndAllInTheDictionary) {
    const TDictn spell{builtinWordRecords()};
    const auto words = builtinComputerWords();
    ASSERT_GT(words.size(), 3000u);
    EXPECT_TRUE(std::is_sorted(words.begin(), words.end()));
    for (const auto& w : words) {
        ASSERT_GE(w.size(), 1u);
        ASSERT_LE(w.size(), 7u) << w;
        ASSERT_EQ(w.find_first_not_of("abcdefghijklmnopqrstuvwxyz"), std::string::npos) << w;
        if (w.size() >= 2) {
            EXPECT_TRUE(spell.isword(w)) << w;
        }
    }
}
