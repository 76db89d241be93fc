#include "data/clsDATA_MEMBER.h"

#include "constructs/ConstructText.h"
#include "data/clsDATA_STRUCTURE.h"
#include "data/modDATA_STRUCTURE.h"
#include "platform/Text.h"

namespace {

constexpr const char* kTypeAttributeRule = "DATA_MEMBER_TYPE";
constexpr const char* kDomainTypeRule = "DOMAINTYPE_DOM_TYPE";

}  // namespace

void clsDATA_MEMBER::SetupProperties() {
    const ProcedureScope scope("clsDATA_MEMBER.SetupProperties");
    if (SetupFinished) return;
    SetupProperty_MemberName();
    SetupProperty_DataType();
    SetupProperty_SizeOfArray();
    SetupProperty_MemberSetting();
    SetupFinished = true;
}

void clsDATA_MEMBER::SetupProperty_MemberName() {
    const ProcedureScope scope("clsDATA_MEMBER.SetupProperty_MemberName");
    SetQuotedAttributeProperty(MemberName, ARISObjectDefinition, "DATA_MEMBER_MemberName", "4");
}

void clsDATA_MEMBER::SetupProperty_DataType() {
    const ProcedureScope scope("clsDATA_MEMBER.SetupProperty_DataType");
    DataType = kDefaultDataType;
    if (DATA_STRUCTURE_Is_DATA_STRUCTURE(ARISObjectDefinition)) {
        // The member names the nested structure: with the built-in rules the member name and
        // the structure name are read from the same attribute.
        IsDataStructure = true;
        DataType = MemberName;
        return;
    }
    const char* first = CurrentExport().Options.DataTypeFromAttribute ? kTypeAttributeRule : kDomainTypeRule;
    const char* second = CurrentExport().Options.DataTypeFromAttribute ? kDomainTypeRule : kTypeAttributeRule;
    std::string typeText = GetProperty_DataType(first);
    if (typeText.empty()) typeText = GetProperty_DataType(second);
    if (typeText.empty()) return;
    if (auto converted = modMappingRule::ConvertARISNameOrWarn(typeText, "11")) DataType = *converted;
}

void clsDATA_MEMBER::SetupProperty_SizeOfArray() {
    const ProcedureScope scope("clsDATA_MEMBER.SetupProperty_SizeOfArray");
    if (!CurrentExport().Options.UseOtherSettings) return;
    const std::string size = modMappingRule::Find_ARIS_ObjDef_Attribute_Using_Mapping_Rule(ARISObjectDefinition,
                                                                                           "DATA_MEMBER_SIZE_OF_ARRAY");
    if (!size.empty() && platform::IsNumeric(size)) SizeOfArray = "(" + size + ")";
}

void clsDATA_MEMBER::SetupProperty_MemberSetting() {
    const ProcedureScope scope("clsDATA_MEMBER.SetupProperty_MemberSetting");
    SetupProperty_DESCRIPTION();
    SetupProperty_DOCUMENTATION();
}

void clsDATA_MEMBER::SetupProperty_DESCRIPTION() {
    const ProcedureScope scope("clsDATA_MEMBER.SetupProperty_DESCRIPTION");
    if (!CurrentExport().Options.UseDescriptionAttr) return;
    SetQuotedConvertedAttribute(DESCRIPTION, ARISObjectDefinition, "DATA_MEMBER_DESCRIPTION", "2");
}

void clsDATA_MEMBER::SetupProperty_DOCUMENTATION() {
    const ProcedureScope scope("clsDATA_MEMBER.SetupProperty_DOCUMENTATION");
    if (!CurrentExport().Options.UseDocumentationAttr) return;
    SetQuotedConvertedAttribute(DOCUMENTATION, ARISObjectDefinition, "DATA_MEMBER_DOCUMENTATION", "3");
}

std::optional<std::string> clsDATA_MEMBER::MatchKey() const {
    if (!IsDataStructure) {
        if (!ARISObjectDefinition) return std::nullopt;
        return ARISObjectDefinition->Guid();
    }
    if (!DATA_STRUCTURE || DATA_STRUCTURE->IsGenerated || !DATA_STRUCTURE->ARISObjectDefinition) return std::nullopt;
    return DATA_STRUCTURE->ARISObjectDefinition->Guid();
}

std::string clsDATA_MEMBER::GetProperty_DataType(const std::string& ruleName) const {
    const ProcedureScope scope("clsDATA_MEMBER.GetProperty_DataType");
    if (ruleName == kTypeAttributeRule)
        return modMappingRule::Find_ARIS_ObjDef_Attribute_Using_Mapping_Rule(ARISObjectDefinition, kTypeAttributeRule);
    if (ruleName != kDomainTypeRule) return "";
    ARISObjDefCollection domainTypes;
    modMappingRule::Find_Related_ARIS_ObjDef_Using_Mapping_Rule(domainTypes, ARISObjectDefinition,
                                                                "DATA_MEMBER_HAS_DOMAINTYPE");
    if (domainTypes.Empty()) return "";
    std::string typeText =
        modMappingRule::Find_ARIS_ObjDef_Attribute_Using_Mapping_Rule(domainTypes.Item(1), kDomainTypeRule);
    if (domainTypes.Count() > 1) {
        LogMessage(kSeverityWarning, 3000, "DOMAINTYPE", kKindName);
        for (std::size_t position = 2; position <= domainTypes.Count(); ++position) {
            const aris::ObjDef* ignored = domainTypes.Item(position);
            LogMessage(kSeverityInfo, 3030, ignored->Name(CurrentExport().LocaleId),
                       ignored->TypeName(CurrentExport().LocaleId));
        }
    }
    return typeText;
}
