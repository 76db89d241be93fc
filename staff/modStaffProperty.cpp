#include "staff/modStaffProperty.h"

#include "constructs/ConstructLifecycle.h"
#include "constructs/ConstructText.h"
#include "mapping/ConvertARISPersonName.h"
#include "mapping/modMappingRule.h"
#include "runtime/clsExceptionHandler.h"
#include "runtime/modGlobals.h"
#include "staff/modORGANIZATION.h"
#include "staff/modPERSON.h"
#include "staff/modROLE.h"

// The helpers below record no procedure name of their own: a warning or error raised while
// they run is reported for the SetupProperty_ operation that called them.

namespace modStaffProperty {

namespace {

// The converted text under a convention; "" after warning 2040 or 2050, so an object whose
// name cannot be converted counts as nameless for this property.
std::string ConvertedOrEmpty(const std::string& text, const char* convention) {
    return modMappingRule::ConvertARISNameOrWarn(text, convention).value_or("");
}

}  // namespace

std::string PersonName(const aris::ObjDef* person) { return modUtilities::ConvertARISPersonName(person); }

std::string ItemName(const aris::ObjDef* objDef) {
    return ConvertedOrEmpty(objDef ? objDef->Name(CurrentExport().LocaleId) : std::string(), "6");
}

std::string RoleName(const aris::ObjDef* role) {
    return ConvertedOrEmpty(modMappingRule::Find_ARIS_ObjDef_Attribute_Using_Mapping_Rule(role, "ROLE_ObjectName"),
                            "6");
}

std::string OrganizationName(const aris::ObjDef* organization) {
    return ConvertedOrEmpty(
        modMappingRule::Find_ARIS_ObjDef_Attribute_Using_Mapping_Rule(organization, "ORGANIZATION_ObjectName"), "6");
}

void EnsurePerson(const aris::ObjDef* person) { PERSON_Add_ARIS_Mapping(person); }
void EnsureRole(const aris::ObjDef* role) { ROLE_Add_ARIS_Mapping(role); }
void EnsureOrganization(const aris::ObjDef* organization) { ORGANIZATION_Add_ARIS_Mapping(organization); }

void SetupSingleValuedReference(std::string& target, const aris::ObjDef* owner, const StaffReference& reference,
                                const char* keyword, const char* ownerKind) {
    ARISObjDefCollection related =
        modMappingRule::Related_ARIS_ObjDefs_Using_Mapping_Rule(owner, reference.relationRule);
    if (related.Empty()) return;
    const aris::ObjDef* first = related.Item(1);
    const std::string name = reference.name(first);
    if (!name.empty()) {
        target = Quoted(name);
        reference.ensure(first);
    }
    if (related.Count() == 1) return;
    LogMessage(kSeverityWarning, 3000, keyword, ownerKind);
    for (std::size_t position = 2; position <= related.Count(); ++position) {
        const aris::ObjDef* ignored = related.Item(position);
        LogMessage(kSeverityInfo, 3030, ignored->Name(CurrentExport().LocaleId),
                   ignored->TypeName(CurrentExport().LocaleId));
    }
}

void SetupMultiValuedReference(std::string& target, const aris::ObjDef* owner, const StaffReference& reference) {
    for (const aris::ObjDef* objDef :
         modMappingRule::Related_ARIS_ObjDefs_Using_Mapping_Rule(owner, reference.relationRule)) {
        const std::string name = reference.name(objDef);
        if (name.empty()) continue;
        target += " " + Quoted(name);
        reference.ensure(objDef);
    }
    target.erase(0, target.find_first_not_of(' '));
}

void WarnWhenNameless(const std::string& nameProperty) {
    if (nameProperty.empty()) RaiseWarning(2050);
}

}  // namespace modStaffProperty
