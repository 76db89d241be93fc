#include "constructs/clsPROCESS_CATEGORY.h"

#include "constructs/ConstructText.h"
#include "constructs/modPROCESS_CATEGORY.h"

namespace {

void SetQuotedGroupAttribute(std::string& target, const aris::Group* group, const char* ruleName,
                             const char* convention) {
    SetQuotedProperty(target, PROCESS_CATEGORY_Find_ARIS_Group_Attribute_Using_Mapping_Rule(group, ruleName),
                      convention);
}

}  // namespace

void clsPROCESS_CATEGORY::SetupPropertiesInOrder() {
    SetupProperty_ObjectName();
    SetupProperty_ProcessCategorySetting();
}

void clsPROCESS_CATEGORY::SetupProperty_ObjectName() {
    const ProcedureScope scope("clsPROCESS_CATEGORY.SetupProperty_ObjectName");
    // The name is converted even when the group has none: the user is told (warning 2050).
    SetQuotedRequiredName(
        ObjectName,
        PROCESS_CATEGORY_Find_ARIS_Group_Attribute_Using_Mapping_Rule(ARIS_Group, "PROCESS_CATEGORY_ObjectName"), "6");
}

void clsPROCESS_CATEGORY::SetupProperty_ProcessCategorySetting() {
    const ProcedureScope scope("clsPROCESS_CATEGORY.SetupProperty_ProcessCategorySetting");
    SetupProperty_DESCRIPTION();
    SetupProperty_DOCUMENTATION();
}

void clsPROCESS_CATEGORY::SetupProperty_DESCRIPTION() {
    const ProcedureScope scope("clsPROCESS_CATEGORY.SetupProperty_DESCRIPTION");
    if (!CurrentExport().Options.UseDescriptionAttr) return;
    SetQuotedGroupAttribute(DESCRIPTION, ARIS_Group, "PROCESS_CATEGORY_DESCRIPTION", "2");
}

void clsPROCESS_CATEGORY::SetupProperty_DOCUMENTATION() {
    const ProcedureScope scope("clsPROCESS_CATEGORY.SetupProperty_DOCUMENTATION");
    if (!CurrentExport().Options.UseDocumentationAttr) return;
    SetQuotedGroupAttribute(DOCUMENTATION, ARIS_Group, "PROCESS_CATEGORY_DOCUMENTATION", "3");
}
