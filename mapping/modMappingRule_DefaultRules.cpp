// The built-in rule set: which ARIS items make which WPX construct when no mapping profile
// supplies the rules. Numbers are ARIS's own type numbers and go to ARIS unchanged.
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "mapping/modMappingRule.h"
#include "runtime/modGlobals.h"

namespace modMappingRule {

namespace {

constexpr std::int32_t In = aris::kCxnIncoming;
constexpr std::int32_t Out = aris::kCxnOutgoing;
constexpr std::int32_t kObjectName = -1;

struct DefaultStep {
    std::int32_t source;
    std::int32_t kind;
    std::int32_t cxnType;
    std::int32_t target;
    const char* chainedRule = "";
};

// One built-in rule: object types, an attribute type, or steps (whichever the rule has).
struct DefaultRule {
    const char* name;
    std::vector<std::int32_t> objectTypes;
    std::optional<std::int32_t> attributeType;
    std::vector<DefaultStep> steps;
};

DefaultRule ObjectRule(const char* name, std::vector<std::int32_t> types) { return {name, std::move(types), {}, {}}; }
DefaultRule AttributeRule(const char* name, std::int32_t type) { return {name, {}, type, {}}; }
DefaultRule RelationRule(const char* name, std::vector<DefaultStep> steps) { return {name, {}, {}, std::move(steps)}; }

// The program's data steps, shared by "PROGRAM_RECEIVES_DATA" and "PROGRAM_SENDS_DATA".
const std::vector<DefaultStep> kProgramDataSteps = {
    {6, In, 317, 17},   {6, In, 317, 11},   {6, Out, 125, 17},  {6, Out, 125, 11},  {6, Out, 125, 19},
    {6, Out, 125, 14},  {37, Out, 125, 17}, {37, Out, 125, 11}, {37, Out, 125, 19}, {37, Out, 125, 14},
    {105, Out, 60, 17}, {105, Out, 60, 11}, {105, Out, 60, 19}, {105, Out, 60, 14},
};

// The 85 rules in registration order.
const std::vector<DefaultRule>& DefaultRules() {
    const static std::vector<DefaultRule> rules = {
        ObjectRule("ACTIVITY", {22}),                                                                 // 1
        ObjectRule("CONTROL_OBJECT", {18}),                                                           // 2
        ObjectRule("DATA_OBJECT", {17, 11, 19, 14, 111, 26}),                                         // 3
        ObjectRule("ORGANIZATION", {43}),                                                             // 4
        ObjectRule("PERSON", {46}),                                                                   // 5
        ObjectRule("PROGRAM", {6, 105, 37}),                                                          // 6
        ObjectRule("PROCESS", {13, 50, 134, 154, 140, 14, 103, 100, 138, 18, 51, 124, 12}),           // 7
        ObjectRule("ROLE", {78}),                                                                     // 8
        AttributeRule("ACTIVITY_ActivityName", kObjectName),                                          // 9
        AttributeRule("ACTIVITY_DESCRIPTION", 9),                                                     // 10
        AttributeRule("ACTIVITY_DOCUMENTATION", 8),                                                   // 11
        RelationRule("ACTIVITY_PROGRAM", {{22, In, 221, 6}, {22, In, 147, 105}, {22, In, 221, 37}}),  // 12
        RelationRule("ACTIVITY_PERSON", {{22, In, 65, 46}, {22, In, 10, 46}}),                        // 13
        RelationRule("ACTIVITY_MEMBER_OF_ROLE", {{22, In, 218, 78}, {22, In, 220, 78}}),              // 14
        RelationRule("ACTIVITY_ORGANIZATION", {{22, In, 65, 43}, {22, In, 10, 43}}),                  // 15
        AttributeRule("ACTIVITY_START_CONDITION", 985),                                               // 16
        AttributeRule("ACTIVITY_EXIT_CONDITION", 986),                                                // 17
        AttributeRule("ACTIVITY_START_MODE", 1207),                                                   // 18
        AttributeRule("ACTIVITY_EXIT_MODE", 1208),                                                    // 19
        AttributeRule("ACTIVITY_OTHER_SETTINGS", 1209),                                               // 20
        AttributeRule("CONTROL_CONNECTOR_DESCRIPTION", 9),                                            // 21
        AttributeRule("CONTROL_CONNECTOR_CONDITION", 985),                                            // 22
        AttributeRule("DATA_CONNECTOR_DESCRIPTION", 9),                                               // 23
        AttributeRule("DATA_MEMBER_MemberName", kObjectName),                                         // 24
        AttributeRule("DATA_MEMBER_DESCRIPTION", 9),                                                  // 25
        AttributeRule("DATA_MEMBER_DOCUMENTATION", 8),                                                // 26
        AttributeRule("DATA_MEMBER_TYPE", 494),                                                       // 27
        AttributeRule("DATA_MEMBER_SIZE_OF_ARRAY", 985),                                              // 28
        RelationRule("DATA_MEMBER_HAS_DOMAINTYPE",
                     {{19, Out, 121, 20}, {19, Out, 121, 185, "UNIT_NUM_HAS_DOMAINTYPE"}}),  // 29
        RelationRule("UNIT_NUM_HAS_DOMAINTYPE", {{185, Out, 121, 20}}),                      // 30
        AttributeRule("DOMAINTYPE_DOM_TYPE", 123),                                           // 31
        AttributeRule("DATA_STRUCTURE_ObjectName", kObjectName),                             // 32
        AttributeRule("DATA_STRUCTURE_DESCRIPTION", 9),                                      // 33
        AttributeRule("DATA_STRUCTURE_DOCUMENTATION", 8),                                    // 34
        RelationRule("DATA_STRUCTURE_MEMBER", {{17, In, 78, 19},
                                               {17, In, 80, 19},
                                               {17, In, 79, 19},
                                               {11, In, 78, 19},
                                               {11, In, 80, 19},
                                               {11, In, 79, 19},
                                               {111, In, 269, 19},
                                               {17, In, 270, 111},
                                               {11, In, 270, 111},
                                               {14, Out, 85, 17},
                                               {14, Out, 85, 111},
                                               {14, Out, 85, 14}}),  // 35
        AttributeRule("EVENT_COMPARE_OPERATOR", 497),                // 36
        AttributeRule("EVENT_COMPARE_VALUE", 498),                   // 37
        AttributeRule("ORGANIZATION_ObjectName", kObjectName),       // 38
        AttributeRule("ORGANIZATION_DESCRIPTION", 9),                // 39
        RelationRule("ORGANIZATION_MANAGER", {{43, In, 395, 46},
                                              {43, In, 9, 45, "POSITION_IS_OCCUPIED_BY_PERSON"},
                                              {43, In, 8, 45, "POSITION_IS_OCCUPIED_BY_PERSON"}}),  // 40
        RelationRule("ORGANIZATION_PARENT_ORGANIZATION",
                     {{43, In, 9, 43}, {43, In, 8, 43}, {43, In, 211, 43}, {43, In, 3, 43}, {43, In, 7, 43}}),  // 41
        RelationRule("ORGANIZATION_RELATED_PERSON", {{43, In, 6, 46}}),                                         // 42
        AttributeRule("PERSON_PersonName", 509),                                                                // 43
        AttributeRule("PERSON_DESCRIPTION", 9),                                                                 // 44
        AttributeRule("PERSON_FIRST_NAME", 1243),                                                               // 45
        AttributeRule("PERSON_LAST_NAME", kObjectName),                                                         // 46
        AttributeRule("PERSON_PHONE", 245),                                                                     // 47
        AttributeRule("PERSON_SECOND_PHONE", 246),                                                              // 48
        RelationRule("PERSON_SUBSTITUTE", {{46, In, 318, 46}}),                                                 // 49
        RelationRule("PERSON_RELATED_ROLE", {{46, Out, 61, 78}}),                                               // 50
        RelationRule("PERSON_RELATED_ORGANIZATION", {{46, Out, 6, 43}}),                                        // 51
        AttributeRule("PERSON_OTHER_SETTINGS", 985),                                                            // 52
        AttributeRule("PROCESS_ProcessName", kObjectName),                                                      // 53
        AttributeRule("PROCESS_DESCRIPTION", 9),                                                                // 54
        AttributeRule("PROCESS_DOCUMENTATION", 8),                                                              // 55
        AttributeRule("PROCESS_CATEGORY_ObjectName", kObjectName),                                              // 56
        AttributeRule("PROCESS_CATEGORY_DESCRIPTION", 9),                                                       // 57
        AttributeRule("PROCESS_CATEGORY_DOCUMENTATION", 8),                                                     // 58
        AttributeRule("PROCESS_OTHER_SETTINGS", 985),                                                           // 59
        AttributeRule("PROGRAM_ObjectName", kObjectName),                                                       // 60
        AttributeRule("PROGRAM_DESCRIPTION", 9),                                                                // 61
        AttributeRule("PROGRAM_DOCUMENTATION", 8),                                                              // 62
        AttributeRule("PROGRAM_OTHER_SETTINGS", 985),                                                           // 63
        AttributeRule("ROLE_ObjectName", kObjectName),                                                          // 64
        AttributeRule("ROLE_DESCRIPTION", 9),                                                                   // 65
        RelationRule("ROLE_RELATED_PERSON", {{78, In, 61, 46}}),                                                // 66
        RelationRule("ROLE_COORDINATOR", {{78, In, 395, 46}}),                                                  // 67
        RelationRule("ATTRIBUTETYPEGROUP_SENDS_DATA_TO_FUNCTION", {{111, Out, 49, 22}}),                        // 68
        RelationRule("CLUSTER_SENDS_DATA_TO_FUNCTION", {{14, Out, 49, 22}}),                                    // 69
        RelationRule("ENTITY_TYPE_SENDS_DATA_TO_FUNCTION", {{17, Out, 49, 22}}),                                // 70
        RelationRule("ERM_ATTRIBUTE_SENDS_DATA_TO_FUNCTION", {{19, Out, 49, 22}}),                              // 71
        RelationRule("EVENT_IS_COMPARED_WITH_DATA", {{18, In, 75, 19},
                                                     {18, In, 319, 19},
                                                     {18, In, 322, 19},
                                                     {18, In, 75, 17},
                                                     {18, In, 75, 11},
                                                     {18, In, 75, 14}}),        // 72
        RelationRule("EVENT_RECEIVES_CONTROL_FROM_RULE", {{18, In, 117, 50}}),  // 73
        RelationRule("EVENT_SENDS_CONTROL_TO_FUNCTION",
                     {{18, Out, 43, 22}, {18, Out, 48, 50, "RULE_SENDS_CONTROL_TO_FUNCTION"}}),  // 74
        RelationRule("FUNCTION_RECEIVES_CONTROL_FROM_RULE",
                     {{22, In, 43, 50}, {22, In, 43, 18, "EVENT_RECEIVES_CONTROL_FROM_RULE"}}),  // 75
        RelationRule("FUNCTION_RECEIVES_DATA", {{22, In, 49, 17},
                                                {22, In, 49, 11},
                                                {22, In, 49, 19},
                                                {22, In, 49, 14},
                                                {22, In, 49, 111},
                                                {22, In, 408, 26}}),  // 76
        RelationRule("FUNCTION_SENDS_CONTROL_TO_FUNCTION",
                     {{22, Out, 118, 22},
                      {22, Out, 44, 18, "EVENT_SENDS_CONTROL_TO_FUNCTION"},
                      {22, Out, 116, 50, "RULE_SENDS_CONTROL_TO_FUNCTION"}}),  // 77
        RelationRule("FUNCTION_SENDS_DATA", {{22, Out, 50, 17},
                                             {22, Out, 50, 11},
                                             {22, Out, 50, 19},
                                             {22, Out, 50, 14},
                                             {22, Out, 50, 111},
                                             {22, Out, 407, 26}}),  // 78
        RelationRule("FUNCTION_SENDS_DATA_TO_FUNCTION",
                     {{22, Out, 50, 17, "ENTITY_TYPE_SENDS_DATA_TO_FUNCTION"},
                      {22, Out, 50, 11, "RELATION_TYPE_SENDS_DATA_TO_FUNCTION"},
                      {22, Out, 50, 19, "ERM_ATTRIBUTE_SENDS_DATA_TO_FUNCTION"},
                      {22, Out, 50, 14, "CLUSTER_SENDS_DATA_TO_FUNCTION"},
                      {22, Out, 50, 111, "ATTRIBUTETYPEGROUP_SENDS_DATA_TO_FUNCTION"},
                      {22, Out, 407, 26, "INFO_FLOW_SENDS_DATA_TO_FUNCTION"}}),     // 79
        RelationRule("INFO_FLOW_SENDS_DATA_TO_FUNCTION", {{26, Out, 408, 22}}),     // 80
        RelationRule("POSITION_IS_OCCUPIED_BY_PERSON", {{45, In, 210, 46}}),        // 81
        RelationRule("PROGRAM_RECEIVES_DATA", kProgramDataSteps),                   // 82
        RelationRule("PROGRAM_SENDS_DATA", kProgramDataSteps),                      // 83
        RelationRule("RELATION_TYPE_SENDS_DATA_TO_FUNCTION", {{11, Out, 49, 22}}),  // 84
        RelationRule("RULE_SENDS_CONTROL_TO_FUNCTION", {{50, Out, 43, 22},
                                                        {50, Out, 117, 18, "EVENT_SENDS_CONTROL_TO_FUNCTION"},
                                                        {50, Out, 54, 50, "RULE_SENDS_CONTROL_TO_FUNCTION"}}),  // 85
    };
    return rules;
}

std::unique_ptr<clsMappingRule> BuildRule(const DefaultRule& row) {
    auto rule = std::make_unique<clsMappingRule>();
    rule->Name = row.name;
    for (const std::int32_t type : row.objectTypes) rule->ColObjectMapping.Add(clsObjectMapping(type));
    if (row.attributeType) rule->SetAttributeMappingNumber(*row.attributeType);
    for (const DefaultStep& s : row.steps) {
        clsConnectionMapping step;
        step.SourceObjTypeNum = s.source;
        step.TargetObjTypeNum = s.target;
        step.CnxKind = s.kind;
        step.CnxTypeNum = s.cxnType;
        step.TargetObjRule = s.chainedRule;
        rule->ColConnectionMapping.Add(std::move(step));
    }
    return rule;
}

}  // namespace

void CreateDefaultMappingRules() {
    const ProcedureScope scope("modMappingRule.CreateDefaultMappingRules");
    for (const DefaultRule& row : DefaultRules()) AddMappingRule(BuildRule(row));
}

}  // namespace modMappingRule
