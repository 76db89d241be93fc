#include <gtest/gtest.h>

#include "ConstructFixture.h"
#include "constructs/modPROCESS_CATEGORY.h"
#include "process/modPROCESS.h"

using amltest::AmlBuilder;
using constructtest::ExportEnv;

namespace {

// Sales: the process "Order handling" (M1) with three functions, its subprocesses "Shipping"
// (M2) and "Returns" (M4); Purchasing: an organization chart (M3, a model type that the rule
// "PROCESS" does not accept).
AmlBuilder SalesDatabase() {
    AmlBuilder b;
    b.Group("G1", "Sales", {{9, "Sales folder"}, {8, "Sales documents"}})
        .Group("G2", "Purchasing")
        .Model("M1", "G1", 13, "Order handling", {{9, "Handles orders"}, {8, "Doc"}, {985, "PRIORITY 1"}})
        .Model("M2", "G1", 13, "Shipping")
        .Model("M4", "G1", 13, "Returns")
        .Model("M3", "G2", 1, "Org chart")
        .Obj("A", "G1", 22, "Check order",
             {{9, "Checks"}, {8, "Manual"}, {1207, "AUTOMATIC"}, {1208, "MANUAL"}, {1209, "PRIORITY 3"}})
        .Obj("S", "G1", 22, "Ship goods", {}, {"M2", "M4"})
        .Obj("U", "G1", 22, "Archive", {}, {"M3"})
        .Place("M1", "A", 1000, 2000)
        .Place("M1", "S", 3000, 2000)
        .Place("M1", "U", 5000, 2000)
        .Place("M2", "A", 0, 0);
    return b;
}

const clsPROCESS& ProcessAt(std::size_t position) { return *CurrentExport().Col_PROCESS->Item(position); }
const clsACTIVITY& ActivityAt(const clsPROCESS& process, std::size_t position) {
    return *process.Col_ACTIVITY.Item(position);
}

}  // namespace

TEST(ProcessCategory, OneCategoryPerGroupWithMessageEachRound) {
    ExportEnv env(SalesDatabase());
    PROCESS_CATEGORY_Create(env.Models({"M1", "M2", "M3"}));
    ASSERT_EQ(CurrentExport().Col_PROCESS_CATEGORY->Count(), 2u);
    const clsPROCESS_CATEGORY& sales = *CurrentExport().Col_PROCESS_CATEGORY->Item(1);
    EXPECT_EQ(sales.ObjectName, "'Sales'");
    EXPECT_EQ(sales.DESCRIPTION, "'Sales folder'");
    EXPECT_EQ(sales.DOCUMENTATION, "'Sales documents'");
    EXPECT_EQ(CurrentExport().Col_PROCESS_CATEGORY->Item(2)->ObjectName, "'Purchasing'");
    std::vector<std::string> expected = {
        "KVB03040I The ARIS group 'Sales' was mapped to a WPX construct of type 'PROCESS_CATEGORY'.",
        "KVB03040I The ARIS group 'Purchasing' was mapped to a WPX construct of type 'PROCESS_CATEGORY'.",
        "KVB03090I The mapping of the properties of the WPX construct of type 'PROCESS_CATEGORY' named 'Sales' is complete.",
        "KVB03090I The mapping of the properties of the WPX construct of type 'PROCESS_CATEGORY' named 'Purchasing' is complete.",
        // A later round with a model of a known group: the message again, no construct.
        "KVB03040I The ARIS group 'Sales' was mapped to a WPX construct of type 'PROCESS_CATEGORY'.",
    };
    PROCESS_CATEGORY_Create(env.Models({"M2"}));
    EXPECT_EQ(CurrentExport().Col_PROCESS_CATEGORY->Count(), 2u);
    EXPECT_EQ(env.LogLines(), expected);
}

TEST(ProcessCategory, AnUnnamedGroupIsConvertedAndReportedForTheCategoryAndTheProcess) {
    struct Row {
        bool convertNames;
        const char* name;      // the category's name and the process's CATEGORY
        std::size_t warnings;  // 2050, once for each
    };
    const Row rows[] = {{true, "", 2}, {false, "''", 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.convertNames);
        AmlBuilder b;
        b.Group("G", "").Model("M", "G", 13, "Filing").Obj("F", "G", 22, "File").Place("M", "F", 0, 0);
        ExportEnv env(b);
        CurrentExport().Options.ConvertNames = row.convertNames;
        PROCESS_CATEGORY_Create(env.Models({"M"}));
        PROCESS_Create(env.Models({"M"}));
        EXPECT_EQ(CurrentExport().Col_PROCESS_CATEGORY->Item(1)->ObjectName, row.name);
        EXPECT_EQ(ProcessAt(1).CATEGORY, row.name);
        ASSERT_EQ(env.Boxes().size(), row.warnings);
        for (const std::string& box : env.Boxes()) EXPECT_NE(box.find("KVB02050E"), std::string::npos) << box;
    }
}

