#include "staff/clsORGANIZATION.h"

#include "constructs/ConstructText.h"
#include "staff/modStaffProperty.h"

using namespace modStaffProperty;

void clsORGANIZATION::SetupPropertiesInOrder() {
    SetupProperty_ObjectName();
    SetupProperty_DESCRIPTION();
    SetupProperty_MANAGER();
    SetupProperty_PARENT_ORGANIZATION();
    SetupProperty_RELATED_PERSON();
}

void clsORGANIZATION::SetupProperty_ObjectName() {
    const ProcedureScope scope("clsORGANIZATION.SetupProperty_ObjectName");
    SetQuotedAttributeProperty(ObjectName, ARISObjectDefinition, "ORGANIZATION_ObjectName", "6");
    WarnWhenNameless(ObjectName);
}

void clsORGANIZATION::SetupProperty_DESCRIPTION() {
    const ProcedureScope scope("clsORGANIZATION.SetupProperty_DESCRIPTION");
    if (!CurrentExport().Options.UseDescriptionAttr) return;
    SetQuotedConvertedAttribute(DESCRIPTION, ARISObjectDefinition, "ORGANIZATION_DESCRIPTION", "2");
}

void clsORGANIZATION::SetupProperty_MANAGER() {
    const ProcedureScope scope("clsORGANIZATION.SetupProperty_MANAGER");
    SetupSingleValuedReference(MANAGER, ARISObjectDefinition, PersonReference("ORGANIZATION_MANAGER"), "MANAGER",
                               kKindName);
}

void clsORGANIZATION::SetupProperty_PARENT_ORGANIZATION() {
    const ProcedureScope scope("clsORGANIZATION.SetupProperty_PARENT_ORGANIZATION");
    SetupSingleValuedReference(PARENT_ORGANIZATION, ARISObjectDefinition,
                               OrganizationReference("ORGANIZATION_PARENT_ORGANIZATION", OrganizationName),
                               "PARENT_ORGANIZATION", kKindName);
}

void clsORGANIZATION::SetupProperty_RELATED_PERSON() {
    const ProcedureScope scope("clsORGANIZATION.SetupProperty_RELATED_PERSON");
    SetupMultiValuedReference(RELATED_PERSON, ARISObjectDefinition, PersonReference("ORGANIZATION_RELATED_PERSON"));
}
