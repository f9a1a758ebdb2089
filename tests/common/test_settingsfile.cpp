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
