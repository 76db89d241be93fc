#include <map>
#include <set>

#include "MappingTestSupport.h"
#include "runtime/modUtilities.h"

using namespace modMappingRule;
using mappingtest::CatchError;

namespace {

class MappingRules : public mappingtest::MappingTest {};

std::unique_ptr<clsMappingRule> ObjectRule(const std::string& name, std::int32_t type) {
    auto rule = std::make_unique<clsMappingRule>();
    rule->Name = name;
    rule->ColObjectMapping.Add(clsObjectMapping(type));
    return rule;
}

}  // namespace

TEST_F(MappingRules, BuiltInSetHasItsCountsAndEveryChainNamesABuiltInRule) {
    CreateDefaultMappingRules();
    ASSERT_EQ(ColMappingRules().Count(), 85u);
    std::size_t objectTypes = 0, attributeRules = 0, steps = 0, chained = 0;
    std::set<std::string> names;
    for (const auto& rule : ColMappingRules()) {
        names.insert(rule->Name);
        objectTypes += rule->ColObjectMapping.Count();
        if (rule->AttributeMappingNumber() != 0) ++attributeRules;
        steps += rule->ColConnectionMapping.Count();
        for (const clsConnectionMapping& step : rule->ColConnectionMapping) {
            if (!step.IsChainedConnection()) continue;
            ++chained;
            EXPECT_TRUE(ColMappingRules().Contains(step.TargetObjRule)) << rule->Name << " -> " << step.TargetObjRule;
        }
        // A rule is of exactly one kind.
        int kinds = (rule->ColObjectMapping.Count() > 0) + (rule->AttributeMappingNumber() != 0) +
                    (rule->ColConnectionMapping.Count() > 0);
        EXPECT_EQ(kinds, 1) << rule->Name;
    }
    EXPECT_EQ(names.size(), 85u);
    EXPECT_EQ(objectTypes, 27u);
    EXPECT_EQ(attributeRules, 44u);
    EXPECT_EQ(steps, 108u);
    EXPECT_EQ(chained, 15u);
    EXPECT_TRUE(box.boxes->texts.empty());
}

TEST_F(MappingRules, BuiltInRulesAreRegisteredInTheirOrderWithTheirSteps) {
    CreateDefaultMappingRules();
    // Positions of the table: 1, 9, 12, 43, 46, 85.
    EXPECT_EQ(ColMappingRules().Item(1)->Name, "ACTIVITY");
    EXPECT_EQ(ColMappingRules().Item(9)->Name, "ACTIVITY_ActivityName");
    EXPECT_EQ(ColMappingRules().Item(12)->Name, "ACTIVITY_PROGRAM");
    EXPECT_EQ(ColMappingRules().Item(43)->AttributeMapping(), "509");
    EXPECT_EQ(ColMappingRules().Item(46)->Name, "PERSON_LAST_NAME");
    EXPECT_EQ(ColMappingRules().Item(46)->AttributeMapping(), "-1");
    EXPECT_EQ(ColMappingRules().Item(85)->Name, "RULE_SENDS_CONTROL_TO_FUNCTION");

    const clsMappingRule& ring = *ColMappingRules().Item("RULE_SENDS_CONTROL_TO_FUNCTION");
    const clsConnectionMapping& self = ring.ColConnectionMapping.Item(3);
    EXPECT_EQ(self.SourceObjTypeNum, 50);
    EXPECT_EQ(self.CnxKind, 4);
    EXPECT_EQ(self.CnxTypeNum, 54);
    EXPECT_EQ(self.TargetObjTypeNum, 50);
    EXPECT_EQ(self.TargetObjRule, "RULE_SENDS_CONTROL_TO_FUNCTION");

    const clsMappingRule& process = *ColMappingRules().Item("PROCESS");
    ASSERT_EQ(process.ColObjectMapping.Count(), 13u);
    EXPECT_EQ(process.ColObjectMapping.Item(1).ObjTypeNum, 13);
    EXPECT_EQ(process.ColObjectMapping.Item(13).ObjTypeNum, 12);

    // The two program data rules carry the same fourteen steps.
    const auto& receives = ColMappingRules().Item("PROGRAM_RECEIVES_DATA")->ColConnectionMapping;
    const auto& sends = ColMappingRules().Item("PROGRAM_SENDS_DATA")->ColConnectionMapping;
    ASSERT_EQ(receives.Count(), 14u);
    ASSERT_EQ(sends.Count(), 14u);
    for (std::size_t i = 1; i <= 14; ++i) {
        EXPECT_EQ(receives.Item(i).SourceObjTypeNum, sends.Item(i).SourceObjTypeNum);
        EXPECT_EQ(receives.Item(i).CnxTypeNum, sends.Item(i).CnxTypeNum);
        EXPECT_EQ(receives.Item(i).TargetObjTypeNum, sends.Item(i).TargetObjTypeNum);
    }
    EXPECT_EQ(receives.Item(1).CnxKind, 2);
    EXPECT_EQ(receives.Item(14).CnxKind, 4);
}

