#include "AmlFixture.h"
#include "MappingTestSupport.h"
#include "mapping/ConvertARISPersonName.h"
#include "mapping/modPath.h"

using namespace modMappingRule;
using amltest::AmlBuilder;
using mappingtest::AmlDatabase;
using mappingtest::CatchError;

namespace {

// Object and connection type numbers of the built-in rules.
enum : int {
    kFunction = 22,
    kEvent = 18,
    kRule = 50,
    kEntity = 17,
    kRelation = 11,
    kErmAttribute = 19,
    kPerson = 46,
    kEpc = 13,
    kFuncToFunc = 118,
    kFuncToEvent = 44,
    kFuncToRule = 116,
    kEventToFunc = 43,
    kRuleToEvent = 117,
    kRuleToRule = 54,
};

// A control flow: F1 reaches F2 directly and through event E1; F3 through event E1, through
// rule R1 and through R1 and event E2. Fx occurs nowhere; F2 -> F3 is not placed in a model.
// R4 and R5 form a ring of rule objects.
AmlBuilder ControlFlow() {
    AmlBuilder b(amltest::kGerman);
    b.Obj("F1", kFunction, "Auftrag prüfen", {{9, "Erste Zeile\nzweite Zeile"}})
        .Obj("F2", kFunction, "Versand")
        .Obj("F3", kFunction, "Rechnung")
        .Obj("Fx", kFunction, "Nirgends")
        .Obj("E1", kEvent, "geprüft")
        .Obj("E2", kEvent, "freigegeben")
        .Obj("R1", kRule, "XOR")
        .Obj("R4", kRule, "Ring eins")
        .Obj("R5", kRule, "Ring zwei");
    b.Cxn("F1", kFuncToFunc, "F2")
        .Cxn("F1", kFuncToFunc, "Fx", "")
        .Cxn("F1", kFuncToEvent, "E1")
        .Cxn("F1", kFuncToRule, "R1")
        .Cxn("E1", kEventToFunc, "F3")
        .Cxn("E1", kEventToFunc, "F2")
        .Cxn("R1", kEventToFunc, "F3")
        .Cxn("R1", kRuleToEvent, "E2")
        .Cxn("E2", kEventToFunc, "F3")
        .Cxn("F2", kFuncToFunc, "F3", "")
        .Cxn("F3", kFuncToFunc, "F1")
        .Cxn("R4", kRuleToRule, "R5")
        .Cxn("R5", kRuleToRule, "R4");
    b.Model("M1", kEpc, "Auftragsabwicklung", {"F1", "F2", "F3", "E1", "E2", "R1", "R4", "R5"});
    return b;
}

using Names = std::vector<std::string>;

class RuleEvaluation : public mappingtest::MappingTest {
protected:
    RuleEvaluation() : db(ControlFlow()) {
        CurrentExport().LocaleId = 1031;
        CreateDefaultMappingRules();
    }

    std::vector<std::string> NamesOf(const ARISObjDefCollection& objects) const {
        std::vector<std::string> names;
        for (const aris::ObjDef* o : objects) names.push_back(o->Name(1031));
        return names;
    }
    std::vector<std::string> Related(const std::string& from, const std::string& rule) const {
        ARISObjDefCollection result;
        return NamesOf(Find_Related_ARIS_ObjDef_Using_Mapping_Rule(result, db.Obj(from), rule));
    }
    // Each path as its objects on the path, named.
    std::vector<std::vector<std::string>> PathObjects(const PathCollection& paths, const std::string& from,
                                                      const std::string& to) const {
        std::vector<std::vector<std::string>> out;
        for (const auto& path : paths) {
            EXPECT_EQ(path->FROM_ARISObjectDefinition, db.Obj(from));
            EXPECT_EQ(path->TO_ARISObjectDefinition, db.Obj(to));
            out.push_back(NamesOf(path->ColARISObjectDefinitionsOnPath));
        }
        return out;
    }

    AmlDatabase db;
};

}  // namespace

