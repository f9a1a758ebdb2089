#include <gtest/gtest.h>

#include <fstream>

#include "common/settingsfile.h"
#include "tempfolder.h"

using namespace velmora;

TEST(Settings, ReadsValueOfSectionAndKeyIgnoringCase)
{
    const std::string ini = "; note\r\n[Altro]\r\nValore=no\r\n[accesso]\r\n  VALORE = 4E0D \r\n";
    EXPECT_EQ(iniValue(ini, "Accesso", "Valore"), "4E0D");
    EXPECT_EQ(iniValue(ini, "Accesso", "Manca"), "");
    EXPECT_EQ(iniValue(ini, "Manca", "Valore"), "");
    EXPECT_EQ(iniValue("", "Accesso", "Valore"), "");
}

TEST(Settings, FirstOfDuplicateSectionsWinsAndOddLinesAreSkipped)
{
    const std::string ini = "garbage line\n[Accesso\n[Accesso]\nno equals here\nValore=\"AB\"\n[Accesso]\nValore=CD\n";
    EXPECT_EQ(iniValue(ini, "Accesso", "Valore"), "AB");
}

TEST(Settings, WritingKeepsEveryOtherLine)
{
    const std::string ini = "[Primo]\r\nA=1\r\n\r\n[Accesso]\r\nValore=OLD\r\nAltro=2\r\n";
    EXPECT_EQ(iniWithValue(ini, "Accesso", "Valore", "NEW"),
              "[Primo]\r\nA=1\r\n\r\n[Accesso]\r\nValore=NEW\r\nAltro=2\r\n");
    EXPECT_EQ(iniWithValue("[Primo]\r\nA=1", "Accesso", "Valore", "X"), "[Primo]\r\nA=1\r\n[Accesso]\r\nValore=X\r\n");
    EXPECT_EQ(iniWithValue("[Accesso]\r\nB=1\r\n\r\n[Z]\r\n", "Accesso", "Valore", "X"),
              "[Accesso]\r\nB=1\r\nValore=X\r\n\r\n[Z]\r\n");
    EXPECT_EQ(iniWithValue("", "Accesso", "Valore", "X"), "[Accesso]\r\nValore=X\r\n");
}

TEST(Settings, FileRoundTripAndMissingFile)
{
    TempFolder dir;
    const SettingsFile store(dir / "unins000.dll");
    EXPECT_EQ(store.read("Accesso", "Valore"), "");
    EXPECT_EQ(store.readChecked("Accesso", "Valore"), std::optional<std::string>(""));
    EXPECT_FALSE(std::filesystem::exists(dir / "unins000.dll"));
    ASSERT_TRUE(store.write("Accesso", "Valore", "59"));
    EXPECT_EQ(store.read("Accesso", "Valore"), "59");
    ASSERT_TRUE(store.write("Accesso", "Valore", "4E0D"));
    EXPECT_EQ(store.read("Accesso", "Valore"), "4E0D");
}

TEST(Settings, WritingIntoDamagedContentReadsBackAndKeepsTheRest)
{
    const struct
    {
        std::string content;
        bool replaces; // the first section already holds the key
    } damaged[] = {
        {std::string("\0\xff[\x01]=\r\r\n==\n", 12), false},
        {"[Accesso]\r\nValore=AB\r\n[Accesso]\r\nValore=CD\r\n", true},
        {"[Accesso\nValore=AB\n", false},
        {"[]\n[Accesso]\rValore=AB", false},
        {"=\n[ Accesso ]\nValore\n;Valore=AB\n]\n[", false},
        {std::string(5000, '['), false},
    };
    for (const auto &[content, replaces] : damaged) {
        SCOPED_TRACE(content.substr(0, 40));
        const std::string written = iniWithValue(content, "Accesso", "Valore", "0F");
        EXPECT_EQ(iniValue(written, "Accesso", "Valore"), "0F");
        if (replaces) {
            // A second section of the same name keeps its own value.
            EXPECT_NE(written.find("Valore=CD"), std::string::npos);
            EXPECT_EQ(written.find("Valore=AB"), std::string::npos);
            continue;
        }
        // Only a line is added: every byte already there is kept, in order.
        std::size_t at = 0;
        for (const char c : content) {
            const std::size_t found = written.find(c, at);
            ASSERT_NE(found, std::string::npos);
            at = found + 1;
        }
    }
}
