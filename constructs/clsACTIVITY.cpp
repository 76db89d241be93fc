#include "constructs/clsACTIVITY.h"

#include "constructs/ConstructText.h"
#include "constructs/clsPROCESS.h"
#include "constructs/modPROCESS.h"

namespace {

constexpr const char* kStartConditionRule = "ACTIVITY_START_CONDITION";
constexpr const char* kExitConditionRule = "ACTIVITY_EXIT_CONDITION";

}  // namespace

void clsACTIVITY::SetupIndependentProperties(ARISModelCollection& nextModels) {
    ProcedureScope scope("clsACTIVITY.SetupIndependentProperties");
    if (SetupIndependentPropertiesFinished) return;
    SetupProperty_ActivityName();
    SetupProperty_ActivitySetting();
    if (!Is_PROCESS_ACTIVITY()) {
        SetupProperty_ProgramActivitySetting();
        LogSetupComplete("PROGRAM_ACTIVITY", ActivityName);
    } else {
        SetupProperty_ProcessActivitySetting(nextModels);
        LogSetupComplete("PROCESS_ACTIVITY", ActivityName);
    }
    SetupProperty_OtherSettings();
    SetupIndependentPropertiesFinished = true;
}

void clsACTIVITY::SetupDependentProperties(const clsPROCESS& process) {
    ProcedureScope scope("clsACTIVITY.SetupDependentProperties");
    if (!SetupIndependentPropertiesFinished || SetupDependentPropertiesFinished) return;
    SetupProperty_ActivityExtensionSetting(process);
    SetupDependentPropertiesFinished = true;
}

void clsACTIVITY::SetupProperty_ActivityName() {
    ProcedureScope scope("clsACTIVITY.SetupProperty_ActivityName");
    SetQuotedAttributeProperty(ActivityName, ARISObjectDefinition, "ACTIVITY_ActivityName", "1");
}

void clsACTIVITY::SetupProperty_ActivitySetting() {
    ProcedureScope scope("clsACTIVITY.SetupProperty_ActivitySetting");
    SetupProperty_InputContainer();
    SetupProperty_OutputContainer();
    SetupProperty_DESCRIPTION();
    SetupProperty_DOCUMENTATION();
}

void clsACTIVITY::SetupProperty_InputContainer() {
    ProcedureScope scope("clsACTIVITY.SetupProperty_InputContainer");
    // SEAM(data structures): the container is chosen from the objects related by the rule
    // "FUNCTION_RECEIVES_DATA"; until then it stays the default structure.
}

void clsACTIVITY::SetupProperty_OutputContainer() {
    ProcedureScope scope("clsACTIVITY.SetupProperty_OutputContainer");
    // SEAM(data structures): as the input container, with the rule "FUNCTION_SENDS_DATA".
}

void clsACTIVITY::SetupProperty_LAYOUT() {
    ProcedureScope scope("clsACTIVITY.SetupProperty_LAYOUT");
    if (!LayoutConversionFinished) {
        RaiseWarning(2070, ARISObjectDefinition ? ARISObjectDefinition->Name(modGlobals::LocaleId) : "");
        return;
    }
    LAYOUT = "XPOS " + std::to_string(WPX_XPos) + " YPOS " + std::to_string(WPX_YPos);
}

void clsACTIVITY::SetupProperty_DESCRIPTION() {
    ProcedureScope scope("clsACTIVITY.SetupProperty_DESCRIPTION");
    if (!modGlobals::Options.UseDescriptionAttr) return;
    SetQuotedAttributeProperty(DESCRIPTION, ARISObjectDefinition, "ACTIVITY_DESCRIPTION", "2");
}

void clsACTIVITY::SetupProperty_DOCUMENTATION() {
    ProcedureScope scope("clsACTIVITY.SetupProperty_DOCUMENTATION");
    SetQuotedAttributeProperty(DOCUMENTATION, ARISObjectDefinition, "ACTIVITY_DOCUMENTATION", "3");
}

