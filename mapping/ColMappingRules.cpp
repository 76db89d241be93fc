#include "mapping/ColMappingRules.h"

#include "runtime/clsExceptionHandler.h"
#include "runtime/modGlobals.h"
#include "mapping/modMappingRule.h"

namespace modMappingRule {

namespace {
constexpr const char* kRetrieveRule = "Retrieve rule";
constexpr const char* kAddMappingRule = "Add mapping rule";
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
    CurrentExport().CurrentStep = kRetrieveRule;
    try {
        const clsMappingRule& rule = *ColMappingRules().Item(ruleName);
        CurrentExport().CurrentStep.clear();
        return rule;
    } catch (const platform::Error& e) {
        if (e.Number() != platform::kErrInvalidCall || CurrentExport().CurrentStep != kRetrieveRule) throw;
        CurrentExport().CurrentStep = kFailed;
        RaiseError(2100, ruleName);
    }
}

bool AddMappingRule(std::unique_ptr<clsMappingRule> rule) {
    std::string name = rule->Name;
    CurrentExport().CurrentStep = kAddMappingRule;
    try {
        ColMappingRules().Add(std::move(rule), name);
    } catch (const platform::Error& e) {
        if (e.Number() != platform::kErrDuplicateKey || CurrentExport().CurrentStep != kAddMappingRule) throw;
        CurrentExport().CurrentStep.clear();
        RaiseWarning(2110, name);
        return false;
    }
    CurrentExport().CurrentStep.clear();
    return true;
}

}  // namespace modMappingRule
