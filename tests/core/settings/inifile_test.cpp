#include "core/settings/inifile.h"
#include "core/settings/settings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace plimb {
namespace {

TEST(IniFile, WritesOnlyTheKeyAndKeepsEveryOtherByte) {
    struct Case {
        const char* before;
        const char* key;
        const char* value;
        const char* after;
    };
    const Case cases[] = {
        // No file: the section and the key are created, with the platform's profile line ends.
        {"", "Textsize", "10", "[Plimb]\r\nTextsize=10\r\n"},
        // In place, the key's own spelling and the file's LF line ends kept.
        {"; lobby\n[Lobby]\nName=Ann\n\n[plimb]\n TEXTSIZE = 8 \nTop=3\n", "Textsize", "12",
         "; lobby\n[Lobby]\nName=Ann\n\n[plimb]\n TEXTSIZE =12\nTop=3\n"},
        // Appended after the section's last entry, before the blank line and the next section.
        {"[Plimb]\r\nTop=3\r\n\r\n[Other]\r\nTextsize=1\r\n", "Textsize", "8",
         "[Plimb]\r\nTop=3\r\nTextsize=8\r\n\r\n[Other]\r\nTextsize=1\r\n"},
        // A last line without a line end gets one before the new section.
        {"[Other]\nx=1", "Steals", "5", "[Other]\nx=1\n[Plimb]\nSteals=5\n"},
        // Comments that look like keys are not keys; a value never breaks a line.
        {"[Plimb]\n;Steals=9\n", "Steals", "a\r\nb", "[Plimb]\n;Steals=9\nSteals=a  b\n"},
    };
    for (const Case& c : cases) {
        IniFile ini(c.before);
        ini.set("Plimb", c.key, c.value);
        EXPECT_EQ(ini.text(), c.after) << c.before;
    }
}

TEST(IniFile, ReadsTrimmedValuesOfTheFirstMatchingSectionAndKey) {
    const IniFile ini("[Other]\nTop=9\n[ PLIMB ]\n  top =  44  \nTop=55\nEmpty=\n# Left=1\n[Plimb]\nLeft=2\n");
    EXPECT_EQ(ini.get("plimb", "TOP"), "44");
    EXPECT_EQ(ini.get("Plimb", "Empty"), "");
    EXPECT_EQ(ini.get("Plimb", "Left"), std::nullopt);
    EXPECT_EQ(ini.get("Nowhere", "Top"), std::nullopt);

    // A line is read as what it says after a write: "[k=" was a key, "[k=v]" opens a section.
    IniFile edited("[Plimb]\n[k=\nTop=1\n");
    edited.set("Plimb", "[k", "v]");
    EXPECT_EQ(edited.get("Plimb", "Top"), std::nullopt);
    EXPECT_EQ(edited.get("k=v", "Top"), "1");
}

TEST(Settings, DefaultsWhenTheFileIsMissing) {
    const LoadedSettings s = readSettings(IniFile());
    EXPECT_EQ(s.bounds, (WindowBounds{3, 3, 734, 540}));
    EXPECT_EQ(s.turnSound, 0);
    EXPECT_EQ(s.textSize, 8);
    EXPECT_EQ(s.textColour, clBlack);
    EXPECT_EQ(s.actionColour, clBlack);
    EXPECT_TRUE(s.playSounds);
    EXPECT_TRUE(s.chatterSounds);
    EXPECT_EQ(s.playToScore, "200");
    EXPECT_EQ(s.creationTime, "30");
    EXPECT_EQ(s.steals, "5");
    EXPECT_FALSE(s.unlimited);
    for (const auto& p : s.phrases)
        EXPECT_FALSE(p.has_value());
}

TEST(Settings, StoredValuesAndTheirConversionRules) {
    const LoadedSettings s = readSettings(IniFile("[Plimb]\nTextsize=9\nTextcolor=$000000FF\nActioncolor=nonsense\n"
                                                  "Playsounds=FALSE\nChatterSounds=false\nPlaytoscore=5000\n"
                                                  "Creationtime=abc\nSteals=-2\nTop=x\nLeft=40\nWidth=800\n"
                                                  "Turnsound=1\nUnlimited=T\nPhrase2=Hi there\nPhrase3=\n"));
    EXPECT_EQ(s.textSize, 9);
    EXPECT_EQ(s.textColour, clRed);
    EXPECT_EQ(s.actionColour, clBlack) << "unreadable colour text gives black";
    EXPECT_TRUE(s.playSounds) << "only the exact text \"false\" turns sounds off";
    EXPECT_FALSE(s.chatterSounds);
    EXPECT_EQ(s.playToScore, "5000") << "no range check on load";
    EXPECT_EQ(s.creationTime, std::nullopt) << "the dialog keeps what it shows";
    EXPECT_EQ(s.steals, "-2");
    EXPECT_EQ(s.bounds, (WindowBounds{40, 3, 800, 540}));
    EXPECT_EQ(s.turnSound, 1);
    EXPECT_FALSE(s.unlimited);
    EXPECT_EQ(s.phrases[1], "Hi there");
    EXPECT_FALSE(s.phrases[2].has_value()) << "an empty phrase keeps the built-in one";

    SavedSettings saved;
    saved.textColour = s.textColour;
    IniFile out;
    writeSettings(out, saved);
    EXPECT_EQ(out.get("Plimb", "Textcolor"), "clRed");
}

TEST(Settings, SaveWritesEveryKeyInOrderAndAnIndependentReaderAgrees) {
    SavedSettings saved;
    saved.textSize = 14;
    saved.actionColour = 0x83621B;
    saved.bounds = {10, 20, 900, 600};
    saved.turnSound = 1;
    saved.unlimited = true;
    saved.playSounds = false;
    IniFile ini("[Lobby]\r\nName=Ann\r\n");
    writeSettings(ini, saved);
    writePhrases(ini, {"Way To Go!", "", "/me waves", "", "", "", "", "", "Bye"});
    const std::string expected = "[Lobby]\r\nName=Ann\r\n[Plimb]\r\nTextsize=14\r\nTextcolor=clBlack\r\n"
                                 "Actioncolor=$0083621B\r\nPlaytoscore=200\r\nCreationtime=30\r\nSteals=5\r\n"
                                 "Top=20\r\nLeft=10\r\nWidth=900\r\nHeight=600\r\nTurnsound=1\r\nUnlimited=t\r\n"
                                 "Playsounds=false\r\nChatterSounds=true\r\nPhrase1=Way To Go!\r\nPhrase2=\r\n"
                                 "Phrase3=/me waves\r\nPhrase4=\r\nPhrase5=\r\nPhrase6=\r\nPhrase7=\r\n"
                                 "Phrase8=\r\nPhrase9=Bye\r\n";
    EXPECT_EQ(ini.text(), expected);

    const std::string reread = readSettings(ini).phrases[2].value_or("");
    EXPECT_EQ(reread, "/me waves");

    if (std::system("command -v crudini >/dev/null 2>&1") != 0) GTEST_SKIP() << "crudini is not installed";
    const auto path = std::filesystem::temp_directory_path() / "plimb_inifile_test.ini";
    std::ofstream(path, std::ios::binary) << ini.text();
    const std::string cmd = "crudini --get '" + path.string() + "' Plimb Actioncolor";
    FILE* pipe = popen(cmd.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char buf[64] = {};
    const std::string got(buf, std::fread(buf, 1, sizeof buf - 1, pipe));
    EXPECT_EQ(pclose(pipe), 0);
    EXPECT_EQ(got, "$0083621B\n");
    std::filesystem::remove(path);
}

} // namespace
} // namespace plimb