TEST(ProcessCategory, WithoutDescriptionAndDocumentationOptionsOnlyTheName) {
    ExportEnv env(SalesDatabase());
    CurrentExport().Options.UseDescriptionAttr = false;
    CurrentExport().Options.UseDocumentationAttr = false;
    PROCESS_CATEGORY_Create(env.Models({"M1"}));
    const clsPROCESS_CATEGORY& sales = *CurrentExport().Col_PROCESS_CATEGORY->Item(1);
    EXPECT_EQ(sales.ObjectName, "'Sales'");
    EXPECT_EQ(sales.DESCRIPTION, "");
    EXPECT_EQ(sales.DOCUMENTATION, "");
}

TEST(Process, FirstRoundLogsEveryDecisionInOrder) {
    ExportEnv env(SalesDatabase());
    ARISModelCollection next = PROCESS_Create(env.Models({"M1", "M3"}));
    std::vector<std::string> expected = {
        "KVB03050I The ARIS model 'Order handling' was mapped to a WPX construct of type 'PROCESS'.",
        "KVB03060I The ARIS object 'Check order' of type 'Function' was mapped to a WPX construct of type 'PROGRAM_ACTIVITY'.",
        "KVB03000E Warning: you must not assign more than one 'PROCESS' to a 'PROCESS_ACTIVITY'.",
        "KVB03020I The ARIS model 'Returns' of type 'EPC (eEPC)' was not mapped.",
        "KVB03060I The ARIS object 'Ship goods' of type 'Function' was mapped to a WPX construct of type 'PROCESS_ACTIVITY'.",
        "KVB03060I The ARIS object 'Archive' of type 'Function' was mapped to a WPX construct of type 'PROGRAM_ACTIVITY'.",
        "KVB03090I The mapping of the properties of the WPX construct of type 'PROGRAM_ACTIVITY' named 'Check order' is complete.",
        "KVB03090I The mapping of the properties of the WPX construct of type 'PROCESS_ACTIVITY' named 'Ship goods' is complete.",
        "KVB03090I The mapping of the properties of the WPX construct of type 'PROGRAM_ACTIVITY' named 'Archive' is complete.",
        "KVB03090I The mapping of the properties of the WPX construct of type 'PROCESS' named 'Order handling' is complete.",
    };
    EXPECT_EQ(env.LogLines(), expected);
    EXPECT_TRUE(env.Boxes().empty());

    // The subprocess "Shipping" is not selected: it goes to the next round, once.
    ASSERT_EQ(next.Count(), 1u);
    EXPECT_EQ(next.Item(1), env.Model("M2"));

    ASSERT_EQ(CurrentExport().Col_PROCESS->Count(), 1u);
    const clsPROCESS& process = ProcessAt(1);
    EXPECT_EQ(process.ProcessName, "'Order handling'");
    EXPECT_EQ(process.DESCRIPTION, "'Handles orders'");
    EXPECT_EQ(process.DOCUMENTATION, "'Doc'");
    EXPECT_EQ(process.CATEGORY, "'Sales'");
    EXPECT_EQ(process.WINDOW, "PAPERSIZE WIDTH 21000 HEIGHT 21000");
    EXPECT_EQ(process.OtherSettings, "");
    EXPECT_TRUE(process.CreateActivitiesFinished && process.LayoutConversionFinished && process.SetupFinished);

    ASSERT_EQ(process.Col_ACTIVITY.Count(), 3u);
    const clsACTIVITY& check = ActivityAt(process, 1);
    EXPECT_FALSE(check.Is_PROCESS_ACTIVITY());
    EXPECT_EQ(check.ActivityName, "'Check order'");
    EXPECT_EQ(check.DESCRIPTION, "'Checks'");
    EXPECT_EQ(check.DOCUMENTATION, "'Manual'");
    EXPECT_EQ(check.LAYOUT, "XPOS -2000 YPOS 0");
    EXPECT_EQ(check.StartMode, "MANUAL");
    EXPECT_EQ(check.ExitMode, "AUTOMATIC");
    EXPECT_EQ(check.StartCondition, "AT_LEAST_ONE CONNECTOR");
    EXPECT_EQ(check.OtherSettings, "");
    EXPECT_TRUE(check.SetupIndependentPropertiesFinished && check.SetupDependentPropertiesFinished);
    const clsACTIVITY& ship = ActivityAt(process, 2);
    EXPECT_TRUE(ship.Is_PROCESS_ACTIVITY());
    EXPECT_EQ(ship.AssignedModel, env.Model("M2"));
    EXPECT_EQ(ship.PROCESS, "'Shipping'");
    EXPECT_EQ(ship.LAYOUT, "XPOS 0 YPOS 0");
    EXPECT_FALSE(ActivityAt(process, 3).Is_PROCESS_ACTIVITY());
    EXPECT_EQ(ActivityAt(process, 3).LAYOUT, "XPOS 2000 YPOS 0");
}

