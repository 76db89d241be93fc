#include "staff/clsROLE.h"

#include "constructs/ConstructText.h"
#include "staff/modStaffProperty.h"

using namespace modStaffProperty;

void clsROLE::SetupPropertiesInOrder() {
    SetupProperty_ObjectName();
    SetupProperty_DESCRIPTION();
    SetupProperty_COORDINATOR();
    SetupProperty_RELATED_PERSON();
}

void clsROLE::SetupProperty_ObjectName() {
    const ProcedureScope scope("clsROLE.SetupProperty_ObjectName");
    SetQuotedAttributeProperty(ObjectName, ARISObjectDefinition, "ROLE_ObjectName", "6");
    WarnWhenNameless(ObjectName);
}

void clsROLE::SetupProperty_DESCRIPTION() {
    const ProcedureScope scope("clsROLE.SetupProperty_DESCRIPTION");
    if (!CurrentExport().Options.UseDescriptionAttr) return;
    SetQuotedConvertedAttribute(DESCRIPTION, ARISObjectDefinition, "ROLE_DESCRIPTION", "2");
}

void clsROLE::SetupProperty_COORDINATOR() {
    const ProcedureScope scope("clsROLE.SetupProperty_COORDINATOR");
    SetupSingleValuedReference(COORDINATOR, ARISObjectDefinition, PersonReference("ROLE_COORDINATOR"), "COORDINATOR",
                               kKindName);
}

void clsROLE::SetupProperty_RELATED_PERSON() {
    const ProcedureScope scope("clsROLE.SetupProperty_RELATED_PERSON");
    SetupMultiValuedReference(RELATED_PERSON, ARISObjectDefinition, PersonReference("ROLE_RELATED_PERSON"));
}