TEST_F(MappingRules, ARuleRegisteredFirstStaysAndTheBuiltInOneGivesWarning2110) {
    ASSERT_TRUE(AddMappingRule(ObjectRule("activity", 999)));
    CreateDefaultMappingRules();
    EXPECT_EQ(ColMappingRules().Count(), 85u);
    ASSERT_EQ(box.boxes->texts.size(), 1u);
    EXPECT_EQ(box.boxes->texts[0],
              "Warnung KVB02110E  gemeldet von 'modMappingRule.CreateDefaultMappingRules'\r\nErklärung:\r\n"
              "Diese Abbildungsregel wurde bereits definiert: ACTIVITY");
    EXPECT_EQ(RetrieveMappingRule("Activity").ColObjectMapping.Item(1).ObjTypeNum, 999);
    EXPECT_EQ(ColMappingRules().Item(1)->Name, "activity");
    EXPECT_EQ(CurrentExport().CurrentStep, "");
}

TEST_F(MappingRules, AMissingRuleIsError2100AndAFoundOneClearsTheMarker) {
    AddMappingRule(ObjectRule("ACTIVITY", 22));
    CurrentExport().CurrentStep = "something";
    EXPECT_EQ(RetrieveMappingRule("Activity").Name, "ACTIVITY");
    EXPECT_EQ(CurrentExport().CurrentStep, "");

    platform::Error e = CatchError([] { RetrieveMappingRule("PERSON_PersonName"); });
    EXPECT_EQ(e.Number(), 2100);
    EXPECT_EQ(e.Description(), "Diese Abbildungsregel ist nicht definiert: PERSON_PersonName");
    EXPECT_EQ(CurrentExport().CurrentStep, "failed");

    // Every evaluation operation looks its rule up.
    ARISModelCollection models;
    ARISObjDefCollection result;
    EXPECT_EQ(CatchError([&] { Find_ARIS_ObjDef_Using_Mapping_Rule(models, result, "NOPE"); }).Number(), 2100);
    EXPECT_EQ(CatchError([&] { ConvertARISName("x", "7", "NOPE"); }).Number(), 2100);
    CurrentExport().Options.ConvertNames = false;
    EXPECT_EQ(CatchError([&] { ConvertARISName("x", "7", "NOPE"); }).Number(), 2100);
}

TEST(MappingRuleModel, AttributeMappingIsHeldAsAWholeNumber) {
    clsMappingRule rule;
    EXPECT_EQ(rule.AttributeMapping(), "0");
    EXPECT_TRUE(rule.ColObjectMapping.Empty());
    EXPECT_TRUE(rule.ColConnectionMapping.Empty());
    const std::vector<std::pair<std::string, std::string>> cases = {{"-1", "-1"}, {" 509 ", "509"}, {"2.5", "2"},
                                                                    {"3.5", "4"}, {"&H10", "16"},   {"1e3", "1000"}};
    for (const auto& [text, expected] : cases) {
        rule.SetAttributeMapping(text);
        EXPECT_EQ(rule.AttributeMapping(), expected) << text;
    }
    EXPECT_EQ(CatchError([&] { rule.SetAttributeMapping("name"); }).Number(), platform::kErrTypeMismatch);
    EXPECT_EQ(CatchError([&] { rule.SetAttributeMapping("3000000000"); }).Number(), platform::kErrOverflow);

    clsConnectionMapping step;
    EXPECT_FALSE(step.IsChainedConnection());
    step.TargetObjRule = "X";
    EXPECT_TRUE(step.IsChainedConnection());
}
