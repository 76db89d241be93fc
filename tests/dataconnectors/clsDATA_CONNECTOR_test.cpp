// Data connectors inside one export: the keys and the IN/OUT collections of the activities, the
// data objects that sources carry, and the warnings when paths or the layout are missing. The
// databases are the end-to-end fixtures of this folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../constructs/ConstructFixture.h"
#include "../support/TestEnv.h"
#include "process/clsDATA_CONNECTOR.h"
#include "process/clsPROCESS.h"
#include "process/modPROCESS.h"

namespace {

using constructtest::ExportEnv;

std::string Fixture(const std::string& file) {
    return testenv::ReadFile(testenv::TestDataPath("dataconnectors/" + file));
}

clsPROCESS& OnlyProcess() { return *RegistryOf(CurrentExport().Col_PROCESS).Item(1); }

const clsACTIVITY& Activity(const clsPROCESS& process, const std::string& id) {
    return *process.Col_ACTIVITY.Item("guid-" + id);
}

template <class Collection>
std::vector<std::string> Keys(const Collection& collection) {
    std::vector<std::string> keys;
    for (std::size_t i = 1; i <= collection.Count(); ++i) keys.push_back(collection.KeyAt(i));
    return keys;
}

using Keyed = std::vector<std::string>;

}  // namespace

TEST(DataConnector, ProcessAndActivitiesHoldTheConnectorsUnderTheirKeys) {
    struct Row {
        const char* fixture;
        const char* model;
        Keyed process;
        const char* activity;
        Keyed in, out;
    };
    const std::vector<Row> rows = {
        {"activity-flows/flows.xml",
         "office",
         {"guid-receive/guid-check", "guid-check/guid-file", "guid-file/guid-receive", "guid-file/guid-file"},
         "file",  // the self loop is both incoming and outgoing
         {"guid-check/guid-file", "guid-file/guid-file"},
         {"guid-file/guid-receive", "guid-file/guid-file"}},
        {"sources-and-sinks/claims.xml",
         "intake",
         {"SOURCE/guid-open", "SOURCE/guid-review", "SOURCE/guid-close", "guid-close/SINK"},
         "close",
         {"SOURCE/guid-close"},
         {"guid-close/SINK"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fixture);
        ExportEnv env(Fixture(row.fixture));
        PROCESS_Create(env.Models({row.model}));
        const clsPROCESS& process = OnlyProcess();
        EXPECT_EQ(Keys(process.Col_DATA_CONNECTOR), row.process);
        EXPECT_EQ(Keys(Activity(process, row.activity).Col_DATA_CONNECTOR_IN), row.in);
        EXPECT_EQ(Keys(Activity(process, row.activity).Col_DATA_CONNECTOR_OUT), row.out);
        // The IN/OUT collections hold the process's own connectors.
        EXPECT_EQ(Activity(process, row.activity).Col_DATA_CONNECTOR_OUT.Item(1),
                  process.Col_DATA_CONNECTOR.Item(row.out[0]).get());
        EXPECT_TRUE(env.Boxes().empty());
    }
}

TEST(DataConnector, SourcesCarryTheObjectsOfTheModelThatNoFunctionWrites) {
    ExportEnv env(Fixture("sources-and-sinks/claims.xml"));
    PROCESS_Create(env.Models({"intake"}));
    const clsPROCESS& process = OnlyProcess();
    // The draft occurs only in a model that is not exported.
    const clsDATA_CONNECTOR& review = *process.Col_DATA_CONNECTOR.Item("SOURCE/guid-review");
    EXPECT_EQ(Keys(review.ColInputDataObjects), (Keyed{"guid-policy", "guid-request"}));
    EXPECT_TRUE(review.ColOutputDataObjects.Empty());
    EXPECT_EQ(review.FROM_ARISObjectDefinition, nullptr);
    EXPECT_FALSE(review.IsLoopConnector());
    EXPECT_FALSE(review.ConnectorPathsAvailable);  // sources and sinks have no paths
    const clsDATA_CONNECTOR& sink = *process.Col_DATA_CONNECTOR.Item("guid-close/SINK");
    EXPECT_EQ(Keys(sink.ColOutputDataObjects), (Keyed{"guid-report"}));
    EXPECT_EQ(sink.TO_ARISObjectDefinition, nullptr);
    // The process's layout texts are those of its sources and sinks, in connector order.
    EXPECT_EQ(process.Col_SOURCE.Item(2), review.SOURCE_LAYOUT);
    EXPECT_EQ(process.Col_SINK.Item(1), "SINK 1 XPOS 500 YPOS -1000");
}

TEST(DataConnector, WithoutPathsLayoutOrActivitiesThePropertiesStayEmpty) {
    ExportEnv env(Fixture("options-off/letters.xml"));
    PROCESS_Create(env.Models({"correspondence"}));
    clsPROCESS& process = OnlyProcess();
    const clsDATA_CONNECTOR& found = *process.Col_DATA_CONNECTOR.Item("guid-write/guid-sign");
    ASSERT_FALSE(found.DESCRIPTION.empty());
    ASSERT_FALSE(found.LAYOUT.empty());

    // Paths not determined yet: warning 2090 from the description and the bend point.
    clsDATA_CONNECTOR connector;
    connector.FROM_ARISObjectDefinition = found.FROM_ARISObjectDefinition;
    connector.TO_ARISObjectDefinition = found.TO_ARISObjectDefinition;
    connector.PROCESS = &process;
    connector.SetupProperties();
    EXPECT_EQ(connector.DESCRIPTION, "");
    EXPECT_EQ(connector.LAYOUT, "");
    EXPECT_EQ(connector.Linking, "FROM 'Write' TO 'Sign'");
    EXPECT_EQ(connector.ColMapping.Count(), 1u);
    ASSERT_EQ(env.Boxes().size(), 2u);
    for (const std::string& box : env.Boxes()) EXPECT_NE(box.find("KVB02090E"), std::string::npos) << box;
    EXPECT_NE(env.Boxes()[1].find("clsDATA_CONNECTOR.SetupProperty_LAYOUT"), std::string::npos);

    // Paths found but the layout of the process not converted: warning 2060 with the model name.
    clsPROCESS unconverted;
    unconverted.ARIS_Model = process.ARIS_Model;
    connector.PROCESS = &unconverted;
    connector.FindARISObjectDefinitionsOnConnectorPaths();
    connector.SetupProperty_LAYOUT();
    EXPECT_EQ(connector.LAYOUT, "");
    ASSERT_EQ(env.Boxes().size(), 3u);
    EXPECT_NE(env.Boxes()[2].find("KVB02060E"), std::string::npos);
    EXPECT_NE(env.Boxes()[2].find("'Correspondence'"), std::string::npos);

    // A function without an activity in the process maps nothing (no error).
    connector.PROCESS = &unconverted;
    connector.ColMapping.Clear();
    connector.SetupProperty_Mapping();
    EXPECT_TRUE(connector.ColMapping.Empty());
    EXPECT_EQ(env.Boxes().size(), 3u);
}
