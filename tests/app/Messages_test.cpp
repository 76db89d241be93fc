#include <gtest/gtest.h>

#include <functional>

#include <fstream>
#include <sstream>

#include "../support/TestEnv.h"
#include "platform/LanguageLibrary.h"
#include "platform/RegistryStore.h"
#include "runtime/clsExceptionHandler.h"
#include "runtime/modGlobals.h"
#include "runtime/modUtilities.h"

using namespace modUtilities;

namespace {

std::vector<std::pair<int, std::string>> ExpectedGermanCatalog() {
    std::ifstream in(testenv::TestDataPath("resources/catalog_deu.tsv"));
    std::vector<std::pair<int, std::string>> rows;
    std::string line;
    while (std::getline(in, line)) {
        auto tab = line.find('\t');
        rows.emplace_back(std::stoi(line.substr(0, tab)), line.substr(tab + 1));
    }
    return rows;
}

}  // namespace

TEST(LanguageLibraries, GermanHoldsTheCatalogExactlyAndEnglishTheSameIdsAndPlaceholders) {
    auto expected = ExpectedGermanCatalog();
    ASSERT_EQ(expected.size(), 77u);
    platform::LanguageLibrary deu, enu;
    ASSERT_TRUE(deu.Load(testenv::BinPath("kvbrdeu.so")));
    ASSERT_TRUE(enu.Load(testenv::BinPath("kvbrenu.so")));
    auto samePlaceholders = [](int id, const std::string& a, const std::string& b) {
        for (const char* holder : {"%1$s", "%2$s", "%3$s", "%4$s"})
            EXPECT_EQ(a.find(holder) == std::string::npos, b.find(holder) == std::string::npos) << id << " " << holder;
    };
    for (const auto& [id, text] : expected) {
        EXPECT_EQ(deu.Text(id).value_or("<missing>"), text) << id;
        std::string english = enu.Text(id).value_or("");
        ASSERT_FALSE(english.empty()) << id;
        samePlaceholders(id, text, english);
    }
    // Besides the catalog, the libraries hold only the program's own messages (60000 and
    // above), each in both languages with the same placeholders.
    EXPECT_EQ(deu.Ids(), enu.Ids());
    std::size_t own = 0;
    for (int id : deu.Ids()) {
        if (id < 60000) continue;
        ++own;
        std::string german = deu.Text(id).value_or(""), english = enu.Text(id).value_or("");
        EXPECT_FALSE(german.empty()) << id;
        EXPECT_FALSE(english.empty()) << id;
        samePlaceholders(id, german, english);
    }
    EXPECT_EQ(deu.Size(), 77u + own);
}

TEST(LanguageLibraries, WithoutALanguageValueTheLocalePicksTheLibraryAndASetValueWins) {
    using Env = std::map<std::string, std::optional<std::string>>;
    struct Row {
        Env env;
        const char* userValue;     ///< "Language" in the user hive, nullptr for none
        const char* machineValue;  ///< "Language" in the machine hive, nullptr for none
        const char* code;
        const char* cancel;  ///< text 50028 of the library loaded
    } rows[] = {
        {{{"LC_ALL", std::nullopt}, {"LC_MESSAGES", std::nullopt}, {"LANG", "de_DE.UTF-8"}},
         nullptr,
         nullptr,
         "DEU",
         "Abbrechen"},
        {{{"LC_ALL", ""}, {"LC_MESSAGES", "de_AT"}, {"LANG", "en_US.UTF-8"}}, nullptr, nullptr, "DEU", "Abbrechen"},
        {{{"LC_ALL", "en_GB.UTF-8"}, {"LANG", "de_DE.UTF-8"}}, nullptr, nullptr, "ENU", "Cancel"},
        // A language without a library, and the C locale, give English.
        {{{"LC_ALL", std::nullopt}, {"LC_MESSAGES", std::nullopt}, {"LANG", "fr_FR.UTF-8"}},
         nullptr,
         nullptr,
         "ENU",
         "Cancel"},
        {{{"LC_ALL", "C.UTF-8"}}, nullptr, nullptr, "ENU", "Cancel"},
        // A set value wins over the locale, from either hive.
        {{{"LC_ALL", "de_DE.UTF-8"}}, "ENU", nullptr, "ENU", "Cancel"},
        {{{"LC_ALL", "de_DE.UTF-8"}}, nullptr, "ENU", "ENU", "Cancel"},
        {{{"LC_ALL", "en_US.UTF-8"}}, "DEU", nullptr, "DEU", "Abbrechen"},
        {{{"LC_ALL", "de_DE.UTF-8"}}, "", nullptr, "DEU", "Abbrechen"},
    };
    for (const Row& r : rows) {
        testenv::Sandbox box("");
        testenv::ScopedEnv env(r.env);
        if (r.userValue)
            platform::RegistryHive(box.userHive, "HKEY_CURRENT_USER").Write(kProgramKey, "Language", r.userValue);
        if (r.machineValue)
            platform::RegistryHive(box.machineHive, "HKEY_LOCAL_MACHINE")
                .Write(kProgramKey, "Language", r.machineValue);
        ASSERT_TRUE(LoadLocalizedResources()) << r.code;
        EXPECT_EQ(CurrentExport().LanguageCode, r.code);
        EXPECT_EQ(GetNLSString(50028), r.cancel) << r.code;
        EXPECT_EQ(CurrentExport().HelpFile,
                  std::string("kvbr") + (std::string(r.code) == "DEU" ? "deu" : "enu") + ".htb");
        EXPECT_TRUE(box.boxes->texts.empty());
    }
}