void clsACTIVITY::SetupProperty_ActivityExtensionSetting(const clsPROCESS& process) {
    ProcedureScope scope("clsACTIVITY.SetupProperty_ActivityExtensionSetting");
    SetupProperty_SUPPORT_TOOL();
    SetupProperty_StartCondition(process);
    SetupProperty_StartMode();
    SetupProperty_ExitCondition();
    SetupProperty_ExitMode();
    SetupProperty_ExplicitStaffAssignment(process);
}

void clsACTIVITY::SetupProperty_ProcessActivitySetting(ARISModelCollection& nextModels) {
    ProcedureScope scope("clsACTIVITY.SetupProperty_ProcessActivitySetting");
    if (!AssignedModel) return;
    std::string key = AssignedModel->Guid();
    modGlobals::CurrentStep = "Retrieve PROCESS";
    bool exported = RegistryOf(modGlobals::Col_PROCESS).Contains(key);
    modGlobals::CurrentStep.clear();
    if (!exported && !nextModels.Contains(key)) nextModels.Add(AssignedModel, key);
    SetupProperty_PROCESS();
}

void clsACTIVITY::SetupProperty_PROCESS() {
    ProcedureScope scope("clsACTIVITY.SetupProperty_PROCESS");
    if (!AssignedModel) return;
    SetQuotedProperty(PROCESS, PROCESS_Find_ARIS_Model_Attribute_Using_Mapping_Rule(AssignedModel, "PROCESS_ProcessName"),
                      "8");
}

void clsACTIVITY::SetupProperty_ProgramActivitySetting() {
    ProcedureScope scope("clsACTIVITY.SetupProperty_ProgramActivitySetting");
    SetupProperty_PROGRAM();
}

void clsACTIVITY::SetupProperty_PROGRAM() {
    ProcedureScope scope("clsACTIVITY.SetupProperty_PROGRAM");
    // SEAM(programs): the first object related by the rule "ACTIVITY_PROGRAM" names PROGRAM
    // (attribute of "PROGRAM_ObjectName", convention "6") and is ensured with
    // PROGRAM_Add_ARIS_Mapping; further ones: message 3010, then 3060 "SUPPORT_TOOL" each.
}

void clsACTIVITY::SetupProperty_SUPPORT_TOOL() {
    ProcedureScope scope("clsACTIVITY.SetupProperty_SUPPORT_TOOL");
    // SEAM(programs): the further programs related by "ACTIVITY_PROGRAM" (all of them for a
    // process activity), quoted and blank-separated.
}

void clsACTIVITY::SetupProperty_StartCondition(const clsPROCESS& process) {
    ProcedureScope scope("clsACTIVITY.SetupProperty_StartCondition");
    std::string condition;
    if (modGlobals::Options.StartConditions) condition = GetProperty_StartCondition(kStartConditionRule, process);
    if (condition.empty()) condition = GetProperty_StartCondition("FUNCTION_RECEIVES_CONTROL_FROM_RULE", process);
    StartCondition = condition.empty() ? kDefaultStartCondition : condition;
}

void clsACTIVITY::SetupProperty_StartMode() {
    ProcedureScope scope("clsACTIVITY.SetupProperty_StartMode");
    SetOtherSettingsProperty(StartMode, ARISObjectDefinition, "ACTIVITY_START_MODE");
}

void clsACTIVITY::SetupProperty_ExitCondition() {
    ProcedureScope scope("clsACTIVITY.SetupProperty_ExitCondition");
    std::string condition;
    if (modGlobals::Options.ExitConditions) condition = GetProperty_ExitCondition(kExitConditionRule);
    if (condition.empty()) condition = GetProperty_ExitCondition("");
    if (!condition.empty()) ExitCondition = condition;
}

