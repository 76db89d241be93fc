#include "mapping/ConvertARISPersonName.h"

#include "mapping/modMappingRule.h"
#include "runtime/modGlobals.h"

namespace modUtilities {

namespace {
constexpr const char* kPersonNameRule = "PERSON_PersonName";
}  // namespace

std::string ConvertARISPersonName(const aris::ObjDef* person) {
    const ProcedureScope scope("modUtilities.ConvertARISPersonName");
    if (!person) return "";
    const std::string text = modMappingRule::Find_ARIS_ObjDef_Attribute_Using_Mapping_Rule(person, kPersonNameRule);
    if (!text.empty())
        return modMappingRule::ConvertARISName(text, modMappingRule::NameConvention::kPersonName, kPersonNameRule);
    const std::string name = person->Name(CurrentExport().LocaleId);
    if (name.empty()) return "";
    return modMappingRule::ConvertARISName(name, modMappingRule::NameConvention::kPersonName, "");
}

}  // namespace modUtilities
