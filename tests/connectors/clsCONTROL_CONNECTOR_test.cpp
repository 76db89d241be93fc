// Control connectors inside one export: what the options change, the IN/OUT collections of the
// activities, and the warnings when paths or the layout are missing. The databases are the
// end-to-end fixtures of this folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../constructs/ConstructFixture.h"
#include "../support/TestEnv.h"
#include "app/clsWPX_Export.h"
#include "process/clsCONTROL_CONNECTOR.h"
#include "process/clsDATA_CONNECTOR.h"
#include "process/clsPROCESS.h"
#include "process/modPROCESS.h"
#include "writer/clsWPXWriter.h"

namespace {

using constructtest::ExportEnv;

std::string Fixture(const std::string& file) { return testenv::ReadFile(testenv::TestDataPath("connectors/" + file)); }

const clsPROCESS& OnlyProcess() { return *RegistryOf(CurrentExport().Col_PROCESS).Item(1); }

const clsCONTROL_CONNECTOR& Connector(const clsPROCESS& process, const std::string& from, const std::string& to) {
    return *process.Col_CONTROL_CONNECTOR.Item("guid-" + from + "/guid-" + to);
}

const clsACTIVITY& Activity(const clsPROCESS& process, const std::string& id) {
    return *process.Col_ACTIVITY.Item("guid-" + id);
}

int CountLogLines(const ExportEnv& env, const std::string& prefix) {
    auto lines = env.LogLines();
    return static_cast<int>(
        std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
}

template <class Collection>
std::vector<std::string> Keys(const Collection& collection) {
    std::vector<std::string> keys;
    for (std::size_t i = 1; i <= collection.Count(); ++i) keys.push_back(collection.KeyAt(i));
    return keys;
}

}  // namespace

TEST(ControlConnector, OptionsDecideConditionDescriptionAndBendPoint) {
    struct Row {
        const char* what;
        bool transitionConditions, description, bendPoints;
        std::string condition, layout;
        bool described;
    };
    const std::vector<Row> rows = {
        // Without TransitionConditions only comparisons with data objects count; there are none.
        {"defaults", false, true, true, "", "XPOS 0 YPOS 1999", true},
        {"transition conditions", true, true, true, "Valid = 1", "XPOS 0 YPOS 1999", true},
        {"no descriptions, no bend points", true, false, false, "Valid = 1", "", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ExportEnv env(Fixture("conditions/dispatch.xml"));
        CurrentExport().Options.TransitionConditions = row.transitionConditions;
        CurrentExport().Options.UseDescriptionAttr = row.description;
        CurrentExport().Options.UseCtrlConBendPoints = row.bendPoints;
        PROCESS_Create(env.Models({"dispatch"}));
        const clsCONTROL_CONNECTOR& connector = Connector(OnlyProcess(), "receive", "approve");
        EXPECT_EQ(connector.ColPath.Count(), 2u);  // directly and through the event
        EXPECT_EQ(connector.Linking, "FROM 'Receive order' TO 'Approve order'");
        EXPECT_EQ(connector.Condition, row.condition);
        EXPECT_EQ(connector.LAYOUT, row.layout);
        EXPECT_EQ(connector.DESCRIPTION.empty(), !row.described);
        EXPECT_TRUE(connector.SetupFinished);
        EXPECT_TRUE(env.Boxes().empty());
    }
}

TEST(ControlConnector, OptionsDecideLoopWarningsAndActivityConditions) {
    struct Row {
        const char* what;
        bool findLoops, startConditions, exitConditions;
        int loopWarnings;
        std::string planStart, reviewExit;
    };
    const std::vector<Row> rows = {
        {"defaults", true, false, false, 1, "AT_LEAST_ONE CONNECTOR", "NOT ( Defects > 0 )"},
        {"no loop search", false, false, false, 0, "AT_LEAST_ONE CONNECTOR", "NOT ( Defects > 0 )"},
        // The attributes of the functions win over the conditions derived from the connectors.
        {"conditions from attributes", true, true, true, 1, "ALL CONNECTORS", "Defects = 0"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ExportEnv env(Fixture("loops/release.xml"));
        CurrentExport().Options.FindControlFlowLoops = row.findLoops;
        CurrentExport().Options.StartConditions = row.startConditions;
        CurrentExport().Options.ExitConditions = row.exitConditions;
        PROCESS_Create(env.Models({"release"}));
        const clsPROCESS& process = OnlyProcess();
        EXPECT_EQ(CountLogLines(env, "KVB03130E "), row.loopWarnings);
        EXPECT_EQ(Activity(process, "plan").StartCondition, row.planStart);
        EXPECT_EQ(Activity(process, "review").ExitCondition, row.reviewExit);
        // Functions without the attributes keep the derived conditions.
        EXPECT_EQ(Activity(process, "build").StartCondition, "AT_LEAST_ONE CONNECTOR");
        EXPECT_EQ(Activity(process, "test").ExitCondition, "");
        const clsCONTROL_CONNECTOR& selfLoop = Connector(process, "review", "review");
        EXPECT_TRUE(selfLoop.IsLoopConnector());
        EXPECT_EQ(selfLoop.Linking, "");
        EXPECT_EQ(selfLoop.Condition, "Defects > 0");
    }
}

TEST(ControlConnector, ActivitiesHoldTheirIncomingAndOutgoingConnectors) {
    ExportEnv env(Fixture("loops/release.xml"));
    PROCESS_Create(env.Models({"release"}));
    const clsPROCESS& process = OnlyProcess();
    EXPECT_EQ(Keys(process.Col_CONTROL_CONNECTOR),
              (std::vector<std::string>{"guid-plan/guid-build", "guid-build/guid-test", "guid-test/guid-plan",
                                        "guid-test/guid-review", "guid-review/guid-review"}));
    EXPECT_EQ(Keys(Activity(process, "test").Col_CONTROL_CONNECTOR_IN),
              (std::vector<std::string>{"guid-build/guid-test"}));
    EXPECT_EQ(Keys(Activity(process, "test").Col_CONTROL_CONNECTOR_OUT),
              (std::vector<std::string>{"guid-test/guid-plan", "guid-test/guid-review"}));
    // The self loop is both incoming and outgoing.
    EXPECT_EQ(Keys(Activity(process, "review").Col_CONTROL_CONNECTOR_IN),
              (std::vector<std::string>{"guid-test/guid-review", "guid-review/guid-review"}));
    EXPECT_EQ(Keys(Activity(process, "review").Col_CONTROL_CONNECTOR_OUT),
              (std::vector<std::string>{"guid-review/guid-review"}));
    // The IN/OUT collections hold the process's own connectors.
    EXPECT_EQ(Activity(process, "plan").Col_CONTROL_CONNECTOR_OUT.Item(1), &Connector(process, "plan", "build"));
}

TEST(ControlConnector, WithoutPathsOrLayoutThePropertiesStayEmptyWithAWarning) {
    ExportEnv env(Fixture("conditions/dispatch.xml"));
    PROCESS_Create(env.Models({"dispatch"}));
    clsPROCESS& process = *RegistryOf(CurrentExport().Col_PROCESS).Item(1);
    const clsCONTROL_CONNECTOR& found = Connector(process, "receive", "approve");

    // Paths not determined yet: warning 2080 from the condition, the description and the bend point.
    clsCONTROL_CONNECTOR connector;
    connector.FROM_ARISObjectDefinition = found.FROM_ARISObjectDefinition;
    connector.TO_ARISObjectDefinition = found.TO_ARISObjectDefinition;
    connector.PROCESS = &process;
    connector.SetupProperties();
    EXPECT_EQ(connector.Condition, "");
    EXPECT_EQ(connector.DESCRIPTION, "");
    EXPECT_EQ(connector.LAYOUT, "");
    EXPECT_EQ(connector.Linking, "FROM 'Receive order' TO 'Approve order'");
    ASSERT_EQ(env.Boxes().size(), 3u);
    for (const std::string& box : env.Boxes()) EXPECT_NE(box.find("KVB02080E"), std::string::npos) << box;
    EXPECT_NE(env.Boxes()[2].find("clsCONTROL_CONNECTOR.SetupProperty_LAYOUT"), std::string::npos);

    // Paths found but the layout of the process not converted: warning 2060 with the model name.
    clsPROCESS unconverted;
    unconverted.ARIS_Model = process.ARIS_Model;
    connector.PROCESS = &unconverted;
    connector.FindARISObjectDefinitionsOnConnectorPaths();
    connector.SetupProperty_LAYOUT();
    EXPECT_EQ(connector.LAYOUT, "");
    ASSERT_EQ(env.Boxes().size(), 4u);
    EXPECT_NE(env.Boxes()[3].find("KVB02060E"), std::string::npos);
    EXPECT_NE(env.Boxes()[3].find("'Dispatch'"), std::string::npos);
}

TEST(ConnectorLinking, FromIsConvertedBeforeToSoTheLogKeepsThatOrder) {
    amltest::AmlBuilder b;
    b.Group("G", "Shop")
        .Model("M", "G", 13, "Orders")
        .Obj("check", "G", 22, "Check-order")
        .Obj("ship", "G", 22, "Ship-order")
        .Place("M", "check", 0, 0)
        .Place("M", "ship", 0, 1000);
    ExportEnv env(b);
    const aris::Model* model = env.Model("M");
    const aris::ObjDef* check = model->ObjDefList(22, 1033)[0];
    const aris::ObjDef* ship = model->ObjDefList(22, 1033)[1];
    const std::vector<std::string> expected = {
        "KVB03100I The ARIS string 'Check-order' was changed into a WPX compatible form: 'Check_order'",
        "KVB03100I The ARIS string 'Check-order' was changed into a WPX compatible form: 'Check_order'",
        "KVB03100I The ARIS string 'Ship-order' was changed into a WPX compatible form: 'Ship_order'",
        "KVB03100I The ARIS string 'Ship-order' was changed into a WPX compatible form: 'Ship_order'",
    };

    clsCONTROL_CONNECTOR control;
    control.FROM_ARISObjectDefinition = check;
    control.TO_ARISObjectDefinition = ship;
    control.SetupProperty_Linking();
    EXPECT_EQ(control.Linking, "FROM 'Check_order' TO 'Ship_order'");
    EXPECT_EQ(env.LogLines(), expected);

    clsDATA_CONNECTOR data;
    data.FROM_ARISObjectDefinition = check;
    data.TO_ARISObjectDefinition = ship;
    data.SetupProperty_Linking();
    EXPECT_EQ(data.Linking, "FROM 'Check_order' TO 'Ship_order'");
    std::vector<std::string> twice = expected;
    twice.insert(twice.end(), expected.begin(), expected.end());
    EXPECT_EQ(env.LogLines(), twice);
}

// A process written ahead once set up (as the export does) gives the definition file, the log
// and the construct counts of the summary that writing it at the end gives, a loop connector
// (counted, no block) included.
TEST(ControlConnector, ProcessWrittenAheadWritesAndCountsAsWrittenAtTheEnd) {
    struct Result {
        std::string file, log;
        int activities = 0, controlConnectors = 0, dataConnectors = 0;
    };
    const auto exportRelease = [](bool ahead) {
        ExportEnv env(Fixture("loops/release.xml"));
        clsWPXWriter writer;
        CurrentExport().WPXWriter = &writer;
        if (ahead) PROCESS_AfterSetup(&clsWPX_Export::WriteAheadOnceSetUp);
        PROCESS_Create(env.Models({"release"}));
        // A second round visits the process again: it stays as written ahead.
        PROCESS_SetupProperties();
        PROCESS_AfterSetup(nullptr);
        const clsPROCESS& process = OnlyProcess();
        EXPECT_EQ(process.WrittenAhead.held, ahead);
        if (ahead) {
            EXPECT_TRUE(process.Col_ACTIVITY.Empty() && process.Col_CONTROL_CONNECTOR.Empty());
        }
        writer.WriteAll();
        env.IO().FlushFiles();
        CurrentExport().WPXWriter = nullptr;
        // The header's date (to the second) may differ between the two runs.
        std::string file = testenv::ReadFile(env.IO().DefinitionFileName());
        const std::size_t date = file.find(" on ");
        if (date != std::string::npos) file.erase(date, file.find('\r', date) - date);
        Result result{file, testenv::ReadFile(env.IO().LogFileName()), process.ActivityCount(),
                      process.ControlConnectorWithBlockCount(), process.DataConnectorCount()};
        return result;
    };
    const Result atTheEnd = exportRelease(false);
    const Result ahead = exportRelease(true);
    EXPECT_EQ(ahead.file, atTheEnd.file);
    EXPECT_EQ(ahead.log, atTheEnd.log);
    EXPECT_NE(atTheEnd.log.find("KVB03110I Total number of WPX constructs created: 10"), std::string::npos)
        << atTheEnd.log;
    EXPECT_EQ(std::vector<int>({ahead.activities, ahead.controlConnectors, ahead.dataConnectors}),
              std::vector<int>({4, 4, 0}));
    EXPECT_EQ(std::vector<int>({atTheEnd.activities, atTheEnd.controlConnectors, atTheEnd.dataConnectors}),
              std::vector<int>({4, 4, 0}));
}
