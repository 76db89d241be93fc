// The local server: finding servers and databases, the demo database, and real exports.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "../support/TestEnv.h"
#include "ArisTestSupport.h"
#include "aris/AmlReader.h"

using namespace aristest;

namespace {

const std::string kTinyExport = Aml(R"(<Model Model.ID="Model.1" Model.Type="MT_EEPC">)" + Names("Tiny") + "</Model>");

// A test with its own server folders in front of the demo server.
class ServerLookup : public ::testing::Test {
protected:
    void SetUp() override {
        env.Set("LUMENPORT_ARIS_SERVERS", dir.File("first") + "::" + dir.File("second"));
        env.Set("XDG_DATA_HOME", dir.File("xdg"));
        app = aris::CreateApplication();
        ASSERT_TRUE(app);
        report = app->GetComponent("Report");
        ASSERT_TRUE(report);
    }
    std::unique_ptr<aris::Database> Open(const std::string& server, const std::string& database) {
        return report->OpenDatabase(server, database, "", "anna", "");
    }
    std::string OpenError(const std::string& server, const std::string& database) {
        try {
            Open(server, database);
        } catch (const aris::ServerError& e) {
            EXPECT_EQ(e.Number(), 440);
            return e.what();
        }
        return "";
    }
    testenv::TempDir dir;
    EnvGuard env;
    std::unique_ptr<aris::Application> app;
    aris::ReportComponent* report = nullptr;
};

TEST_F(ServerLookup, FindsServerAndDatabaseIgnoringCase) {
    testenv::WriteFile(dir.File("second/Prod/Sales.AML"), kTinyExport);
    auto db = Open("PROD", "sales");
    ASSERT_TRUE(db);
    EXPECT_EQ(db->ServerName(), "Prod");
    EXPECT_EQ(db->Name(1033), "Sales");
    EXPECT_EQ(db->LoginUserName(1033), "anna");
    EXPECT_EQ(NamesOf(db->AllModels()), (std::vector<std::string>{"Tiny"}));
    EXPECT_EQ(app->GetComponent("report"), report);
    EXPECT_EQ(app->GetComponent("Designer"), nullptr);
}

TEST_F(ServerLookup, EarlierFoldersWinOverLaterOnesAndTheDemo) {
    testenv::WriteFile(dir.File("first/LOCAL/Demo.xml"), kTinyExport);
    testenv::WriteFile(dir.File("xdg/lumenport/aris/LOCAL/Demo.xml"), Aml(""));
    EXPECT_EQ(NamesOf(Open("LOCAL", "Demo")->AllModels()), (std::vector<std::string>{"Tiny"}));
    std::filesystem::remove(dir.File("first/LOCAL/Demo.xml"));
    EXPECT_TRUE(Open("LOCAL", "Demo")->AllModels().empty());  // the user data folder
    std::filesystem::remove(dir.File("xdg/lumenport/aris/LOCAL/Demo.xml"));
    EXPECT_EQ(Open("local", "DEMO")->AllModels().size(), 5u);  // the demo server beside the program
}

TEST_F(ServerLookup, MissingServerOrDatabaseNamesWhatAndWhere) {
    std::string message = OpenError("Nowhere", "Demo");
    EXPECT_NE(message.find("ARIS server 'Nowhere' not found"), std::string::npos) << message;
    EXPECT_NE(message.find(dir.File("first")), std::string::npos) << message;
    EXPECT_NE(message.find(dir.File("xdg") + "/lumenport/aris"), std::string::npos) << message;
    EXPECT_NE(message.find(testenv::BinPath("aris")), std::string::npos) << message;

    message = OpenError("LOCAL", "Missing");
    EXPECT_NE(message.find("ARIS database 'Missing' not found on server 'LOCAL'"), std::string::npos) << message;
    EXPECT_NE(message.find("Missing.xml or Missing.aml"), std::string::npos) << message;
    EXPECT_NE(message.find(testenv::BinPath("aris/LOCAL")), std::string::npos) << message;

    EXPECT_NE(OpenError("LOCAL", "../LOCAL/Demo").find("not found"), std::string::npos);
    EXPECT_NE(OpenError("", "Demo").find("/SVR"), std::string::npos);
}

TEST_F(ServerLookup, MalformedDatabaseIsAServerError) {
    testenv::WriteFile(dir.File("first/S/Broken.xml"), "<AML>\n<Group Group.ID=\"Group.Root\">");
    std::string message = OpenError("S", "Broken");
    EXPECT_NE(message.find("Broken.xml, line 2, column "), std::string::npos) << message;
    EXPECT_NE(message.find("not a well-formed XML document: no element found"), std::string::npos) << message;
}

TEST_F(ServerLookup, ServerTypeTableBesideTheDatabases) {
    testenv::WriteFile(dir.File("first/S/types.tsv"), "model\t13\tMT_EEPC\tProcess chain\tProzesskette\n");
    testenv::WriteFile(dir.File("first/S/Db.xml"), kTinyExport);
    EXPECT_EQ(Open("S", "Db")->AllModels()[0]->TypeName(1031), "Prozesskette");
}

// The demo database shipped beside the program, as the program reads it.
class DemoDatabase : public ::testing::Test {
protected:
    void SetUp() override {
        db = aris::LoadAmlFile(testenv::BinPath("aris/LOCAL/Demo.xml"), report);
        ASSERT_TRUE(db);
        std::vector<const aris::Model*> found = db->FindModels(13, 1033, "Ordering");
        ASSERT_EQ(found.size(), 1u);
        ordering = found[0];
    }
    const aris::ObjDef* Only(const std::vector<const aris::ObjDef*>& list) {
        EXPECT_EQ(list.size(), 1u);
        return list.empty() ? nullptr : list[0];
    }
    std::ostringstream report;
    std::unique_ptr<aris::Database> db;
    const aris::Model* ordering = nullptr;
};

TEST_F(DemoDatabase, ModelsNamesAndTypes) {
    EXPECT_EQ(report.str(), "");  // every type known, every reference resolved
    EXPECT_EQ(NamesOf(db->AllModels()),
              (std::vector<std::string>{"Ordering", "Order data", "Sales organization", "Invoicing", "Invoice data"}));
    EXPECT_EQ(ordering->Name(1031), "Bestellabwicklung");
    EXPECT_EQ(db->FindModels(13, 1031, "Bestellabwicklung").size(), 1u);
    EXPECT_EQ(ordering->Group()->Name(1033), "Sales");
    EXPECT_EQ(ordering->Group()->Name(1031), "Vertrieb");
    EXPECT_EQ(db->Locales(), (std::vector<aris::LocaleId>{1031, 1033}));
    EXPECT_EQ(NamesOf(ordering->ObjDefList(22, 1033)), (std::vector<std::string>{"Check order", "Ship order"}));
    EXPECT_EQ(NamesOf(ordering->ObjDefList(18, 1033)), (std::vector<std::string>{"Order checked"}));
    EXPECT_EQ(NamesOf(ordering->ObjDefList(6, 1033)), (std::vector<std::string>{"Check"}));
    EXPECT_EQ(ordering->ObjDefList(22, 1031)[1]->Name(1031), "Bestellung versenden");
    std::string description = db->AllModels()[1]->GetAttribute(9, 1033).GetValue(false);
    EXPECT_EQ(description, "The data of an order.\r\nAmount in cents.");
}

TEST_F(DemoDatabase, StructureMemberProgramAndControlFlow) {
    const aris::ObjDef* order = Only(ordering->ObjDefList(17, 1033));
    ASSERT_TRUE(order);
    EXPECT_EQ(order->Name(1033), "Order");
    const aris::ObjDef* check = ordering->ObjDefList(22, 1033)[0];
    const aris::ObjDef* ship = ordering->ObjDefList(22, 1033)[1];
    // Member: ERM attribute -> entity type, connection type 78, with its type attribute.
    std::vector<const aris::CxnDef*> members = order->CxnList(aris::kCxnIncoming, 1033, 78);
    ASSERT_EQ(members.size(), 1u);
    const aris::ObjDef* amount = members[0]->SourceObjDef();
    EXPECT_EQ(amount->Name(1033), "Amount");
    EXPECT_EQ(amount->TypeNum(), 19);
    EXPECT_EQ(amount->GetAttribute(494, 1033).GetValue(false), "Integer");
    EXPECT_EQ(members[0]->OccList().size(), 1u);
    EXPECT_EQ(amount->OccList().size(), 1u);
    // Program: supports the function (221) and uses the structure (125).
    std::vector<const aris::CxnDef*> supports = check->CxnList(aris::kCxnIncoming, 1033, 221);
    ASSERT_EQ(supports.size(), 1u);
    const aris::ObjDef* program = supports[0]->SourceObjDef();
    ASSERT_TRUE(program);
    EXPECT_EQ(program->Name(1033), "Check");
    EXPECT_EQ(program->TypeNum(), 6);
    EXPECT_EQ(program->CxnList(aris::kCxnOutgoing, 1033, 125)[0]->TargetObjDef(), order);
    EXPECT_TRUE(ship->CxnList(aris::kCxnIncoming, 1033, 221).empty());
    // Data: both functions read (49) and write (50) the structure.
    for (const aris::ObjDef* function : {check, ship}) {
        EXPECT_EQ(function->CxnList(aris::kCxnIncoming, 1033, 49)[0]->SourceObjDef(), order);
        EXPECT_EQ(function->CxnList(aris::kCxnOutgoing, 1033, 50)[0]->TargetObjDef(), order);
    }
    // Control: Check order creates (44) the event, which activates (43) Ship order.
    const aris::ObjDef* event = check->CxnList(aris::kCxnOutgoing, 1033, 44)[0]->TargetObjDef();
    EXPECT_EQ(event->Name(1033), "Order checked");
    EXPECT_EQ(event->CxnList(aris::kCxnOutgoing, 1033, 43)[0]->TargetObjDef(), ship);
    // Every connection of the process occurs in it.
    for (const aris::ObjDef* def : {check, ship, event, program}) {
        for (int type : {43, 44, 49, 50, 125, 221}) {
            for (const aris::CxnDef* cxn : def->CxnList(6, 1033, type)) EXPECT_EQ(cxn->OccList().size(), 1u);
        }
    }
    const aris::Occurrence* checkOcc = check->OccListInModel(ordering)[0];
    EXPECT_EQ(checkOcc->X(), 800);
    EXPECT_EQ(checkOcc->Y(), 150);
    EXPECT_EQ(checkOcc->SymbolNum(), 335);
}

// Real exports from an ARIS 10 database: they load, list their models and report the type
// names the table does not know.
TEST(RealExports, LoadAndListTheirModels) {
    struct Row {
        std::string path;
        std::size_t models;
        std::string firstModel;
        std::vector<std::string> reported;
    };
    const std::vector<Row> rows = {
        {testenv::TestDataPath("aris/samples/Small.xml"),
         1,
         "Default View",
         {"model type MT_ARCHIMATE_3 (1 use)", "object type OT_APPLICATION_COLLABORATION"}},
        {testenv::TestDataPath("aris/samples/Fixture.xml"),
         1,
         "Default View",
         {"model type MT_ARCHIMATE_3 (1 use)", "connection type CT_ARCHIMATE_REALIZES"}},
    };
    for (const Row& row : rows) {
        std::ostringstream report;
        auto db = aris::LoadAmlFile(row.path, report);
        ASSERT_TRUE(db) << row.path;
        EXPECT_EQ(db->AllModels().size(), row.models) << row.path;
        EXPECT_EQ(db->AllModels()[0]->Name(1033), row.firstModel) << row.path;
        EXPECT_EQ(db->AllModels()[0]->TypeNum(), aris::kUnmappedType);
        EXPECT_FALSE(db->AllModels()[0]->OccList().empty());
        for (const std::string& text : row.reported) {
            EXPECT_NE(report.str().find(text), std::string::npos) << row.path << ":\n" << report.str();
        }
        EXPECT_EQ(report.str().find("references name ids"), std::string::npos) << report.str();
    }
}

TEST(RealExports, LargeArchitectureExport) {
    const std::string path = "/work/shared/aris/samples/Architecture.xml";
    if (!std::filesystem::exists(path)) GTEST_SKIP() << path << " is not present";
    std::ostringstream report;
    auto start = std::chrono::steady_clock::now();
    auto db = aris::LoadAmlFile(path, report);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_TRUE(db);
    EXPECT_LT(seconds, 5.0);  // well under a second on an idle machine
    std::vector<const aris::Model*> models = db->AllModels();
    ASSERT_EQ(models.size(), 14u);
    EXPECT_EQ(models[0]->Name(1033), "Level 3 Capabilities - Risk and Compliance Management");
    EXPECT_EQ(models[0]->Group()->Name(1033), "01. Business Capability Map");
    std::size_t occurrences = 0;
    for (const aris::Model* m : models) occurrences += m->OccList().size();
    EXPECT_EQ(occurrences, 640u);
    EXPECT_NE(report.str().find("attribute type d7f4c491-b203-11ea-06c4-0050568bc76d (52 uses)"), std::string::npos);
    EXPECT_NE(report.str().find("model type MT_ARCHIMATE_3 (14 uses)"), std::string::npos);
}

}  // namespace

