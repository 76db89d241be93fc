// The rules of a registry written in the profile language, so that a user can start a profile
// of their own from the built-in rules.
#include <string>

#include "mapping/modMappingRule.h"

namespace modMappingRule {

namespace {

std::string Number(std::int32_t n) { return std::to_string(n); }

}  // namespace

std::string MappingRulesAsProfile(const MappingRuleCollection& rules) {
    std::string text;
    for (const std::unique_ptr<clsMappingRule>& rule : rules) {
        if (!text.empty()) text += "\n";
        if (!rule->ColObjectMapping.Empty()) {
            text += "OBJECT_MAPPING " + rule->Name + "\n";
            for (const clsObjectMapping& mapping : rule->ColObjectMapping)
                text += "    OBJECT_TYPE = " + Number(mapping.ObjTypeNum) + "\n";
        } else if (!rule->ColConnectionMapping.Empty()) {
            text += "CONNECTION_MAPPING " + rule->Name + "\n";
            for (const clsConnectionMapping& step : rule->ColConnectionMapping) {
                text += "    SOURCE_OBJECT_TYPE = " + Number(step.SourceObjTypeNum) +
                        " TARGET_OBJECT_TYPE = " + Number(step.TargetObjTypeNum) +
                        " CONNECTION_KIND = " + Number(step.CnxKind) + " CONNECTION_TYPE = " + Number(step.CnxTypeNum);
                if (step.IsChainedConnection()) text += " TARGET_OBJECT_RULE = " + step.TargetObjRule;
                text += "\n";
            }
        } else {
            text += "ATTRIBUTE_MAPPING " + rule->Name + "\n";
            text += "    ATTRIBUTE_TYPE = " + rule->AttributeMapping() + "\n";
        }
        // The last word of a profile needs a line break after it to be read.
        text += "END\n";
    }
    return text;
}

}  // namespace modMappingRule