TEST(Messages, MessageIdsPlaceholdersAndFallBack) {
    testenv::Sandbox box("DEU");
    EXPECT_EQ(clsExceptionHandler::FormatMessageID(64, 3060), "KVB03060I ");
    EXPECT_EQ(clsExceptionHandler::FormatMessageID(48, 2030), "KVB02030E ");
    EXPECT_EQ(clsExceptionHandler::FormatMessageID(64, 32755), "KVB32755I ");
    EXPECT_EQ(clsExceptionHandler::FormatMessageID(16, 7), "KVB00007C ");
    EXPECT_EQ(clsExceptionHandler::FormatMessageID(32, 999), "KVB00999Q ");
    EXPECT_EQ(clsExceptionHandler::FormatMessageID(0, 1), "KVB00001? ");

    // An empty first parameter stops the substitution: all placeholders stay.
    std::string raw = GetStringFromResourceFile(2120);
    EXPECT_EQ(GetNLSString(2120, "", "b", "c"), raw);
    EXPECT_NE(raw.find("%1$s"), std::string::npos);
    EXPECT_EQ(
        GetNLSString(2120, "a", "", "c"),
        "Diese ARIS-Objektdefinition entspricht nicht der Abbildungsregel: (Objekttyp = 'a', Objektname = '%2$s', "
        "Abbildungsregel = '%3$s')");
    EXPECT_EQ(GetNLSMessage(64, 3060, "Prüfen", "Funktion", "PROGRAM_ACTIVITY"),
              "KVB03060I Das ARIS-Objekt 'Prüfen' mit dem Typ 'Funktion' wurde auf ein WPX-Konstrukt vom Typ "
              "'PROGRAM_ACTIVITY' abgebildet.");
    EXPECT_EQ(GetStringFromResourceFile(12345), "Error :\r\nThe Resource ID '12345' was not found");
    CurrentExport().LanguageLibrary.Free();
    EXPECT_EQ(GetStringFromResourceFile(1000), "");
}

