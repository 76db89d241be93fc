#include "mapping/ColMappingRules.h"

#include "runtime/clsExceptionHandler.h"
#include "runtime/modGlobals.h"
#include "mapping/modMappingRule.h"

namespace modMappingRule {

namespace {
const char* kRetrieveRule = "Retrieve rule";
const char* kAddMappingRule = "Add mapping rule";
const char* kFailed = "failed";
}  // namespace

void ResetMappingRules() {
    ColMappingRules.Clear();
    RelationNestingCounter = 0;
}

// No procedure scope of its own: a failure is reported for the operation that asked for the rule.
const clsMappingRule& RetrieveMappingRule(const std::string& ruleName) {
    modGlobals::CurrentStep = kRetrieveRule;
    try {
        const clsMappingRule& rule = *ColMappingRules.Item(ruleName);
        modGlobals::CurrentStep.clear();
        return rule;
    } catch (const platform::Error& e) {
        if (e.Number() != platform::kErrInvalidCall || modGlobals::CurrentStep != kRetrieveRule) throw;
        modGlobals::CurrentStep = kFailed;
        RaiseError(2100, ruleName);
    }
}

bool AddMappingRule(std::unique_ptr<clsMappingRule> rule) {
    std::string name = rule->Name;
    modGlobals::CurrentStep = kAddMappingRule;
    try {
        ColMappingRules.Add(std::move(rule), name);
    } catch (const platform::Error& e) {
        if (e.Number() != platform::kErrDuplicateKey || modGlobals::CurrentStep != kAddMappingRule) throw;
        modGlobals::CurrentStep.clear();
        RaiseWarning(2110, name);
        return false;
    }
    modGlobals::CurrentStep.clear();
    return true;
}

}  // namespace modMappingRule
