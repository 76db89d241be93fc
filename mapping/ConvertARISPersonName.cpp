#include "mapping/ConvertARISPersonName.h"

#include "runtime/modGlobals.h"
#include "mapping/modMappingRule.h"

namespace modUtilities {

namespace {
constexpr const char* kPersonNameRule = "PERSON_PersonName";
constexpr const char* kPersonNameConvention = "7";
}  // namespace

std::string ConvertARISPersonName(const aris::ObjDef* person) {
    ProcedureScope scope("modUtilities.ConvertARISPersonName");
    if (!person) return "";
    std::string text = modMappingRule::Find_ARIS_ObjDef_Attribute_Using_Mapping_Rule(person, kPersonNameRule);
    if (!text.empty()) return modMappingRule::ConvertARISName(text, kPersonNameConvention, kPersonNameRule);
    std::string name = person->Name(CurrentExport().LocaleId);
    if (name.empty()) return "";
    return modMappingRule::ConvertARISName(name, kPersonNameConvention, "");
}

}  // namespace modUtilities
