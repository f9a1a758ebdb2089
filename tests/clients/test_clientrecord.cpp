#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>

#include "clients/clientrecord.h"

using namespace velmora;

namespace {

std::vector<std::string> card(const std::string &name, const std::string &place = {}, const std::string &room = {},
                              const std::string &stay = {}, const std::string &mobile = {},
                              const std::string &email = {})
{
    std::vector<std::string> v(client::FieldCount);
    v[client::Cliente] = name;
    v[client::LuogoNasc] = place;
    v[client::Camera] = room;
    v[client::Permanenza] = stay;
    v[client::TelCel] = mobile;
    v[client::Email] = email;
    return v;
}

} // namespace

struct FieldRow
{
    client::Field field;
    std::size_t offset;
    std::size_t capacity;
};

class ClientLayoutTest : public ::testing::TestWithParam<FieldRow>
{
};

TEST_P(ClientLayoutTest, FieldSitsWhereTheArchiveKeepsIt)
{
    const FieldRow row = GetParam();
    EXPECT_EQ(clientLayout().offset(row.field), row.offset) << client::fieldName(row.field);
    EXPECT_EQ(clientLayout().capacity(row.field), row.capacity) << client::fieldName(row.field);
}

INSTANTIATE_TEST_SUITE_P(AllFields, ClientLayoutTest,
                         ::testing::Values(FieldRow{client::Cliente, 0, 50}, FieldRow{client::DataNasc, 51, 50},
                                           FieldRow{client::LuogoNasc, 102, 50}, FieldRow{client::Camera, 153, 50},
                                           FieldRow{client::Permanenza, 204, 50}, FieldRow{client::Indirizzo, 255, 50},
                                           FieldRow{client::Citta, 306, 50}, FieldRow{client::TipoDoc, 357, 50},
                                           FieldRow{client::NumDoc, 408, 50}, FieldRow{client::EnteDoc, 459, 120},
                                           FieldRow{client::RilDoc, 580, 50}, FieldRow{client::ScaDoc, 631, 50},
                                           FieldRow{client::CodFisc, 682, 16}, FieldRow{client::Iva, 699, 11},
                                           FieldRow{client::Carta, 711, 50}, FieldRow{client::TipoCarta, 762, 50},
                                           FieldRow{client::ScaCarta, 813, 50}, FieldRow{client::Iban, 864, 50},
                                           FieldRow{client::Banca, 915, 120}, FieldRow{client::Intestatario, 1036, 120},
                                           FieldRow{client::Pagamento, 1157, 250}, FieldRow{client::TelCasa, 1408, 50},
                                           FieldRow{client::TelUff, 1459, 50}, FieldRow{client::TelCel, 1510, 50},
                                           FieldRow{client::Fax, 1561, 50}, FieldRow{client::Email, 1612, 120},
                                           FieldRow{client::Note, 1733, 250}, FieldRow{client::File01, 1984, 250},
                                           FieldRow{client::File02, 2235, 250}, FieldRow{client::File03, 2486, 250},
                                           FieldRow{client::Desc01, 2737, 250}, FieldRow{client::Desc02, 2988, 250},
                                           FieldRow{client::Desc03, 3239, 250}, FieldRow{client::Cartella, 3490, 250},
                                           FieldRow{client::CartellaDesc, 3741, 250}));

TEST(ClientRecord, HoldsThirtyFiveFieldsIn3992Bytes)
{
    EXPECT_EQ(clientLayout().fieldCount(), 35u);
    EXPECT_EQ(clientLayout().size(), 3992u);
    EXPECT_STREQ(kClientArchive, "Anagrafica.pro");
    EXPECT_STREQ(kClientTemp, "Anagrafica.tmp");
}

TEST(ClientRecord, StoresValuesTrimmedAndCutToCapacity)
{
    std::vector<std::string> values(client::FieldCount);
    values[client::Cliente] = std::string(50, 'x');
    values[client::CodFisc] = "RSSMRA80A01H501UX"; // 17 characters in a 16-character field
    values[client::Iva] = "   ";
    values[client::Note] = "  nota  ";
    const std::string record = clientLayout().encode(values);
    ASSERT_EQ(record.size(), 3992u);
    EXPECT_EQ(static_cast<unsigned char>(record[0]), 50u);
    EXPECT_EQ(record.substr(1, 50), std::string(50, 'x'));
    EXPECT_EQ(record[682], '\x10');
    EXPECT_EQ(record.substr(683, 16), "RSSMRA80A01H501U");
    EXPECT_EQ(record[699], '\0');
    EXPECT_EQ(record[1733], '\x04');
    EXPECT_EQ(record.substr(1734, 4), "nota");
    const auto back = clientLayout().decode(record);
    EXPECT_EQ(back[client::CodFisc], "RSSMRA80A01H501U");
    EXPECT_EQ(back[client::Iva], "");
}

struct MatchCase
{
    const char *title;
    std::vector<ClientCriterion> criteria;
    std::vector<std::string> values;
    bool matches;
};

class ClientMatchTest : public ::testing::TestWithParam<MatchCase>
{
};

TEST_P(ClientMatchTest, ListsTheCardOnlyWhenEveryCriterionIsInItsField)
{
    const MatchCase &c = GetParam();
    EXPECT_EQ(clientMatches(c.values, c.criteria), c.matches) << c.title;
    // The stored record gives the same answer as its values.
    EXPECT_EQ(clientMatches(clientLayout().encode(c.values), c.criteria), c.matches) << c.title;
}