TEST(TypeTables, ServerTableWinsOverTheUsersWhichWinsOverTheShippedOne) {
    testenv::Sandbox box("");
    ::setenv("XDG_CONFIG_HOME", box.dir.File("config").c_str(), 1);
    testenv::WriteFile(box.dir.File("config/lumenport/types.tsv"),
                       "model\t70001\tMT_EEPC\tUser EPC\t\nobject\t70002\tOT_FUNC\tUser function\t\n"
                       "object\tx\tOT_BROKEN\n");
    testenv::WriteFile(box.dir.File("server/types.tsv"), "object\t70003\tOT_FUNC\tServer function\t\n");
    std::string xml = aristest::Aml(R"(
      <ObjDef ObjDef.ID="ObjDef.1" TypeNum="OT_FUNC">)" +
                                    aristest::Names("F") + R"(</ObjDef>
      <ObjDef ObjDef.ID="ObjDef.2" TypeNum="OT_EVT">)" +
                                    aristest::Names("E") + R"(</ObjDef>
      <Model Model.ID="Model.1" Model.Type="MT_EEPC">)" +
                                    aristest::Names("P") + R"(
        <ObjOcc ObjOcc.ID="ObjOcc.1" ObjDef.IdRef="ObjDef.1"/><ObjOcc ObjOcc.ID="ObjOcc.2" ObjDef.IdRef="ObjDef.2"/>
      </Model>)");
    std::string report;
    auto db = aristest::Load(xml, &report, box.dir.File("server/types.tsv"));
    ASSERT_TRUE(db);
    const aris::Model* model = db->AllModels()[0];
    EXPECT_EQ(model->TypeNum(), 70001);                    // the user's row
    EXPECT_EQ(model->ObjDefList(70003, 1033).size(), 1u);  // the server's row over the user's
    EXPECT_EQ(model->ObjDefList(18, 1033).size(), 1u);     // the shipped row
    EXPECT_NE(report.find(box.dir.File("config/lumenport/types.tsv") + ", line 3: ignored"), std::string::npos)
        << report;
}

