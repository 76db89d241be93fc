// The benchmark's database generator: same seed and size give the same bytes, the file is a
// well-formed export whose references all resolve, it holds the object, connection and attribute
// types the built-in mapping rules read, the program's reader loads it, and the program exports it
// end to end into a definition file with a block of every construct kind.
#include <gtest/gtest.h>

#include <expat.h>

#include <algorithm>
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
constexpr int kSeed = 7;

/// Run amlgen from the build; returns its exit status and fills its standard output.
int RunAmlgen(const std::vector<std::string>& args, std::string& out) {
    testenv::RunResult run = testenv::RunProgramAt(testenv::BinPath("amlgen"), args);
    out = run.out;
    return run.status;
}

/// Generate a database into `path` with the given name; returns the selection text.
std::string Generate(const std::string& path, long objDefs, int seed, const std::string& name) {
    std::string out;
    int status = RunAmlgen({"--objdefs", std::to_string(objDefs), "--seed", std::to_string(seed), "--out", path,
                            "--name", name},
                           out);
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
        if (key == "ObjDef.ID" || key == "CxnDef.ID" || key == "Model.ID" || key == "ObjOcc.ID" ||
            key == "CxnOcc.ID" || key == "Group.ID") {
            if (!s->ids.insert(value).second) s->duplicateIds.push_back(value);
        } else if (key == "ToObjDef.IdRef" || key == "ObjDef.IdRef" || key == "CxnDef.IdRef" || key == "ToObjOcc.IdRef") {
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
    for (long size : {kSmall, 1000L, 2500L}) {
        SCOPED_TRACE("size " + std::to_string(size));
        std::string path = dir.File("db" + std::to_string(size) + ".xml");
        Generate(path, size, kSeed, "Gen");
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
    };
    for (const Row& row : rows) {
        std::string out;
        EXPECT_NE(RunAmlgen(row.args, out), 0) << row.args.back();
    }
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
        for (const aris::Model* sub : def->AssignedModels()) deepest = std::max(deepest, HierarchyDepth(sub, limit - 1));
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
    return static_cast<int>(std::count_if(lines.begin(), lines.end(),
                                          [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
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
        {"PROCESS '"},        {"\tPROGRAM_ACTIVITY '"}, {"\tPROCESS_ACTIVITY '"}, {"\tCONTROL"},
        {"\tDATA"},           {"STRUCTURE '"},          {"PROGRAM '"},          {"PERSON '"},
        {"ROLE '"},           {"ORGANIZATION '"},       {"PROCESS_CATEGORY '"},
        // Substitutes and parent units, and the AND join that all incoming paths pass.
        {"UPDATE PERSON '"},  {"UPDATE ORGANIZATION '"}, {"\t\tSTART MANUAL WHEN ALL CONNECTORS TRUE"},
    };
    for (const Block& b : blocks) EXPECT_GT(CountStarting(lines, b.prefix), 0) << "no line starts with " << b.prefix;

    // Every eEPC is reached from the overview models through process activities, round by round.
    std::ostringstream report;
    auto db = aris::LoadAmlFile(path, report);
    int eepcs = 0;
    for (const aris::Model* m : db->AllModels()) eepcs += m->TypeNum() == 13 ? 1 : 0;
    EXPECT_EQ(CountStarting(lines, "PROCESS '"), eepcs);
}

}  // namespace