// Placeholders are filled one after the other, each in the text the one before left; the fast
// single pass over the library's text must give the same text in every case.
TEST(Messages, PlaceholdersAreFilledInTurnEvenWhenAParameterHoldsOne) {
    testenv::Sandbox box("ENU");
    const std::string text1000 = GetStringFromResourceFile(1000);  // "Error %1$s occurred in '%2$s'"
    ASSERT_EQ(text1000, "Error %1$s occurred in '%2$s'");
    struct Case {
        std::string p1, p2, p3, expected;
    };
    const Case cases[] = {
        {"7", "modX.Y", "", "Error 7 occurred in 'modX.Y'"},
        {"7", "", "", "Error 7 occurred in '%2$s'"},
        // A first parameter holding the second placeholder gets the second parameter too.
        {"%2$s!", "P", "", "Error P! occurred in 'P'"},
        // A later placeholder in a parameter stays when its parameter is empty.
        {"%2$s", "", "", "Error %2$s occurred in '%2$s'"},
        // Parameter signs next to the text's own: "%" + "2$s" makes no placeholder of the text's.
        {"%", "x", "", "Error % occurred in 'x'"},
        {"100 %", "$s", "", "Error 100 % occurred in '$s'"},
        {"a$b", "c%d", "", "Error a$b occurred in 'c%d'"},
    };
    for (const Case& c : cases) EXPECT_EQ(GetNLSString(1000, c.p1, c.p2, c.p3), c.expected) << c.p1 << "|" << c.p2;
    // Three placeholders, the second parameter carrying the third one.
    EXPECT_EQ(GetNLSString(2120, "T", "N %3$s", "R"),
              "This ARIS object definition does not conform to the mapping rule: (object type = 'T', object name = "
              "'N R', mapping rule = 'R')");
}

TEST(ErrorPath, FatalWarningQuestionAndUnknownErrors) {
    testenv::Sandbox box("DEU");
    clsExceptionHandler handler;
    CurrentExport().CurrentProcedure = "clsARIS_Interface.RetrieveSelectedARISModels";
    EXPECT_EQ(handler.AnalyseError(2020, "Beschreibung"), 3);
    ASSERT_EQ(box.boxes->texts.size(), 1u);
    EXPECT_EQ(box.boxes->texts[0],
              "Fehler KVB02020C  aufgetreten in 'clsARIS_Interface.RetrieveSelectedARISModels'\r\nErklärung:\r\n"
              "Beschreibung");
    EXPECT_EQ(box.boxes->styles[0] & 0xF0, 16);

    EXPECT_EQ(handler.AnalyseError(2050, "x"), 1);
    EXPECT_EQ(box.boxes->texts[1].rfind("Warnung KVB02050E  gemeldet von", 0), 0u);

    box.boxes->answers = {platform::kIdNo, platform::kIdNo, platform::kIdYes};
    EXPECT_EQ(handler.AnalyseError(32755, ""), 0);
    EXPECT_EQ(handler.AnalyseError(999, ""), 2);
    EXPECT_EQ(handler.AnalyseError(999, ""), 3);
    EXPECT_EQ(box.boxes->texts[2],
              "Warnung KVB32755Q  gemeldet von 'clsARIS_Interface.RetrieveSelectedARISModels'\r\n\r\n"
              "Sind Sie sicher, daß Sie das Programm beenden möchten?\r\n");

    std::size_t shown = box.boxes->texts.size();
    EXPECT_EQ(handler.AnalyseError(13, "Typen unverträglich"), 4);
    EXPECT_EQ(box.boxes->texts.size(), shown);  // unknown errors show nothing here
}

TEST(ErrorPath, HandleEndsTheProgramWithTheDocumentedStatus) {
    testenv::Sandbox box("DEU");
    clsExceptionHandler handler;
    CurrentExport().CurrentProcedure = "modMain.Main";
    auto statusOf = [&](int number) {
        try {
            handler.Handle(platform::Error(number, "d"));
        } catch (const ProgramEnd& end) {
            return end.exitStatus;
        }
        return -1;
    };
    EXPECT_EQ(statusOf(2020), kExitFatal);
    EXPECT_EQ(statusOf(429), kExitMercyful);
    EXPECT_EQ(box.boxes->texts.back(),
              "Unbekannter Fehler KVB00429C  aufgetreten in 'modMain.Main'\r\nErklärung:\r\nd");
    EXPECT_EQ(statusOf(-2147221005), kExitMercyful);  // does not fit 16 bits
    EXPECT_EQ(statusOf(32755), kExitUserRequest);     // batch answers Yes
    EXPECT_EQ(statusOf(2110), -1);                    // a warning goes on
}

