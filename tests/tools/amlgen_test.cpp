// The benchmark's database generator: same seed and size give the same bytes, the file is a
// well-formed export whose references all resolve, it holds the object, connection and attribute
// types the built-in mapping rules read, the program's reader loads it, and the program exports it
// end to end into a definition file with a block of every construct kind. The dense shape gives
// every function of its large models data, events, rules and staff under names the export
// converts, and its export logs more than twice the definition file's size.
#include <gtest/gtest.h>

#include <expat.h>

#include <algorithm>
#include <initializer_list>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <unordered_set>
#include <vector>

#include "../support/TestEnv.h"
#include "aris/Automation.h"
#include "aris/LocalServer.h"
#include "aris/TypeTable.h"

namespace {

constexpr long kSmall = 300;
constexpr long kDenseSmall = 2500;  // room for an overview model and a few large process models
constexpr int kSeed = 7;

/// Run amlgen from the build; returns its exit status and fills its standard output.
int RunAmlgen(const std::vector<std::string>& args, std::string& out) {
    testenv::RunResult run = testenv::RunProgramAt(testenv::BinPath("amlgen"), args);
    out = run.out;
    return run.status;
}

/// Generate a database into `path` with the given name (and shape, when given); returns the
/// selection text.
std::string Generate(const std::string& path, long objDefs, int seed, const std::string& name,
                     const std::string& shape = "") {
    std::string out;
    std::vector<std::string> args = {
        "--objdefs", std::to_string(objDefs), "--seed", std::to_string(seed), "--out", path, "--name", name};
    if (!shape.empty()) args.insert(args.end(), {"--shape", shape});
    int status = RunAmlgen(args, out);
    EXPECT_EQ(status, 0) << "amlgen failed for " << objDefs << " object definitions";
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    return out;
}

/// What one expat pass over an export finds: ids, references, types written, locale ids.
struct Survey {
    std::string error;
    long objDefs = 0;
    std::unordered_set<std::string> ids;
    std::vector<std::string> duplicateIds;
    std::vector<std::string> references;
    std::set<std::string> objectTypes, cxnTypes, attrTypes, symbols, modelTypes, locales;
};

void SplitInto(const char* list, std::vector<std::string>& out) {
    std::istringstream in(list);
    for (std::string id; in >> id;) out.push_back(id);
}

void XMLCALL OnStart(void* data, const XML_Char* name, const XML_Char** attrs) {
    auto* s = static_cast<Survey*>(data);
    std::string element = name;
    if (element == "ObjDef") ++s->objDefs;
    for (int i = 0; attrs[i]; i += 2) {
        std::string key = attrs[i];
        const char* value = attrs[i + 1];
        if (key == "ObjDef.ID" || key == "CxnDef.ID" || key == "Model.ID" || key == "ObjOcc.ID" || key == "CxnOcc.ID" ||
            key == "Group.ID") {
            if (!s->ids.insert(value).second) s->duplicateIds.push_back(value);
        } else if (key == "ToObjDef.IdRef" || key == "ObjDef.IdRef" || key == "CxnDef.IdRef" ||
                   key == "ToObjOcc.IdRef") {
            s->references.push_back(value);
        } else if (key == "LinkedModels.IdRefs" || key == "ToCxnDefs.IdRefs" || key == "ToCxnOccs.IdRefs") {
            SplitInto(value, s->references);
        } else if (key == "TypeNum" && element == "ObjDef") {
            s->objectTypes.insert(value);
        } else if (key == "CxnDef.Type") {
            s->cxnTypes.insert(value);
        } else if (key == "AttrDef.Type") {
            s->attrTypes.insert(value);
        } else if (key == "SymbolNum") {
            s->symbols.insert(value);
        } else if (key == "Model.Type") {
            s->modelTypes.insert(value);
        } else if (key == "LocaleId" && element == "AttrValue") {
            s->locales.insert(value);
        }
    }
}

Survey SurveyFile(const std::string& path) {
    Survey s;
    std::string xml = testenv::ReadFile(path);
    XML_Parser p = XML_ParserCreate(nullptr);
    XML_SetUserData(p, &s);
    XML_SetStartElementHandler(p, OnStart);
    if (XML_Parse(p, xml.data(), static_cast<int>(xml.size()), 1) == XML_STATUS_ERROR) {
        s.error = "line " + std::to_string(XML_GetCurrentLineNumber(p)) + ": " + XML_ErrorString(XML_GetErrorCode(p));
    }
    XML_ParserFree(p);
    return s;
}

/// The type numbers of type names as the reader maps them (API name or decimal number).
std::set<int> Numbers(aris::TypeKind kind, const std::set<std::string>& names) {
    std::set<int> numbers;
    for (const std::string& n : names) {
        if (!n.empty() && std::all_of(n.begin(), n.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            numbers.insert(std::stoi(n));
        } else if (const aris::TypeRow* row = aris::BuiltInTypeTable().FindName(kind, n)) {
            numbers.insert(row->number);
        }
    }
    return numbers;
}

std::vector<int> Missing(const std::set<int>& have, const std::vector<int>& wanted) {
    std::vector<int> missing;
    for (int w : wanted)
        if (!have.count(w)) missing.push_back(w);
    return missing;
}

std::string Join(const std::vector<int>& v) {
    std::string s;
    for (int n : v) s += (s.empty() ? "" : " ") + std::to_string(n);
    return s;
}

/// The models selected by a selection text ("guid,name,type" items joined by ";").
std::vector<std::vector<std::string>> SelectionItems(const std::string& selection) {
    std::vector<std::vector<std::string>> items;
    std::istringstream in(selection);
    for (std::string item; std::getline(in, item, ';');) {
        std::vector<std::string> fields;
        std::istringstream f(item);
        for (std::string field; std::getline(f, field, ',');) fields.push_back(field);
        items.push_back(fields);
    }
    return items;
}

TEST(Amlgen, SameSeedAndSizeGiveTheSameBytesAndAnotherSeedOtherContent) {
    testenv::TempDir dir;
    std::string sel1 = Generate(dir.File("one.xml"), kSmall, kSeed, "Gen");
    std::string sel2 = Generate(dir.File("two.xml"), kSmall, kSeed, "Gen");
    std::string sel3 = Generate(dir.File("three.xml"), kSmall, kSeed + 1, "Gen");
    std::string one = testenv::ReadFile(dir.File("one.xml"));
    ASSERT_FALSE(one.empty());
    EXPECT_TRUE(one == testenv::ReadFile(dir.File("two.xml"))) << "two runs with the same seed differ";
    EXPECT_EQ(sel1, sel2);
    EXPECT_FALSE(one == testenv::ReadFile(dir.File("three.xml"))) << "the seed changes nothing";
    EXPECT_NE(sel1, sel3);
}

TEST(Amlgen, WritesExactlyTheRequestedNumberOfObjectDefinitionsWithResolvableReferences) {
    testenv::TempDir dir;
    struct Row {
        const char* shape;
        long size;
    };
    for (const Row& row : std::vector<Row>{
             {"default", kSmall}, {"default", 1000}, {"default", 2500}, {"dense", kDenseSmall}, {"dense", 4321}}) {
        SCOPED_TRACE(std::string(row.shape) + " shape, size " + std::to_string(row.size));
        const long size = row.size;
        std::string path = dir.File(std::string(row.shape) + std::to_string(size) + ".xml");
        Generate(path, size, kSeed, "Gen", row.shape);
        Survey s = SurveyFile(path);
        ASSERT_EQ(s.error, "") << "not well-formed";
        EXPECT_EQ(s.objDefs, size);
        EXPECT_TRUE(s.duplicateIds.empty()) << "duplicate id " << s.duplicateIds.front();
        long dangling = std::count_if(s.references.begin(), s.references.end(),
                                      [&](const std::string& r) { return !s.ids.count(r); });
        EXPECT_EQ(dangling, 0) << "references to ids not in the file";
        EXPECT_EQ(s.locales, (std::set<std::string>{"1031", "1033"}));
    }
}

TEST(Amlgen, RejectsBadArgumentsAndTooSmallSizes) {
    testenv::TempDir dir;
    struct Row {
        std::vector<std::string> args;
    };
    const std::vector<Row> rows = {
        {{"--objdefs", "10", "--out", dir.File("x.xml")}},
        {{"--objdefs", "abc", "--out", dir.File("x.xml")}},
        {{"--objdefs", "300"}},
        {{"--objdefs", "300", "--out", dir.File("x.xml"), "--bogus"}},
        {{"--objdefs", "300", "--out", dir.File("no/such/folder/x.xml")}},
        {{"--objdefs", "300", "--out", dir.File("x.xml"), "--shape", "wide"}},
        {{"--objdefs", "300", "--out", dir.File("x.xml"), "--shape"}},
        // Enough for the default shape, too small for one large process model.
        {{"--objdefs", "600", "--out", dir.File("x.xml"), "--shape", "dense"}},
    };
    for (const Row& row : rows) {
        std::string out;
        EXPECT_NE(RunAmlgen(row.args, out), 0) << row.args.back();
    }
    // The size the dense shape refused is a valid size of the default shape.
    std::string out;
    EXPECT_EQ(RunAmlgen({"--objdefs", "600", "--out", dir.File("x.xml"), "--shape", "default"}, out), 0);
}

TEST(Amlgen, ShapeOptionLeavesTheDefaultShapeAsItWasAndTheDenseShapeIsReproducible) {
    testenv::TempDir dir;
    struct Run {
        const char* file;
        const char* shape;
        int seed;
    };
    const std::vector<Run> runs = {{"plain.xml", "", kSeed},
                                   {"default.xml", "default", kSeed},
                                   {"dense1.xml", "dense", kSeed},
                                   {"dense2.xml", "dense", kSeed},
                                   {"dense3.xml", "dense", kSeed + 1}};
    std::vector<std::string> bytes, selections;
    for (const Run& r : runs) {
        selections.push_back(Generate(dir.File(r.file), kDenseSmall, r.seed, "Gen", r.shape));
        bytes.push_back(testenv::ReadFile(dir.File(r.file)));
        ASSERT_FALSE(bytes.back().empty()) << r.file;
    }
    EXPECT_TRUE(bytes[0] == bytes[1]) << "--shape default changes the default shape";
    EXPECT_EQ(selections[0], selections[1]);
    EXPECT_TRUE(bytes[2] == bytes[3]) << "two dense runs with the same seed differ";
    EXPECT_EQ(selections[2], selections[3]);
    EXPECT_FALSE(bytes[2] == bytes[4]) << "the seed changes nothing in the dense shape";
    EXPECT_FALSE(bytes[0] == bytes[2]) << "the dense shape is the default shape";
}

TEST(Amlgen, HoldsTheTypesTheBuiltInRulesRead) {
    testenv::TempDir dir;
    std::string path = dir.File("Gen.xml");
    Generate(path, kSmall, kSeed, "Gen");
    Survey s = SurveyFile(path);
    ASSERT_EQ(s.error, "");

    // Object types of the object and relation rules, except the model types of "PROCESS".
    std::vector<int> objectTypes = {22, 18, 50, 17, 11, 19, 14, 111, 26, 43, 46, 45, 78, 20, 185, 6, 105, 37};
    // Connection types the relation rules follow.
    std::vector<int> cxnTypes = {221, 147, 65,  10,  218, 220, 121, 78,  80,  79,  269, 270, 85,  395,
                                 9,   8,   211, 3,   7,   6,   318, 61,  49,  75,  319, 322, 117, 43,
                                 48,  118, 44,  116, 50,  407, 408, 210, 317, 125, 60,  54};
    // Attribute types the attribute rules read (the name is AT_NAME).
    std::vector<int> attrTypes = {1, 9, 8, 985, 986, 1207, 1208, 1209, 494, 123, 497, 498, 509, 1243, 245, 246};

    EXPECT_EQ(Join(Missing(Numbers(aris::TypeKind::Object, s.objectTypes), objectTypes)), "");
    EXPECT_EQ(Join(Missing(Numbers(aris::TypeKind::Connection, s.cxnTypes), cxnTypes)), "");
    EXPECT_EQ(Join(Missing(Numbers(aris::TypeKind::Attribute, s.attrTypes), attrTypes)), "");
    EXPECT_EQ(Join(Missing(Numbers(aris::TypeKind::Symbol, s.symbols), {42, 43, 44})), "") << "AND, OR and XOR rules";
    EXPECT_EQ(Join(Missing(Numbers(aris::TypeKind::Model, s.modelTypes), {13})), "");
}

/// Depth of the process hierarchy below a model through assigned models (1 = no sub-process).
int HierarchyDepth(const aris::Model* model, int limit) {
    if (limit == 0) return 0;
    int deepest = 0;
    for (const aris::ObjDef* def : model->ObjDefList(22, 1033))
        for (const aris::Model* sub : def->AssignedModels())
            deepest = std::max(deepest, HierarchyDepth(sub, limit - 1));
    return 1 + deepest;
}

TEST(Amlgen, TheReaderLoadsItWithEveryTypeMappedAndTheSelectionResolvable) {
    testenv::TempDir dir;
    std::string path = dir.File("Gen.xml");
    std::string selection = Generate(path, kSmall, kSeed, "Gen");
    std::ostringstream report;
    std::unique_ptr<aris::Database> db;
    ASSERT_NO_THROW(db = aris::LoadAmlFile(path, report));
    ASSERT_TRUE(db);
    EXPECT_EQ(report.str(), "") << "the load report should be empty";
    EXPECT_EQ(db->Locales(), (std::vector<aris::LocaleId>{1031, 1033}));

    auto items = SelectionItems(selection);
    ASSERT_FALSE(items.empty());
    int eepcs = 0;
    for (const aris::Model* m : db->AllModels()) eepcs += m->TypeNum() == 13 ? 1 : 0;
    EXPECT_GE(eepcs, 5);
    for (const auto& item : items) {
        ASSERT_EQ(item.size(), 3u);
        EXPECT_EQ(item[2], "13");
        auto found = db->FindModels(13, 1033, item[1]);
        ASSERT_EQ(found.size(), 1u) << item[1];
        EXPECT_EQ(found[0]->Guid(), item[0]);
        // Overview -> family top -> child -> grandchild: the export needs several rounds.
        EXPECT_GE(HierarchyDepth(found[0], 6), 3) << item[1];
    }

    // Names in both languages; the AND joins are rule occurrences of symbol 42.
    const aris::Model* overview = db->FindModels(13, 1033, items[0][1]).at(0);
    auto functions = overview->ObjDefList(22, 1033);
    ASSERT_FALSE(functions.empty());
    EXPECT_NE(functions[0]->Name(1031), "");
    EXPECT_NE(functions[0]->Name(1031), functions[0]->Name(1033));
    int andRules = 0;
    for (const aris::Occurrence* occ : overview->OccList())
        if (occ->ObjDef() && occ->ObjDef()->TypeNum() == 50 && occ->SymbolNum() == 42) ++andRules;
    EXPECT_EQ(andRules, 2) << "one AND split and one AND join";
}

/// Lines of a definition file (CR LF or LF ends).
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

int CountStarting(const std::vector<std::string>& lines, const std::string& prefix) {
    return static_cast<int>(
        std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
}

TEST(Amlgen, ExportsEndToEndWithEveryConstructKind) {
    testenv::Sandbox sandbox;
    std::string path = sandbox.dir.File("servers/BENCH/Gen.xml");
    testenv::WriteFile(path, "");
    std::string selection = Generate(path, kSmall, kSeed, "Gen");
    std::string output = sandbox.dir.File("out/Gen.wpx");
    testenv::WriteFile(output, "");

    testenv::RunResult r = testenv::RunProgram(
        {"--batch", "--output", output, "/SVR=BENCH", "/DB=Gen", "/USR=bench", "/SEL=" + selection, "/LOC=1033"});
    ASSERT_EQ(r.status, 0) << "kvbrars did not finish the export; standard error:\n" << r.err;

    std::vector<std::string> lines = Lines(testenv::ReadFile(output));
    struct Block {
        const char* prefix;
    };
    const std::vector<Block> blocks = {
        {"PROCESS '"},
        {"\tPROGRAM_ACTIVITY '"},
        {"\tPROCESS_ACTIVITY '"},
        {"\tCONTROL"},
        {"\tDATA"},
        {"STRUCTURE '"},
        {"PROGRAM '"},
        {"PERSON '"},
        {"ROLE '"},
        {"ORGANIZATION '"},
        {"PROCESS_CATEGORY '"},
        // Substitutes and parent units, and the AND join that all incoming paths pass.
        {"UPDATE PERSON '"},
        {"UPDATE ORGANIZATION '"},
        {"\t\tSTART MANUAL WHEN ALL CONNECTORS TRUE"},
    };
    for (const Block& b : blocks) EXPECT_GT(CountStarting(lines, b.prefix), 0) << "no line starts with " << b.prefix;

    // Every eEPC is reached from the overview models through process activities, round by round.
    std::ostringstream report;
    auto db = aris::LoadAmlFile(path, report);
    int eepcs = 0;
    for (const aris::Model* m : db->AllModels()) eepcs += m->TypeNum() == 13 ? 1 : 0;
    EXPECT_EQ(CountStarting(lines, "PROCESS '"), eepcs);
}

/// Connections of an object definition of the given types, in the given direction.
std::size_t CountCxns(const aris::ObjDef* def, int direction, std::initializer_list<int> types) {
    std::size_t n = 0;
    for (int type : types) n += def->CxnList(direction, 1033, type).size();
    return n;
}

TEST(Amlgen, DenseShapeGivesEveryFunctionDataEventsRulesAndStaffUnderNamesToConvert) {
    testenv::TempDir dir;
    std::string path = dir.File("Dense.xml");
    std::string selection = Generate(path, kDenseSmall, kSeed, "Dense", "dense");
    std::ostringstream report;
    std::unique_ptr<aris::Database> db;
    ASSERT_NO_THROW(db = aris::LoadAmlFile(path, report));
    ASSERT_TRUE(db);
    EXPECT_EQ(report.str(), "") << "the load report should be empty";

    // The overview models of the selection call every large process model.
    auto items = SelectionItems(selection);
    ASSERT_FALSE(items.empty());
    std::set<const aris::Model*> called;
    for (const auto& item : items) {
        ASSERT_EQ(item.size(), 3u);
        auto found = db->FindModels(13, 1033, item[1]);
        ASSERT_EQ(found.size(), 1u) << item[1];
        EXPECT_EQ(found[0]->Guid(), item[0]);
        for (const aris::ObjDef* f : found[0]->ObjDefList(22, 1033))
            for (const aris::Model* sub : f->AssignedModels()) called.insert(sub);
    }
    std::vector<const aris::Model*> large;
    for (const aris::Model* m : db->AllModels())
        if (m->TypeNum() == 13 && m->ObjDefList(22, 1033).size() >= 80) large.push_back(m);
    ASSERT_GE(large.size(), 2u);
    EXPECT_EQ(called.size(), large.size());

    // Per function: data read and written, a following event, rule or function, a role and a
    // person. Object 22 function, 17 entity type, 19 ERM attribute, 78 role, 46 person.
    std::map<std::string, int> names;  // what a name holds -> how many function names hold it
    for (const aris::Model* m : large) {
        SCOPED_TRACE(m->Name(1033));
        std::set<int> ruleSymbols;
        for (const aris::Occurrence* occ : m->OccList())
            if (occ->ObjDef() && occ->ObjDef()->TypeNum() == 50) ruleSymbols.insert(occ->SymbolNum());
        EXPECT_EQ(ruleSymbols, (std::set<int>{42, 43, 44})) << "AND, OR and XOR rules";
        for (const aris::ObjDef* f : m->ObjDefList(22, 1033)) {
            std::string name = f->Name(1033);
            EXPECT_GE(CountCxns(f, aris::kCxnIncoming, {49}) + CountCxns(f, aris::kCxnOutgoing, {50}), 2u) << name;
            EXPECT_GE(CountCxns(f, aris::kCxnOutgoing, {44, 116, 118}), 1u) << name;
            EXPECT_EQ(CountCxns(f, aris::kCxnIncoming, {218, 220}), 1u) << name << ": one role";
            std::size_t people = 0;
            for (const aris::CxnDef* c : f->CxnList(aris::kCxnIncoming, 1033, 65))
                people += c->SourceObjDef()->TypeNum() == 46 ? 1 : 0;
            for (const aris::CxnDef* c : f->CxnList(aris::kCxnIncoming, 1033, 10))
                people += c->SourceObjDef()->TypeNum() == 46 ? 1 : 0;
            EXPECT_EQ(people, 1u) << name << ": one person";
            names["leading digit"] += !name.empty() && name[0] >= '1' && name[0] <= '9';
            names["dot"] += name.find('.') != std::string::npos;
            names["single quote"] += name.find('\'') != std::string::npos;
            names["double quote"] += name.find('"') != std::string::npos;
            names["two blanks"] += name.find("  ") != std::string::npos;
            names["umlaut"] += name.find("\xc3") != std::string::npos;
        }
        // Every data structure of the model has its members.
        for (const aris::ObjDef* e : m->ObjDefList(17, 1033))
            EXPECT_GE(CountCxns(e, aris::kCxnIncoming, {78, 79, 80}), 3u) << e->Name(1033);
    }
    for (const char* kind : {"leading digit", "dot", "single quote", "double quote", "two blanks", "umlaut"})
        EXPECT_GT(names[kind], 0) << "no function name with a " << kind;
    EXPECT_EQ(names["leading digit"], names["dot"]) << "every name starts with a chapter number";
}

TEST(Amlgen, DenseShapeExportsEveryConstructKindWithALogMoreThanTwiceTheDefinitionFile) {
    testenv::Sandbox sandbox;
    std::string path = sandbox.dir.File("servers/BENCH/Dense.xml");
    testenv::WriteFile(path, "");
    std::string selection = Generate(path, kDenseSmall, kSeed, "Dense", "dense");
    std::string output = sandbox.dir.File("out/Dense.wpx");
    testenv::WriteFile(output, "");

    testenv::RunResult r = testenv::RunProgram(
        {"--batch", "--output", output, "/SVR=BENCH", "/DB=Dense", "/USR=bench", "/SEL=" + selection, "/LOC=1033"});
    ASSERT_EQ(r.status, 0) << "kvbrars did not finish the export; standard error:\n" << r.err;
    testenv::RunResult check = testenv::RunProgram({"--check", output});
    EXPECT_EQ(check.status, 0) << "the definition file has errors:\n" << check.out;

    const std::string definition = testenv::ReadFile(output);
    const std::string log = testenv::ReadFile(sandbox.dir.File("out/Dense.log"));
    std::vector<std::string> lines = Lines(definition);
    const std::vector<std::string> blocks = {"PROCESS '",
                                             "\tPROGRAM_ACTIVITY '",
                                             "\tPROCESS_ACTIVITY '",
                                             "\tCONTROL",
                                             "\tDATA",
                                             "STRUCTURE '",
                                             "PROGRAM '",
                                             "PERSON '",
                                             "ROLE '",
                                             "ORGANIZATION '",
                                             "PROCESS_CATEGORY '",
                                             "\t\tSTART MANUAL WHEN ALL CONNECTORS TRUE",
                                             "\t\tSTART MANUAL WHEN AT_LEAST_ONE CONNECTOR TRUE",
                                             "\t\tWHEN '"};
    for (const std::string& b : blocks) EXPECT_GT(CountStarting(lines, b), 0) << "no line starts with " << b;

    // Most names are converted, and each conversion is logged: the log outweighs the definition.
    std::ostringstream report;
    auto db = aris::LoadAmlFile(path, report);
    std::size_t functions = 0;
    for (const aris::Model* m : db->AllModels())
        if (m->TypeNum() == 13) functions += m->ObjDefList(22, 1033).size();
    ASSERT_FALSE(definition.empty());
    EXPECT_GE(static_cast<std::size_t>(testenv::CountLinesStarting(log, "KVB03100I")), functions);
    EXPECT_GE(log.size(), 2 * definition.size())
        << "log " << log.size() << " bytes, definition file " << definition.size() << " bytes";
}

}  // namespace
