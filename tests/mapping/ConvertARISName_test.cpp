#include "MappingTestSupport.h"
#include "runtime/modUtilities.h"

using namespace modMappingRule;
using mappingtest::CatchError;

namespace {

class ConvertName : public mappingtest::MappingTest {
protected:
    ConvertName() {
        CurrentExport().Options.ConvertNames = true;
        CreateDefaultMappingRules();
    }

    static std::string Repeat(const std::string& piece, std::size_t times) {
        std::string out;
        for (std::size_t i = 0; i < times; ++i) out += piece;
        return out;
    }

    std::string LogText() { return std::filesystem::exists(io.LogFileName()) ? io.ReadFile(io.LogFileName()) : ""; }

    static std::string Logged(const std::string& given, const std::string& result) {
        return modUtilities::GetNLSMessage(64, 3100, given, result);
    }
};

struct Case {
    std::string convention;
    std::string text;
    std::string rule;
    std::string expected;
    int logLines;  // lines of message 3100 written
};

}  // namespace

TEST_F(ConvertName, EachConventionCutsReplacesAndLogsItsOwnWay) {
    const std::string a300 = Repeat("a", 300);
    const std::string b5000 = Repeat("b", 5000);
    const std::string umlauts = Repeat("ä", 40);
    const std::vector<Case> cases = {
        // "1": identifier conversion, logged by both runs of the ending.
        {"1", "1st ORDER", "", "_st _DER", 2},
        {"1", "ISLAND", "", "_L_", 2},
        {"1", "Prüfe(Auftrag)-neu", "", "Prüfe_Auftrag__neu", 2},
        {"1", "Auftrag  prüfen", "", "Auftrag prüfen", 2},
        {"1", "Auftrag prüfen", "", "Auftrag prüfen", 0},
        {"1", umlauts, "", Repeat("ä", 32), 2},
        {"1", "a\tb\r\nc", "", "a_b__c", 2},
        {"1", "x_BLOCK y_STRUCT", "", "x_ y_", 2},
        // "2" and "3": descriptions and documentation.
        {"2", a300, "", Repeat("a", 254), 1},
        {"2", "Zeile\teins 'zwei'", "", "Zeile eins ''zwei''", 1},
        {"2", "Zeile\r\nzwei", "", "Zeile\r\nzwei", 0},
        {"3", b5000, "", Repeat("b", 4096), 1},
        {"3", "  Doku\t", "", "Doku", 1},
        // "4": one leading "_" goes, a second stays; the inner run saw no change.
        {"4", "_Kunde", "", "Kunde", 1},
        {"4", "__Kunde", "", "_Kunde", 1},
        {"4", "Kunde-Nr", "", "Kunde_Nr", 2},
        {"4", "Kunde", "", "Kunde", 0},
        // "5": first and last names, phones.
        {"5", "O'Neil", "", "O''Neil", 1},
        {"5", "a\r\nb\tc", "", "a  b c", 1},
        {"5", Repeat("ö", 33), "", Repeat("ö", 32), 1},
        // "6": organizations, roles, programs.
        {"6", "Abt. Vertrieb\tNord", "", "Abt_ Vertrieb Nord", 1},
        {"6", "a     b", "", "a b", 1},
        {"6", Repeat("x", 40), "", Repeat("x", 32), 1},
        // "7": person names; the "@" cut only for attribute 509.
        {"7", "jdoe@example.com", "PERSON_PersonName", "JDOE", 1},
        {"7", "jdoe@example.com", "", "JDOE_EXAMPLE.COM", 1},
        {"7", "a@b@c", "PERSON_PersonName", "A_B", 1},
        {"7", "@admin", "PERSON_PersonName", "_ADMIN", 1},
        {"7", "jdoe@example.com", "PERSON_LAST_NAME", "JDOE_EXAMPLE.COM", 1},
        {"7", "müller hans", "", "MÜLLER_HANS", 1},
        {"7", "straße", "", "STRAßE", 1},
        {"7", "a<b>[c]\\d\"e;f", "", "A_B__C__D_E_F", 1},
        // "8": process names.
        {"8", "Bestellung: prüfen?", "", "Bestellung_ prüfen_", 1},
        {"8", "a  *  b $1.0", "", "a _ b _1_0", 1},
        {"8", "it's", "", "it''s", 1},
        // A process name never breaks a line: CR, LF and TAB are blanks, then collapsed.
        {"8", "Order\r\nhandling\tfast", "", "Order handling fast", 1},
        {"8", "a\tb\r\n\r\nc", "", "a b c", 1},
        // "10": comparison operators.
        {"10", "!=", "", "<>", 1},
        {"10", ">=", "", ">=", 0},
        // "11": data member types.
        {"11", "  Float  ", "", "FLOAT", 1},
        {"11", "Integer", "", "LONG", 1},
        {"11", "Number (n)", "", "LONG", 1},
        {"11", "Number (n,m)", "", "FLOAT", 1},
        {"11", "Decimal (n,m)", "", "FLOAT", 1},
        {"11", "Boolean", "", "STRING", 1},
        {"11", "Ganze Zahl", "", "LONG", 1},
        {"11", "Fließkommazahl", "", "FLOAT", 1},
        {"11", "Bool", "", "STRING", 1},
        {"11", "float", "", "STRING", 1},
        {"11", "Text", "", "STRING", 1},
    };
    // Compared as a whole: some given texts hold line breaks.
    std::string expectedLog;
    for (const Case& c : cases) {
        EXPECT_EQ(ConvertARISName(c.text, c.convention, c.rule), c.expected) << c.convention << " " << c.text;
        for (int i = 0; i < c.logLines; ++i) expectedLog += Logged(c.text, c.expected) + "\r\n";
        ASSERT_EQ(LogText(), expectedLog) << c.convention << " " << c.text;
    }
    EXPECT_TRUE(box.boxes->texts.empty());
}