void clsACTIVITY::SetupProperty_ExitMode() {
    ProcedureScope scope("clsACTIVITY.SetupProperty_ExitMode");
    SetOtherSettingsProperty(ExitMode, ARISObjectDefinition, "ACTIVITY_EXIT_MODE");
}

void clsACTIVITY::SetupProperty_ExplicitStaffAssignment(const clsPROCESS& process) {
    ProcedureScope scope("clsACTIVITY.SetupProperty_ExplicitStaffAssignment");
    (void)process;
    if (!modGlobals::Options.DynamicStaffAssignment) {
        SetupProperty_PERSON();
        if (!PERSON.empty()) return;
        SetupProperty_MEMBER_OF_ROLE();
        SetupProperty_ORGANIZATION();
        return;
    }
    SetupProperty_MEMBER_OF_ROLE();
    SetupProperty_ORGANIZATION();
    if (MEMBER_OF_ROLE.empty() && ORGANIZATION.empty()) SetupProperty_PERSON();
}

void clsACTIVITY::SetupProperty_PERSON() {
    ProcedureScope scope("clsACTIVITY.SetupProperty_PERSON");
    // SEAM(staff): the persons related by "ACTIVITY_PERSON", each ensured with
    // PERSON_Add_ARIS_Mapping.
}

void clsACTIVITY::SetupProperty_MEMBER_OF_ROLE() {
    ProcedureScope scope("clsACTIVITY.SetupProperty_MEMBER_OF_ROLE");
    // SEAM(staff): the roles related by "ACTIVITY_MEMBER_OF_ROLE", each ensured with
    // ROLE_Add_ARIS_Mapping.
}

void clsACTIVITY::SetupProperty_ORGANIZATION() {
    ProcedureScope scope("clsACTIVITY.SetupProperty_ORGANIZATION");
    // SEAM(staff): the first organization related by "ACTIVITY_ORGANIZATION", ensured with
    // ORGANIZATION_Add_ARIS_Mapping; further ones: warning 3000 and message 3030 each.
}

void clsACTIVITY::SetupProperty_OtherSettings() {
    ProcedureScope scope("clsACTIVITY.SetupProperty_OtherSettings");
    SetOtherSettingsProperty(OtherSettings, ARISObjectDefinition, "ACTIVITY_OTHER_SETTINGS");
}

std::string clsACTIVITY::GetProperty_StartCondition(const std::string& ruleName, const clsPROCESS& process) const {
    ProcedureScope scope("clsACTIVITY.GetProperty_StartCondition");
    if (ruleName == kStartConditionRule)
        return modMappingRule::Find_ARIS_ObjDef_Attribute_Using_Mapping_Rule(ARISObjectDefinition, ruleName);
    if (Col_CONTROL_CONNECTOR_IN.Count() <= 1) return "";
    return DerivedStartCondition(process);
}

std::string clsACTIVITY::GetProperty_ExitCondition(const std::string& ruleName) const {
    ProcedureScope scope("clsACTIVITY.GetProperty_ExitCondition");
    if (ruleName == kExitConditionRule)
        return modMappingRule::Find_ARIS_ObjDef_Attribute_Using_Mapping_Rule(ARISObjectDefinition, ruleName);
    if (Col_CONTROL_CONNECTOR_OUT.Empty()) return "";
    return DerivedExitCondition();
}

std::string clsACTIVITY::DerivedStartCondition(const clsPROCESS& process) const {
    // SEAM(control connectors): the joining rule object (exactly one object related by
    // "FUNCTION_RECEIVES_CONTROL_FROM_RULE", occurring in the process model with symbol 42 at
    // its first occurrence there) on every path of every incoming connector gives "ALL CONNECTORS",
    // else "AT_LEAST_ONE CONNECTOR".
    (void)process;
    return "";
}

std::string clsACTIVITY::DerivedExitCondition() const {
    // SEAM(control connectors): "NOT ( " + Condition + " )" of the first outgoing connector
    // whose IsLoopConnector is true, when its Condition is not empty.
    return "";
}