TEST_F(RuleEvaluation, ChainsYieldTheirEndsOnceAtTheFirstPlaceTheyWereFound) {
    // Direct F2; through E1 F3 and F2 again; through R1 F3 again (and through E2).
    EXPECT_EQ(Related("F1", "FUNCTION_SENDS_CONTROL_TO_FUNCTION"), (Names{"Versand", "Rechnung"}));
    // Only steps whose source type is the start object's type apply.
    EXPECT_EQ(Related("E1", "FUNCTION_SENDS_CONTROL_TO_FUNCTION"), Names{});
    EXPECT_EQ(Related("E1", "EVENT_SENDS_CONTROL_TO_FUNCTION"), (Names{"Rechnung", "Versand"}));
    EXPECT_EQ(Related("R1", "RULE_SENDS_CONTROL_TO_FUNCTION"), (Names{"Rechnung"}));
    // F2 -> F3 is not placed in any model; F3 -> F1 is.
    EXPECT_EQ(Related("F2", "FUNCTION_SENDS_CONTROL_TO_FUNCTION"), Names{});
    EXPECT_EQ(Related("F3", "FUNCTION_SENDS_CONTROL_TO_FUNCTION"), Names{"Auftrag prüfen"});
    // Incoming steps.
    EXPECT_EQ(Related("F3", "FUNCTION_RECEIVES_CONTROL_FROM_RULE"), Names{"XOR"});
    // A result collection given with items keeps them and adds behind.
    ARISObjDefCollection result;
    AddObjDefOnce(result, db.Obj("F3"));
    Find_Related_ARIS_ObjDef_Using_Mapping_Rule(result, db.Obj("F1"), "FUNCTION_SENDS_CONTROL_TO_FUNCTION");
    EXPECT_EQ(NamesOf(result), (Names{"Rechnung", "Versand"}));
    EXPECT_EQ(RelationNestingCounter(), 0);
    EXPECT_TRUE(box.boxes->texts.empty());
}

TEST_F(RuleEvaluation, ARingOfRuleObjectsEndsWithError2230) {
    const aris::ObjDef* r4 = db.Obj("R4");
    platform::Error e = CatchError([&] { Related("R4", "RULE_SENDS_CONTROL_TO_FUNCTION"); });
    EXPECT_EQ(e.Number(), 2230);
    // The hundred-and-first nested search starts at R4 again.
    EXPECT_EQ(e.Description(), "Das ARIS-Objekt 'Ring eins' mit dem Typ '" + r4->TypeName(1031) +
                                   "' ist an einer endlosen Beziehungsschleife beteiligt.");
    EXPECT_EQ(RelationNestingCounter(), 0);
    EXPECT_EQ(CatchError([&] {
                  ARIS_ObjDef_Is_Related_To_ARIS_ObjDef_Using_Mapping_Rule(db.Obj("R5"), db.Obj("R4"),
                                                                           "RULE_SENDS_CONTROL_TO_FUNCTION");
              }).Number(),
              2230);
}

TEST_F(RuleEvaluation, AnObjectWithoutOccurrencesIsNeverStartResultOrEnd) {
    const aris::ObjDef* fx = db.Target("F1", kFuncToFunc, "Nirgends");
    EXPECT_FALSE(ObjDefOccurs(fx));
    ARISObjDefCollection result;
    EXPECT_TRUE(Find_Related_ARIS_ObjDef_Using_Mapping_Rule(result, fx, "FUNCTION_SENDS_CONTROL_TO_FUNCTION").Empty());
    // Without occurrence the rule is not even looked up.
    EXPECT_TRUE(Find_Related_ARIS_ObjDef_Using_Mapping_Rule(result, fx, "NO_SUCH_RULE").Empty());
    EXPECT_FALSE(ARIS_ObjDef_Is_Related_To_ARIS_ObjDef_Using_Mapping_Rule(db.Obj("F1"), fx, "NO_SUCH_RULE"));
    EXPECT_FALSE(ARIS_ObjDef_Is_Related_To_ARIS_ObjDef_Using_Mapping_Rule(fx, db.Obj("F1"), "NO_SUCH_RULE"));
    PathCollection none;
    EXPECT_EQ(
        modPath::Find_Relating_Paths_Using_Mapping_Rule(none, db.Obj("F1"), fx, "FUNCTION_SENDS_CONTROL_TO_FUNCTION"),
        nullptr);
    EXPECT_EQ(
        modPath::Find_Relating_Paths_Using_Mapping_Rule(none, fx, db.Obj("F1"), "FUNCTION_SENDS_CONTROL_TO_FUNCTION"),
        nullptr);
}

