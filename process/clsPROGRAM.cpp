#include "process/clsPROGRAM.h"

#include "constructs/ConstructText.h"
#include "data/modContainer.h"

namespace {

// The container chosen from the data objects related to the program by the rule.
const clsDATA_STRUCTURE* ContainerOfRelatedData(const aris::ObjDef* program, const char* ruleName) {
    return ChooseContainer(modMappingRule::Related_ARIS_ObjDefs_Using_Mapping_Rule(program, ruleName));
}

}  // namespace

void clsPROGRAM::SetupPropertiesInOrder() {
    SetupProperty_ObjectName();
    SetupProperty_ProgramSetting();
    SetupProperty_OtherSettings();
    SetupProperty_InputContainer();
    SetupProperty_OutputContainer();
}

void clsPROGRAM::SetupProperty_ObjectName() {
    const ProcedureScope scope("clsPROGRAM.SetupProperty_ObjectName");
    SetQuotedAttributeProperty(ObjectName, ARISObjectDefinition, "PROGRAM_ObjectName", "6");
}

void clsPROGRAM::SetupProperty_ProgramSetting() {
    const ProcedureScope scope("clsPROGRAM.SetupProperty_ProgramSetting");
    SetupProperty_DESCRIPTION();
    SetupProperty_DOCUMENTATION();
}

void clsPROGRAM::SetupProperty_DESCRIPTION() {
    const ProcedureScope scope("clsPROGRAM.SetupProperty_DESCRIPTION");
    if (!CurrentExport().Options.UseDescriptionAttr) return;
    SetQuotedAttributeProperty(DESCRIPTION, ARISObjectDefinition, "PROGRAM_DESCRIPTION", "2");
}

void clsPROGRAM::SetupProperty_DOCUMENTATION() {
    const ProcedureScope scope("clsPROGRAM.SetupProperty_DOCUMENTATION");
    if (!CurrentExport().Options.UseDocumentationAttr) return;
    SetQuotedAttributeProperty(DOCUMENTATION, ARISObjectDefinition, "PROGRAM_DOCUMENTATION", "3");
}

void clsPROGRAM::SetupProperty_InputContainer() {
    const ProcedureScope scope("clsPROGRAM.SetupProperty_InputContainer");
    Containers.SetInputContainer(ContainerOfRelatedData(ARISObjectDefinition, "PROGRAM_RECEIVES_DATA"));
}

void clsPROGRAM::SetupProperty_OutputContainer() {
    const ProcedureScope scope("clsPROGRAM.SetupProperty_OutputContainer");
    Containers.SetOutputContainer(ContainerOfRelatedData(ARISObjectDefinition, "PROGRAM_SENDS_DATA"));
}

void clsPROGRAM::SetupProperty_OtherSettings() {
    const ProcedureScope scope("clsPROGRAM.SetupProperty_OtherSettings");
    SetOtherSettingsProperty(OtherSettings, ARISObjectDefinition, "PROGRAM_OTHER_SETTINGS");
}