namespace {

// Records what the reader tells while a file loads.
struct RecordingObserver : aris::LoadObserver {
    std::vector<std::string> started;
    std::vector<std::uint64_t> totals, reads;
    void Started(const std::string& sourceName, std::uint64_t totalBytes) override {
        started.push_back(sourceName);
        totals.push_back(totalBytes);
    }
    void Read(std::uint64_t bytesRead) override { reads.push_back(bytesRead); }
};

}  // namespace

TEST(LoadProgress, TheObserverHearsTheSizeAndEveryChunkUpToTheWholeFile) {
    // Models enough to need several of the reader's 64 KiB chunks.
    std::string models;
    for (int i = 0; i < 2000; ++i)
        models += R"(<Model Model.ID="Model.)" + std::to_string(i) + R"(" Model.Type="MT_EEPC">)" +
                  Names("Model " + std::to_string(i)) + "</Model>";
    testenv::TempDir dir;
    const std::string path = dir.File("Big.xml");
    testenv::WriteFile(path, Aml(models));
    const std::uint64_t size = std::filesystem::file_size(path);
    ASSERT_GT(size, 3u * 65536u);

    RecordingObserver observer;
    aris::SetLoadObserver(&observer);
    std::ostringstream report;
    auto db = aris::LoadAmlFile(path, report);
    aris::SetLoadObserver(nullptr);
    ASSERT_TRUE(db);
    EXPECT_EQ(db->AllModels().size(), 2000u);
    ASSERT_EQ(observer.started, std::vector<std::string>{path});
    EXPECT_EQ(observer.totals, std::vector<std::uint64_t>{size});
    // One call per chunk, growing, and the last one has the whole file.
    EXPECT_EQ(observer.reads.size(), (size + 65535) / 65536);
    EXPECT_TRUE(std::is_sorted(observer.reads.begin(), observer.reads.end()));
    ASSERT_FALSE(observer.reads.empty());
    EXPECT_EQ(observer.reads.back(), size);

    // An observer taken away again hears nothing of the next load.
    RecordingObserver unused;
    aris::SetLoadObserver(&unused);
    aris::SetLoadObserver(nullptr);
    EXPECT_TRUE(aris::LoadAmlFile(path, report));
    EXPECT_TRUE(unused.reads.empty());
}