TEST_F(RuleEvaluation, RelatednessFollowsChainsAndStopsAtTheRule) {
    const std::string rule = "FUNCTION_SENDS_CONTROL_TO_FUNCTION";
    struct Case {
        const char* from;
        const char* to;
        bool related;
    };
    const std::vector<Case> cases = {
        {"F1", "F2", true},  {"F1", "F3", true},  {"F3", "F1", true},
        {"F1", "E1", false},  // an object between is not related
        {"F2", "F3", false}, {"F2", "F1", false}, {"E1", "F3", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ARIS_ObjDef_Is_Related_To_ARIS_ObjDef_Using_Mapping_Rule(db.Obj(c.from), db.Obj(c.to), rule),
                  c.related)
            << c.from << " -> " << c.to;
    EXPECT_EQ(CatchError([&] {
                  ARIS_ObjDef_Is_Related_To_ARIS_ObjDef_Using_Mapping_Rule(db.Obj("F1"), db.Obj("F2"), "NOPE");
              }).Number(),
              2100);
}

TEST_F(RuleEvaluation, PathsRunDirectlyAndThroughEveryChain) {
    const std::string rule = "FUNCTION_SENDS_CONTROL_TO_FUNCTION";
    PathCollection head;
    auto paths = modPath::Find_Relating_Paths_Using_Mapping_Rule(head, db.Obj("F1"), db.Obj("F2"), rule);
    ASSERT_NE(paths, nullptr);
    EXPECT_EQ(PathObjects(*paths, "F1", "F2"), (std::vector<Names>{{}, {"geprüft"}}));

    paths = modPath::Find_Relating_Paths_Using_Mapping_Rule(head, db.Obj("F1"), db.Obj("F3"), rule);
    ASSERT_NE(paths, nullptr);
    EXPECT_EQ(PathObjects(*paths, "F1", "F3"), (std::vector<Names>{{"geprüft"}, {"XOR"}, {"XOR", "freigegeben"}}));

    paths = modPath::Find_Relating_Paths_Using_Mapping_Rule(head, db.Obj("F2"), db.Obj("F3"), rule);
    ASSERT_NE(paths, nullptr);
    EXPECT_TRUE(paths->Empty());
    EXPECT_TRUE(head.Empty());
    EXPECT_EQ(RelationNestingCounter(), 0);
}

// F1 -> E0 -> R0, then n times R(k-1) -> events A(k), B(k) -> R(k), finally R(n) -> F2: 2^n
// routes from F1 to F2. `closed` adds R(n) -> R0, a cycle of rules; each R(k) links to the rule
// X, which no step of the built-in rules follows.
AmlBuilder Ladder(int n, bool closed) {
    AmlBuilder b(amltest::kGerman);
    std::vector<std::string> placed = {"F1", "F2", "E0", "R0", "X"};
    b.Obj("F1", kFunction, "Start").Obj("F2", kFunction, "Finish").Obj("E0", kEvent, "Started");
    b.Obj("R0", kRule, "R0").Obj("X", kRule, "X").Cxn("F1", kFuncToEvent, "E0").Cxn("E0", 48, "R0");
    for (int k = 1; k <= n; ++k) {
        const std::string rule = "R" + std::to_string(k);
        b.Obj(rule, kRule, rule).Cxn(rule, 477, "X");
        placed.push_back(rule);
        for (const char* side : {"A", "B"}) {
            const std::string event = side + std::to_string(k);
            b.Obj(event, kEvent, event).Cxn("R" + std::to_string(k - 1), kRuleToEvent, event).Cxn(event, 48, rule);
            placed.push_back(event);
        }
    }
    b.Cxn("R" + std::to_string(n), kEventToFunc, "F2");
    if (closed) b.Cxn("R" + std::to_string(n), kRuleToRule, "R0");
    b.Model("M1", kEpc, "Ladder", placed);
    return b;
}

TEST_F(RuleEvaluation, PathsAreCountedAsTheSearchFindsThemWithoutBuildingThem) {
    const std::string rule = "FUNCTION_SENDS_CONTROL_TO_FUNCTION";
    // Every pair of the database, the ring of rules included: the count equals the number of
    // paths the search returns, and a cap limits it.
    for (const char* from : {"F1", "F2", "F3", "E1", "R1", "R4"}) {
        for (const char* to : {"F1", "F2", "F3", "E1", "E2"}) {
            auto paths =
                modPath::Find_Relating_Paths_Using_Mapping_Rule(PathCollection(), db.Obj(from), db.Obj(to), rule);
            const std::uint64_t found = paths ? paths->Count() : 0;
            EXPECT_EQ(modPath::CountRelatingPaths(db.Obj(from), db.Obj(to), rule, 1000), found) << from << " -> " << to;
        }
    }
    EXPECT_EQ(modPath::CountRelatingPaths(db.Obj("F1"), db.Obj("F3"), rule, 2), 2u);
    // The count shows no message and leaves a missing rule to the search itself.
    EXPECT_EQ(modPath::CountRelatingPaths(db.Obj("F1"), db.Obj("F3"), "NOPE", 10), std::nullopt);
    EXPECT_TRUE(box.boxes->texts.empty());
}

TEST(PathCount, LaddersOfBranchesAreCountedAtOnceAndCyclesAreLeftToTheSearch) {
    testenv::Sandbox box("DEU");
    CreateDefaultMappingRules();
    const std::string rule = "FUNCTION_SENDS_CONTROL_TO_FUNCTION";
    {
        AmlDatabase db(Ladder(60, false));
        EXPECT_EQ(modPath::CountRelatingPaths(db.Obj("F1"), db.Obj("F2"), rule, 1u << 20), 1u << 20);  // 2^60, capped
    }
    {
        AmlDatabase db(Ladder(5, false));
        auto paths =
            modPath::Find_Relating_Paths_Using_Mapping_Rule(PathCollection(), db.Obj("F1"), db.Obj("F2"), rule);
        ASSERT_NE(paths, nullptr);
        EXPECT_EQ(paths->Count(), 32u);
        EXPECT_EQ(modPath::CountRelatingPaths(db.Obj("F1"), db.Obj("F2"), rule, 100), 32u);
    }
    {
        AmlDatabase db(Ladder(3, true));
        EXPECT_EQ(modPath::CountRelatingPaths(db.Obj("F1"), db.Obj("F2"), rule, 100), std::nullopt);
    }
    modMappingRule::ResetMappingRules();
}

TEST(RelationSearch, BranchesThatJoinAgainAreWalkedOnceEach) {
    testenv::Sandbox box("DEU");
    CreateDefaultMappingRules();
    // 2^40 routes: walked route by route, the search would never end.
    AmlDatabase db(Ladder(40, false));
    ARISObjDefCollection found;
    Find_Related_ARIS_ObjDef_Using_Mapping_Rule(found, db.Obj("F1"), "FUNCTION_SENDS_CONTROL_TO_FUNCTION");
    ASSERT_EQ(found.Count(), 1u);
    EXPECT_EQ(found.Item(1), db.Obj("F2"));
    EXPECT_TRUE(ARIS_ObjDef_Is_Related_To_ARIS_ObjDef_Using_Mapping_Rule(db.Obj("F1"), db.Obj("F2"),
                                                                         "FUNCTION_SENDS_CONTROL_TO_FUNCTION"));
    EXPECT_EQ(RelationNestingCounter(), 0);
    modMappingRule::ResetMappingRules();
}

TEST(RelationSearch, WarningsAndTheNestingLimitComeAsOftenAndWhereTheyCameBefore) {
    testenv::Sandbox box("DEU");
    // Rules of a profile: the rule objects' own step lists both directions (6) and so warns for
    // each connection it lists, every time a rule object is walked.
    auto step = [](int source, int kind, int type, int target, const char* next) {
        clsConnectionMapping m;
        m.SourceObjTypeNum = source;
        m.CnxKind = kind;
        m.CnxTypeNum = type;
        m.TargetObjTypeNum = target;
        m.TargetObjRule = next;
        return m;
    };
    auto rule = [](const char* name, std::vector<clsConnectionMapping> steps) {
        auto r = std::make_unique<clsMappingRule>();
        r->Name = name;
        for (clsConnectionMapping& s : steps) r->ColConnectionMapping.Add(std::move(s));
        AddMappingRule(std::move(r));
    };
    rule("T_FUNCTION", {step(kFunction, 4, kFuncToEvent, kEvent, "T_EVENT")});
    rule("T_EVENT", {step(kEvent, 4, 48, kRule, "T_RULE")});
    rule("T_RULE", {step(kRule, 4, kRuleToEvent, kEvent, "T_EVENT"), step(kRule, 4, kEventToFunc, kFunction, ""),
                    step(kRule, 6, 477, kRule, "")});
    AmlDatabase db(Ladder(3, false));
    ARISObjDefCollection found;
    Find_Related_ARIS_ObjDef_Using_Mapping_Rule(found, db.Obj("F1"), "T_FUNCTION");
    ASSERT_EQ(found.Count(), 1u);
    // R0 is walked once, R1 twice, R2 four and R3 eight times; each of R1 to R3 lists its link
    // to X (R0 has none).
    EXPECT_EQ(box.boxes->texts.size(), 2u + 4u + 8u);
    for (const std::string& text : box.boxes->texts) EXPECT_NE(text.find("KVB02030E"), std::string::npos) << text;

    // A rule object walked completely near the start, met again deep down: the limit is reached
    // there, with the object where it is reached, as on every walk.
    box.boxes->texts.clear();
    AmlBuilder deep(amltest::kGerman);
    std::vector<std::string> placed = {"F1", "E0", "R0", "EA", "EB", "RX", "RY"};
    deep.Obj("F1", kFunction, "Start").Obj("E0", kEvent, "Started").Obj("R0", kRule, "R0").Obj("EA", kEvent, "EA");
    deep.Obj("EB", kEvent, "EB").Obj("RX", kRule, "Shared").Obj("RY", kRule, "Below");
    deep.Cxn("F1", kFuncToEvent, "E0").Cxn("E0", 48, "R0").Cxn("R0", kRuleToEvent, "EA").Cxn("EA", 48, "RX");
    deep.Cxn("RX", kRuleToEvent, "EB").Cxn("EB", 48, "RY");
    // The long way: R0 -> L1 -> ... -> L94 (rule to rule), then L94 -> EA.
    deep.Cxn("R0", kRuleToRule, "L1");
    for (int k = 1; k <= 94; ++k) {
        const std::string id = "L" + std::to_string(k);
        deep.Obj(id, kRule, id);
        placed.push_back(id);
        if (k < 94) deep.Cxn(id, kRuleToRule, "L" + std::to_string(k + 1));
    }
    deep.Cxn("L94", kRuleToEvent, "EA");
    deep.Model("M1", kEpc, "Deep", placed);
    AmlDatabase deepDb(deep);
    CreateDefaultMappingRules();
    CurrentExport().LocaleId = 1031;
    ARISObjDefCollection none;
    platform::Error e = CatchError([&] {
        Find_Related_ARIS_ObjDef_Using_Mapping_Rule(none, deepDb.Obj("F1"), "FUNCTION_SENDS_CONTROL_TO_FUNCTION");
    });
    EXPECT_EQ(e.Number(), 2230);
    EXPECT_NE(e.Description().find("'Below'"), std::string::npos) << e.Description();
    EXPECT_EQ(RelationNestingCounter(), 0);
    modMappingRule::ResetMappingRules();
}

TEST_F(RuleEvaluation, ConcatenatingPathsJoinsThoseThatMeetAndClonesAnEmptySide) {
    const aris::ObjDef *f1 = db.Obj("F1"), *e1 = db.Obj("E1"), *r1 = db.Obj("R1"), *f3 = db.Obj("F3"),
                       *e2 = db.Obj("E2");
    PathCollection heads, tails, empty;
    heads.Add(modPath::CreatePath(f1, e1));
    heads.Add(modPath::CreatePath(f1, r1));
    auto viaE2 = modPath::CreatePath(r1, f3);
    viaE2->ColARISObjectDefinitionsOnPath.Add(e2, e2->Guid());
    tails.Add(modPath::CreatePath(e1, f3));
    tails.Add(viaE2);
    tails.Add(modPath::CreatePath(f3, f1));  // meets no head

    PathCollection joined = modPath::ConcatenatePaths(heads, tails);
    EXPECT_EQ(PathObjects(joined, "F1", "F3"), (std::vector<Names>{{"geprüft"}, {"XOR", "freigegeben"}}));

    // One side empty: a new collection holding the other side's paths themselves.
    PathCollection clone = modPath::ConcatenatePaths(empty, tails);
    ASSERT_EQ(clone.Count(), 3u);
    for (std::size_t i = 1; i <= 3; ++i) EXPECT_EQ(clone.Item(i), tails.Item(i));
    clone = modPath::ConcatenatePaths(heads, empty);
    ASSERT_EQ(clone.Count(), 2u);
    EXPECT_EQ(clone.Item(2), heads.Item(2));
    EXPECT_TRUE(modPath::ConcatenatePaths(empty, empty).Empty());
}

TEST_F(RuleEvaluation, ADirectionOtherThanInOrOutWarnsOncePerListedConnection) {
    auto rule = std::make_unique<clsMappingRule>();
    rule->Name = "BOTH_WAYS";
    clsConnectionMapping step;
    step.SourceObjTypeNum = kFunction;
    step.TargetObjTypeNum = kFunction;
    step.CnxKind = 6;
    step.CnxTypeNum = kFuncToFunc;
    rule->ColConnectionMapping.Add(step);
    step.CnxKind = 0;
    rule->ColConnectionMapping.Add(step);
    AddMappingRule(std::move(rule));

    // F1 has one placed outgoing and one placed incoming connection of the type; the one to Fx
    // is not placed and is skipped before its direction matters.
    EXPECT_EQ(Related("F1", "BOTH_WAYS"), Names{});
    ASSERT_EQ(box.boxes->texts.size(), 2u);
    EXPECT_EQ(box.boxes->texts[0],
              "Warnung KVB02030E  gemeldet von 'modMappingRule.Find_Related_ARIS_ObjDef'\r\nErklärung:\r\n"
              "Ungültige Beziehungsart: 6");
    EXPECT_EQ(box.boxes->texts[1], box.boxes->texts[0]);
}

TEST_F(RuleEvaluation, ConformanceAndAttributes) {
    EXPECT_TRUE(ARIS_ObjDef_Conforms_To_Mapping_Rule(db.Obj("F1"), "ACTIVITY"));
    EXPECT_TRUE(ARIS_ObjDef_Conforms_To_Mapping_Rule(db.Obj("E1"), "PROCESS"));  // 18 is a model type there
    EXPECT_FALSE(ARIS_ObjDef_Conforms_To_Mapping_Rule(db.Obj("F1"), "PERSON"));
    EXPECT_FALSE(ARIS_ObjDef_Conforms_To_Mapping_Rule(db.Obj("F1"), "ACTIVITY_PERSON"));  // no object types
    EXPECT_EQ(CatchError([&] { ARIS_ObjDef_Conforms_To_Mapping_Rule(db.Obj("F1"), "NOPE"); }).Number(), 2100);

    const aris::ObjDef* f1 = db.Obj("F1");
    EXPECT_EQ(Find_ARIS_ObjDef_Attribute_Using_Mapping_Rule(f1, "ACTIVITY_ActivityName"), "Auftrag prüfen");
    EXPECT_EQ(Find_ARIS_ObjDef_Attribute_Using_Mapping_Rule(f1, "ACTIVITY_DESCRIPTION"), "Erste Zeile zweite Zeile");
    CurrentExport().Options.RemoveLineBreaks = false;
    EXPECT_EQ(Find_ARIS_ObjDef_Attribute_Using_Mapping_Rule(f1, "ACTIVITY_DESCRIPTION"), "Erste Zeile\r\nzweite Zeile");
    EXPECT_EQ(Find_ARIS_ObjDef_Attribute_Using_Mapping_Rule(f1, "ACTIVITY_DOCUMENTATION"), "");
    EXPECT_EQ(Find_ARIS_ObjDef_Attribute(db.Model("M1"), -1), "Auftragsabwicklung");
    CurrentExport().LocaleId = 1033;
    EXPECT_EQ(Find_ARIS_ObjDef_Attribute(f1, -1), "");
}

TEST(RuleEvaluationModels, ObjectsByRuleTypeThenModelThenARISOrderEachOnce) {
    testenv::Sandbox box("DEU");
    CurrentExport().LocaleId = 1031;
    modMappingRule::ResetMappingRules();
    CreateDefaultMappingRules();
    AmlBuilder b(amltest::kGerman);
    b.Obj("A19", kErmAttribute, "Attribut")
        .Obj("E17", kEntity, "Kunde")
        .Obj("K17", kEntity, "Konto")
        .Obj("R11", kRelation, "hat")
        .Obj("N17", kEntity, "Nie platziert");
    b.Model("M2", kEpc, "Daten eins", {"A19", "E17"}).Model("M3", kEpc, "Daten zwei", {"K17", "E17", "R11"});
    AmlDatabase db(b);

    ARISModelCollection models;
    models.Add(db.Model("M2"), db.Model("M2")->Guid());
    models.Add(db.Model("M3"), db.Model("M3")->Guid());
    ARISObjDefCollection result;
    Find_ARIS_ObjDef_Using_Mapping_Rule(models, result, "DATA_OBJECT");
    std::vector<std::string> names;
    for (const aris::ObjDef* o : result) names.push_back(o->Name(1031));
    EXPECT_EQ(names, (Names{"Kunde", "Konto", "hat", "Attribut"}));
    EXPECT_EQ(result.KeyAt(1), db.Obj("E17")->Guid());

    ARISObjDefCollection none;
    EXPECT_TRUE(Find_ARIS_ObjDef_Using_Mapping_Rule(ARISModelCollection{}, none, "DATA_OBJECT").Empty());
    EXPECT_EQ(CatchError([&] { Find_ARIS_ObjDef_Using_Mapping_Rule(ARISModelCollection{}, none, "NOPE"); }).Number(),
              2100);
    ARISObjDefCollection functions;
    EXPECT_TRUE(Find_ARIS_ObjDef_Using_Mapping_Rule(models, functions, "ACTIVITY").Empty());
    modMappingRule::ResetMappingRules();
}

TEST(PersonNames, AttributeUserIdNameOrNothing) {
    testenv::Sandbox box("DEU");
    CurrentExport().LocaleId = 1031;
    CurrentExport().Options.ConvertNames = true;
    modMappingRule::ResetMappingRules();
    CreateDefaultMappingRules();
    AmlBuilder b(amltest::kGerman);
    b.Obj("P1", kPerson, "Doe, John", {{509, "jdoe@corp.example"}})
        .Obj("P2", kPerson, "Jürgen Müller")
        .Obj("P3", kPerson, "");
    b.Model("M4", 15, "Organigramm", {"P1", "P2", "P3"});
    AmlDatabase db(b);
    EXPECT_EQ(modUtilities::ConvertARISPersonName(db.Obj("P1")), "JDOE");
    EXPECT_EQ(modUtilities::ConvertARISPersonName(db.Obj("P2")), "JÜRGEN_MÜLLER");
    EXPECT_EQ(modUtilities::ConvertARISPersonName(db.Obj("P3")), "");

    // A profile rule reading the name: no "@" cut.
    modMappingRule::ResetMappingRules();
    auto rule = std::make_unique<clsMappingRule>();
    rule->Name = "PERSON_PersonName";
    rule->SetAttributeMapping("-1");
    AddMappingRule(std::move(rule));
    EXPECT_EQ(modUtilities::ConvertARISPersonName(db.Obj("P1")), "DOE,_JOHN");
    modMappingRule::ResetMappingRules();
    EXPECT_EQ(CatchError([&] { modUtilities::ConvertARISPersonName(db.Obj("P1")); }).Number(), 2100);
}
