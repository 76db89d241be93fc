#include "staff/clsPERSON.h"

#include "constructs/ConstructText.h"
#include "staff/modStaffProperty.h"

using namespace modStaffProperty;

void clsPERSON::SetupPropertiesInOrder() {
    SetupProperty_PersonName();
    SetupProperty_FIRST_NAME();
    SetupProperty_LAST_NAME();
    SetupProperty_PHONE();
    SetupProperty_SECOND_PHONE();
    SetupProperty_SUBSTITUTE();
    SetupProperty_RELATED_ROLE();
    SetupProperty_RELATED_ORGANIZATION();
    SetupProperty_DESCRIPTION();
    SetupProperty_OtherSettings();
}

void clsPERSON::SetupProperty_PersonName() {
    const ProcedureScope scope("clsPERSON.SetupProperty_PersonName");
    const std::string name = modStaffProperty::PersonName(ARISObjectDefinition);
    if (!name.empty()) PersonName = Quoted(name);
    WarnWhenNameless(PersonName);
}

void clsPERSON::SetupProperty_FIRST_NAME() {
    const ProcedureScope scope("clsPERSON.SetupProperty_FIRST_NAME");
    SetQuotedConvertedAttribute(FIRST_NAME, ARISObjectDefinition, "PERSON_FIRST_NAME", "5");
}

void clsPERSON::SetupProperty_LAST_NAME() {
    const ProcedureScope scope("clsPERSON.SetupProperty_LAST_NAME");
    SetQuotedConvertedAttribute(LAST_NAME, ARISObjectDefinition, "PERSON_LAST_NAME", "5");
}

void clsPERSON::SetupProperty_PHONE() {
    const ProcedureScope scope("clsPERSON.SetupProperty_PHONE");
    SetQuotedConvertedAttribute(PHONE, ARISObjectDefinition, "PERSON_PHONE", "5");
}

void clsPERSON::SetupProperty_SECOND_PHONE() {
    const ProcedureScope scope("clsPERSON.SetupProperty_SECOND_PHONE");
    SetQuotedConvertedAttribute(SECOND_PHONE, ARISObjectDefinition, "PERSON_SECOND_PHONE", "5");
}

void clsPERSON::SetupProperty_DESCRIPTION() {
    const ProcedureScope scope("clsPERSON.SetupProperty_DESCRIPTION");
    if (!CurrentExport().Options.UseDescriptionAttr) return;
    SetQuotedConvertedAttribute(DESCRIPTION, ARISObjectDefinition, "PERSON_DESCRIPTION", "2");
}

void clsPERSON::SetupProperty_SUBSTITUTE() {
    const ProcedureScope scope("clsPERSON.SetupProperty_SUBSTITUTE");
    SetupSingleValuedReference(SUBSTITUTE, ARISObjectDefinition, PersonReference("PERSON_SUBSTITUTE"), "SUBSTITUTE",
                               kKindName);
}

void clsPERSON::SetupProperty_RELATED_ROLE() {
    const ProcedureScope scope("clsPERSON.SetupProperty_RELATED_ROLE");
    SetupMultiValuedReference(RELATED_ROLE, ARISObjectDefinition, RoleReference("PERSON_RELATED_ROLE", ItemName));
}

void clsPERSON::SetupProperty_RELATED_ORGANIZATION() {
    const ProcedureScope scope("clsPERSON.SetupProperty_RELATED_ORGANIZATION");
    SetupSingleValuedReference(RELATED_ORGANIZATION, ARISObjectDefinition,
                               OrganizationReference("PERSON_RELATED_ORGANIZATION", ItemName), "RELATED_ORGANIZATION",
                               kKindName);
}

void clsPERSON::SetupProperty_OtherSettings() {
    const ProcedureScope scope("clsPERSON.SetupProperty_OtherSettings");
    SetOtherSettingsProperty(OtherSettings, ARISObjectDefinition, "PERSON_OTHER_SETTINGS");
}