INSTANTIATE_TEST_SUITE_P(
    Criteria, ClientMatchTest,
    ::testing::Values(
        MatchCase{"no criteria", {}, card("Rossi Mario"), true},
        MatchCase{"blank criteria", {{client::Cliente, ""}, {client::Note, "   "}}, card("Rossi Mario"), true},
        MatchCase{"surname first", {{client::Cliente, "ross"}}, card("Rossi Mario"), true},
        MatchCase{"surname last", {{client::Cliente, "ross"}}, card("Mario Rossi"), true},
        MatchCase{"capitals typed", {{client::Cliente, "ROSS"}}, card("mario rossi"), true},
        MatchCase{"absent", {{client::Cliente, "bianchi"}}, card("Rossi Mario"), false},
        MatchCase{
            "two fields", {{client::Cliente, "ross"}, {client::LuogoNasc, "roma"}}, card("Rossi Mario", "Roma"), true},
        MatchCase{"second field fails",
                  {{client::Cliente, "ross"}, {client::LuogoNasc, "roma"}},
                  card("Rossi Mario", "Milano"),
                  false},
        MatchCase{"each in its own field", {{client::Cliente, "roma"}}, card("Rossi Mario", "Roma"), false},
        MatchCase{"trailing blank kept", {{client::Cliente, "rossi "}}, card("Mario Rossi"), false},
        MatchCase{"trailing blank found", {{client::Cliente, "rossi "}}, card("Rossi Mario"), true},
        MatchCase{"leading blank kept", {{client::Cliente, " mario"}}, card("Mario Rossi"), false},
        MatchCase{"accented capital not folded", {{client::LuogoNasc, "\xC0"}}, card("X", "citt\xE0"), false},
        MatchCase{"accented small found", {{client::LuogoNasc, "CITT\xE0"}}, card("X", "Citt\xE0"), true}));

TEST(ClientMatch, CountsOnlyCriteriaThatAreNotBlank)
{
    EXPECT_EQ(activeCriteriaCount(
                  {{client::Cliente, "a"}, {client::Note, " "}, {client::Iva, "\t"}, {client::Camera, " 1 "}}),
              2u);
}

TEST(ClientListLine, PadsNameRoomStayAndMobileAndLeavesTheMailAsItIs)
{
    const std::string line = clientListLine(card("Rossi Mario", "", "101", "1-8 agosto", "333 1234567", "m@r.it"));
    EXPECT_EQ(line, "Rossi Mario                     Camera: 101                   Perm. 1-8 agosto                "
                    "      Cel. 333 1234567           E-mail: m@r.it");
    EXPECT_EQ(line.size(), 30 + 10 + 20 + 8 + 30 + 7 + 20 + 10 + 6u);
}

TEST(ClientListLine, CutsLongValuesToTheirColumn)
{
    const std::string name(45, 'n');
    const std::string room(25, 'c');
    const std::string line = clientListLine(card(name, "", room, "", "", ""));
    EXPECT_EQ(line.substr(0, 40), std::string(30, 'n') + "  Camera: ");
    EXPECT_EQ(line.substr(40, 28), std::string(20, 'c') + "  Perm. ");
    EXPECT_EQ(line.substr(line.size() - 10), "  E-mail: ");
}

TEST(ClientListLine, ReadsTheSameLineFromTheStoredRecord)
{
    const auto values = card("  Verdi Anna ", "", "12", "", "", "anna@verdi.it");
    EXPECT_EQ(clientListLine(clientLayout().encode(values)), clientListLine(values));
    EXPECT_EQ(clientListLine(values).substr(0, 12), "Verdi Anna  ");
}

TEST(ListLineOrder, IgnoresCaseAndKeepsEqualLinesInOrder)
{
    std::vector<std::string> lines = {"rossi b", "Bianchi", "ROSSI A", "bianchi", "\xC0ngelo", "Zeta", "Abate"};
    sortListLines(lines);
    EXPECT_EQ(lines,
              (std::vector<std::string>{"Abate", "\xC0ngelo", "Bianchi", "bianchi", "ROSSI A", "rossi b", "Zeta"}));
}

TEST(ListLineOrder, ShorterNameComesFirstWhenPadded)
{
    std::vector<std::string> lines = {clientListLine(card("Rossi Mario")), clientListLine(card("Rossi"))};
    sortListLines(lines);
    EXPECT_EQ(lines.front().substr(0, 11), "Rossi      ");
}

TEST(LineLookup, IdenticalLinesGiveTheLaterCard)
{
    const auto same = card("Neri Luca", "Roma", "5", "agosto", "333", "l@n.it");
    auto other = same;
    other[client::LuogoNasc] = "Napoli"; // not on the line, so the line is still the same
    const std::vector<std::string> records = {clientLayout().encode(card("Altri")), clientLayout().encode(same),
                                              clientLayout().encode(other), clientLayout().encode(card("Zeta"))};
    const auto folder = std::filesystem::temp_directory_path() / ("velmora-lookup-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    {
        std::ofstream out(folder / "Anagrafica.pro", std::ios::binary);
        for (const std::string &r : records)
            out << r;
    }
    const RecordFile archive(folder / "Anagrafica.pro", clientLayout().size());
    const auto found = lastCardWithLine(archive, "  " + clientListLine(same) + " ");
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->number, 3u);
    EXPECT_EQ(found->record, records[2]);
    EXPECT_FALSE(lastCardWithLine(archive, clientListLine(card("Nessuno"))).has_value());
    std::filesystem::remove(folder / "Anagrafica.pro");
    std::filesystem::create_directory(folder / "Anagrafica.pro");
    EXPECT_FALSE(lastCardWithLine(archive, clientListLine(same)).has_value()) << "an unreadable archive finds nothing";
    std::filesystem::remove_all(folder);
}
