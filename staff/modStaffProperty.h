#pragma once
// Properties shared by the staff constructs (PERSON, ROLE, ORGANIZATION) and the staff
// assignment of activities: quoted texts that are set only when their converted text is not
// empty, and references to other staff constructs, single-valued (the first related object,
// the others reported) and multi-valued (every related object, blank-separated).
#include <string>

#include "aris/Automation.h"

namespace modStaffProperty {

/// How the name of a referenced object definition is computed ("" when it has none).
using ReferenceName = std::string (*)(const aris::ObjDef*);
/// Makes sure the construct of a referenced object definition exists (error 2120 when the
/// object definition does not conform to the construct's rule).
using EnsureConstruct = void (*)(const aris::ObjDef*);

/// A reference from one construct to other staff constructs: the relation rule that finds the
/// related object definitions, their name and the construct each one is pulled in as.
struct StaffReference {
    const char* relationRule;
    ReferenceName name;
    EnsureConstruct ensure;
};

/// A person's WPX name (ConvertARISPersonName).
std::string PersonName(const aris::ObjDef* person);
/// The item's name in the ARIS language under convention "6".
std::string ItemName(const aris::ObjDef* objDef);
/// The attribute of rule "ROLE_ObjectName" under convention "6".
std::string RoleName(const aris::ObjDef* role);
/// The attribute of rule "ORGANIZATION_ObjectName" under convention "6".
std::string OrganizationName(const aris::ObjDef* organization);

/// PERSON_Add_ARIS_Mapping, ROLE_Add_ARIS_Mapping and ORGANIZATION_Add_ARIS_Mapping.
void EnsurePerson(const aris::ObjDef* person);
void EnsureRole(const aris::ObjDef* role);
void EnsureOrganization(const aris::ObjDef* organization);

/// The references of the built-in relations: by the rule, the name and the construct kind.
inline StaffReference PersonReference(const char* relationRule) { return {relationRule, PersonName, EnsurePerson}; }
inline StaffReference RoleReference(const char* relationRule, ReferenceName name) {
    return {relationRule, name, EnsureRole};
}
inline StaffReference OrganizationReference(const char* relationRule, ReferenceName name) {
    return {relationRule, name, EnsureOrganization};
}

/// The first object definition related to `owner` by the reference's rule: when its name is
/// not empty, `target` = the quoted name and its construct is ensured. More than one related:
/// warning 3000 with the WPX keyword and the owner's kind, then message 3030 for each further
/// one, which is not exported through this property. Nothing related leaves `target` as it was.
void SetupSingleValuedReference(std::string& target, const aris::ObjDef* owner, const StaffReference& reference,
                                const char* keyword, const char* ownerKind);

/// Every object definition related to `owner` by the reference's rule, in order: each one
/// whose name is not empty is appended to `target` as a blank and its quoted name, and its
/// construct is ensured; leading blanks are removed at the end.
void SetupMultiValuedReference(std::string& target, const aris::ObjDef* owner, const StaffReference& reference);

/// Warning 2050 (invalid object name) for a construct whose name property stayed empty: its
/// block is still written, but the user learns that the definition file names it with nothing.
void WarnWhenNameless(const std::string& nameProperty);

}  // namespace modStaffProperty