TEST(ProcedureScope, RestoresTheCallerAndKeepsTheFailingNameWhileUnwinding) {
    testenv::Sandbox box("");
    {
        ProcedureScope outer("modMain.Main");
        {
            ProcedureScope inner("clsIOHandler.OpenFile");
            EXPECT_EQ(CurrentExport().CurrentProcedure, "clsIOHandler.OpenFile");
        }
        EXPECT_EQ(CurrentExport().CurrentProcedure, "modMain.Main");
        try {
            ProcedureScope inner("clsIOHandler.WriteFile");
            throw platform::Error(57, "x");
        } catch (const platform::Error&) {
            EXPECT_EQ(CurrentExport().CurrentProcedure, "clsIOHandler.WriteFile");
        }
        outer.Reassert();
        EXPECT_EQ(CurrentExport().CurrentProcedure, "modMain.Main");
    }
}

TEST(ProcedureScope, RestoresCallerNamesSetWithoutAScope) {
    testenv::Sandbox box("");
    struct Row {
        const char* what;
        std::function<void()> setCaller;
        std::string expected;
    } rows[] = {
        {"assigned", [] { CurrentExport().CurrentProcedure = "Test.Assigned"; }, "Test.Assigned"},
        {"empty", [] { CurrentExport().CurrentProcedure.clear(); }, ""},
        // A copy of the scope's name set by hand: a text of its own, restored as such.
        {"copied", [] { CurrentExport().CurrentProcedure = std::string(CurrentExport().CurrentProcedure.Text()); },
         "modMain.Run"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ProcedureScope outer("modMain.Main");
        ProcedureScope second("modMain.Setup");
        ProcedureScope third("modMain.Run");  // deeper than any caller name kept so far
        row.setCaller();
        {
            ProcedureScope inner("clsIOHandler.OpenFile");
            {
                ProcedureScope innermost("clsIOHandler.CloseFile");
                EXPECT_EQ(CurrentExport().CurrentProcedure, "clsIOHandler.CloseFile");
            }
            EXPECT_EQ(CurrentExport().CurrentProcedure, "clsIOHandler.OpenFile");
        }
        EXPECT_EQ(CurrentExport().CurrentProcedure, row.expected);
    }
    EXPECT_EQ(CurrentExport().CurrentProcedure, "");
}

TEST(Settings, MachineValueIsReadAndWrittenBackToTheUserHiveKeepingItsLines) {
    testenv::Sandbox box("");
    testenv::WriteFile(box.machineHive,
                       "Windows Registry Editor Version 5.00\r\n\r\n"
                       "[HKEY_LOCAL_MACHINE\\Software\\Veltrane\\Lumenport\\CurrentVersion]\r\n"
                       "\"FindDataFlowLoops\"=dword:00000000\r\n");
    std::string userBefore =
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\Veltrane\\Lumenport\\CurrentVersion]\r\n"
        "\"Language\"=\"DEU\"\r\n"
        "; keep this comment\r\n";
    testenv::WriteFile(box.userHive, userBefore);
    auto v = GetProfileValue(kProgramKey, "FindDataFlowLoops");
    ASSERT_TRUE(std::holds_alternative<std::int32_t>(v));
    EXPECT_EQ(std::get<std::int32_t>(v), 0);
    SetProfileValue(kProgramKey, "FindDataFlowLoops", std::int32_t{-1}, platform::RegType::DWord);
    EXPECT_EQ(std::get<std::int32_t>(GetProfileValue(kProgramKey, "FindDataFlowLoops")), -1);
    std::string user = testenv::ReadFile(box.userHive);
    EXPECT_NE(user.find("\"Language\"=\"DEU\"\r\n"), std::string::npos);
    EXPECT_NE(user.find("; keep this comment\r\n"), std::string::npos);
    EXPECT_NE(user.find("\"FindDataFlowLoops\"=dword:ffffffff"), std::string::npos);
    EXPECT_NE(testenv::ReadFile(box.machineHive).find("dword:00000000"), std::string::npos);  // machine untouched
}

TEST(StringLists, SplitAndPickPieces) {
    auto c = ConvertStringListToCollection("a,b,", ',');
    ASSERT_EQ(c.Count(), 3u);
    EXPECT_EQ(c.Item(3), "");
    EXPECT_EQ(ConvertStringListToCollection("", ',').Count(), 0u);
    EXPECT_EQ(GetStringListItem("id1,7", ',', 2), "7");
    EXPECT_EQ(GetStringListItem("id1,7", ',', 0), "id1");
    EXPECT_EQ(GetStringListItem("", ',', 1), "");
}
