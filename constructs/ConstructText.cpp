#include "constructs/ConstructText.h"

#include "mapping/modMappingRule.h"
#include "runtime/modGlobals.h"

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

void SetQuotedProperty(std::string& target, const std::string& text, const char* convention) {
    if (text.empty()) return;
    if (auto converted = modMappingRule::ConvertARISNameOrWarn(text, convention)) target = Quoted(*converted);
}

void SetQuotedRequiredName(std::string& target, const std::string& text, const char* convention) {
    if (auto converted = modMappingRule::ConvertARISNameOrWarn(text, convention)) target = Quoted(*converted);
}

void SetQuotedConvertedProperty(std::string& target, const std::string& text, const char* convention) {
    if (text.empty()) return;
    auto converted = modMappingRule::ConvertARISNameOrWarn(text, convention);
    if (converted && !converted->empty()) target = Quoted(*converted);
}

void SetQuotedConvertedAttribute(std::string& target, const aris::Item* item, const char* ruleName,
                                 const char* convention) {
    SetQuotedConvertedProperty(target, modMappingRule::Find_ARIS_ObjDef_Attribute_Using_Mapping_Rule(item, ruleName),
                               convention);
}

void SetQuotedAttributeProperty(std::string& target, const aris::Item* item, const char* ruleName,
                                const char* convention) {
    SetQuotedProperty(target, modMappingRule::Find_ARIS_ObjDef_Attribute_Using_Mapping_Rule(item, ruleName),
                      convention);
}

void SetOtherSettingsProperty(std::string& target, const aris::Item* item, const char* ruleName) {
    if (!CurrentExport().Options.UseOtherSettings) return;
    const std::string text = modMappingRule::Find_ARIS_ObjDef_Attribute_Using_Mapping_Rule(item, ruleName);
    if (!text.empty()) target = text;
}