TEST_F(ConvertName, TheInnerRunOfConvention4LogsTheTextWithoutItsUnderscore) {
    EXPECT_EQ(ConvertARISName("_1abc", "4"), "_abc");
    std::vector<std::string> lines = LogLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "KVB03100I Die ARIS-Zeichenkette '1abc' wurde in eine WPX-kompatible Form geändert: '_abc'");
    EXPECT_EQ(lines[1], "KVB03100I Die ARIS-Zeichenkette '_1abc' wurde in eine WPX-kompatible Form geändert: '_abc'");
}

TEST_F(ConvertName, WithTheOptionOffTextsComeBackUnchanged) {
    CurrentExport().Options.ConvertNames = false;
    for (const char* convention : {"1", "2", "5", "6", "7", "11", "99"})
        EXPECT_EQ(ConvertARISName("\t 'x' AND y \t", convention, "PERSON_PersonName"), "\t 'x' AND y \t");
    EXPECT_EQ(ConvertARISName("", "6"), "");
    EXPECT_TRUE(LogLines().empty());
}

TEST_F(ConvertName, AnEmptyNameUnderConvention6AndAnUnknownConventionAreWarnings) {
    platform::Error e = CatchError([] { ConvertARISName("", "6"); });
    EXPECT_EQ(e.Number(), 2050);
    EXPECT_EQ(e.Description(), "Ungültiger Objektname");
    e = CatchError([] { ConvertARISName("Name", "12"); });
    EXPECT_EQ(e.Number(), 2040);
    EXPECT_EQ(e.Description(),
              "Ungültige WPX Namenskonvention '12' während der Konvertierung des ARIS-Namens 'Name' gefunden");
    EXPECT_TRUE(LogLines().empty());

    // A caller that goes on: the warning is shown for the conversion, the caller's name is back.
    CurrentExport().CurrentProcedure = "clsROLE.SetupProperty_ObjectName";
    EXPECT_FALSE(ConvertARISNameOrWarn("", "6").has_value());
    ASSERT_EQ(box.boxes->texts.size(), 1u);
    EXPECT_EQ(
        box.boxes->texts[0],
        "Warnung KVB02050E  gemeldet von 'modMappingRule.ConvertARISName'\r\nErklärung:\r\nUngültiger Objektname");
    EXPECT_EQ(CurrentExport().CurrentProcedure, "clsROLE.SetupProperty_ObjectName");
    EXPECT_EQ(ConvertARISNameOrWarn("Rolle", "6"), std::optional<std::string>("Rolle"));
    EXPECT_EQ(CatchError([] { ConvertARISNameOrWarn("x", "7", "NOPE"); }).Number(), 2100);
}

// The same name converted again (as each connector converts the names of its functions) gives
// the same result and logs its change again, every time; texts that differ only where a
// convention looks (a trailing dot, case) are not taken for one another.
TEST_F(ConvertName, ANameConvertedAgainIsLoggedAgainAndKeptApartFromSimilarNames) {
    const std::vector<std::pair<std::string, std::string>> rounds = {{"1.2 Prüfen", "__2 Prüfen"},
                                                                     {"1.2 Prüfen", "__2 Prüfen"},
                                                                     {"1.2 Prüfen.", "__2 Prüfen_"},
                                                                     {"1.2 prüfen", "__2 prüfen"},
                                                                     {"1.2 Prüfen", "__2 Prüfen"}};
    std::string expectedLog;
    for (const auto& [text, converted] : rounds) {
        EXPECT_EQ(ConvertARISName(text, "9"), converted) << text;
        expectedLog += Logged(text, converted) + "\r\n";
    }
    EXPECT_EQ(LogText(), expectedLog);
    // A name without change is not logged, the second time neither; an empty name under
    // convention 6 is refused each time.
    EXPECT_EQ(ConvertARISName("Order", "8"), "Order");
    EXPECT_EQ(ConvertARISName("Order", "8"), "Order");
    EXPECT_EQ(LogText(), expectedLog);
    for (int i = 0; i < 2; ++i) EXPECT_EQ(CatchError([] { ConvertARISName("", "6"); }).Number(), 2050);
    // Many different names: each still converts as its own.
    for (int i = 0; i < 10000; ++i) {
        const std::string name = "n." + std::to_string(i);
        ASSERT_EQ(ConvertARISName(name, "6"), "n_" + std::to_string(i));
    }
}