TEST(Process, SecondRoundExportsTheSubprocessAndEndsTheRounds) {
    ExportEnv env(SalesDatabase());
    ARISModelCollection next = PROCESS_Create(env.Models({"M1"}));
    std::size_t firstRound = env.LogLines().size();
    next = PROCESS_Create(next);
    EXPECT_TRUE(next.Empty());
    ASSERT_EQ(CurrentExport().Col_PROCESS->Count(), 2u);
    EXPECT_EQ(ProcessAt(2).ProcessName, "'Shipping'");
    EXPECT_EQ(ProcessAt(1).Col_ACTIVITY.Count(), 3u);
    auto log = env.LogLines();
    std::vector<std::string> secondRound(log.begin() + static_cast<std::ptrdiff_t>(firstRound), log.end());
    std::vector<std::string> expected = {
        "KVB03050I The ARIS model 'Shipping' was mapped to a WPX construct of type 'PROCESS'.",
        "KVB03060I The ARIS object 'Check order' of type 'Function' was mapped to a WPX construct of type 'PROGRAM_ACTIVITY'.",
        "KVB03090I The mapping of the properties of the WPX construct of type 'PROGRAM_ACTIVITY' named 'Check order' is complete.",
        "KVB03090I The mapping of the properties of the WPX construct of type 'PROCESS' named 'Shipping' is complete.",
    };
    EXPECT_EQ(secondRound, expected);
}

TEST(Process, SelectedSubprocessAndRepeatedSelectionGiveNoFurtherRound) {
    ExportEnv env(SalesDatabase());
    ARISModelCollection selection;
    selection.Add(env.Model("M1"), "first selection item");
    selection.Add(env.Model("M2"), "second selection item");
    selection.Add(env.Model("M1"), "the first model again");
    ARISModelCollection next = PROCESS_Create(selection);
    EXPECT_TRUE(next.Empty());
    EXPECT_EQ(CurrentExport().Col_PROCESS->Count(), 2u);
    int processMessages = 0;
    for (const std::string& line : env.LogLines()) processMessages += line.rfind("KVB03050I", 0) == 0;
    EXPECT_EQ(processMessages, 2);
}

TEST(Process, OptionsDecideWhichTextsAreRead) {
    struct Row {
        const char* what;
        bool description, documentation, otherSettings;
        std::string processDescription, processDocumentation, processOther;
        std::string activityDescription, activityDocumentation, startMode, exitMode, activityOther;
    };
    const std::vector<Row> rows = {
        {"defaults", true, true, false, "'Handles orders'", "'Doc'", "", "'Checks'", "'Manual'", "MANUAL", "AUTOMATIC",
         ""},
        // The activity's documentation does not depend on UseDocumentationAttr.
        {"texts off", false, false, false, "", "", "", "", "'Manual'", "MANUAL", "AUTOMATIC", ""},
        {"other settings", true, true, true, "'Handles orders'", "'Doc'", "PRIORITY 1", "'Checks'", "'Manual'",
         "AUTOMATIC", "MANUAL", "PRIORITY 3"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ExportEnv env(SalesDatabase());
        CurrentExport().Options.UseDescriptionAttr = row.description;
        CurrentExport().Options.UseDocumentationAttr = row.documentation;
        CurrentExport().Options.UseOtherSettings = row.otherSettings;
        PROCESS_Create(env.Models({"M1"}));
        const clsPROCESS& process = ProcessAt(1);
        EXPECT_EQ(process.DESCRIPTION, row.processDescription);
        EXPECT_EQ(process.DOCUMENTATION, row.processDocumentation);
        EXPECT_EQ(process.OtherSettings, row.processOther);
        const clsACTIVITY& check = ActivityAt(process, 1);
        EXPECT_EQ(check.DESCRIPTION, row.activityDescription);
        EXPECT_EQ(check.DOCUMENTATION, row.activityDocumentation);
        EXPECT_EQ(check.StartMode, row.startMode);
        EXPECT_EQ(check.ExitMode, row.exitMode);
        EXPECT_EQ(check.OtherSettings, row.activityOther);
        // The other activities have no such attributes and keep the defaults.
        EXPECT_EQ(ActivityAt(process, 3).StartMode, "MANUAL");
    }
}

TEST(Process, GeneratedSourceAndSinkNamesCountPerProcess) {
    clsPROCESS first, second;
    EXPECT_EQ(first.GeneratedDataSourceName(), "SOURCE 1");
    EXPECT_EQ(first.GeneratedDataSourceName(), "SOURCE 2");
    EXPECT_EQ(first.GeneratedDataSinkName(), "SINK 1");
    EXPECT_EQ(first.GeneratedDataSourceName(), "SOURCE 3");
    EXPECT_EQ(second.GeneratedDataSourceName(), "SOURCE 1");
}

TEST(Process, WindowBeforeTheLayoutConversionIsWarningTwentySixty) {
    ExportEnv env(SalesDatabase());
    clsPROCESS process;
    process.ARIS_Model = env.Model("M1");
    process.SetupProperty_ProcessGraphicsSetting();
    EXPECT_EQ(process.WINDOW, "");
    ASSERT_EQ(env.Boxes().size(), 3u);  // window, sources, sinks
    EXPECT_NE(env.Boxes()[0].find("KVB02060E"), std::string::npos);
    EXPECT_NE(env.Boxes()[0].find("clsPROCESS.SetupProperty_WINDOW"), std::string::npos);
    EXPECT_NE(env.Boxes()[0].find("'Order handling'"), std::string::npos);
}
