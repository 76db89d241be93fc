#include "mapping/ColMappingRules.h"

#include "mapping/modMappingRule.h"
#include "runtime/clsExceptionHandler.h"
#include "runtime/modGlobals.h"

namespace modMappingRule {

namespace {
constexpr const char* kFailed = "failed";
// The export's state of the rules: the registry and the nesting of relation searches.
struct RuleState {
    MappingRuleCollection rules;
    int relationNesting = 0;
};

}  // namespace

MappingRuleCollection& ColMappingRules() { return CurrentExport().Part<RuleState>().rules; }

int& RelationNestingCounter() { return CurrentExport().Part<RuleState>().relationNesting; }

void ResetMappingRules() {
    ColMappingRules().Clear();
    RelationNestingCounter() = 0;
}

// No procedure scope of its own: a failure is reported for the operation that asked for the rule.
const clsMappingRule& RetrieveMappingRule(const std::string& ruleName) {
    if (const std::unique_ptr<clsMappingRule>* rule = ColMappingRules().Find(ruleName)) {
        CurrentExport().CurrentStep.clear();
        return **rule;
    }
    CurrentExport().CurrentStep = kFailed;
    RaiseError(2100, ruleName);
}

bool AddMappingRule(std::unique_ptr<clsMappingRule> rule) {
    const std::string name = rule->Name;
    CurrentExport().CurrentStep.clear();
    if (ColMappingRules().Contains(name)) {
        RaiseWarning(2110, name);
        return false;
    }
    ColMappingRules().Add(std::move(rule), name);
    return true;
}

}  // namespace modMappingRule
