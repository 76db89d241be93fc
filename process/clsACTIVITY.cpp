#include "process/clsACTIVITY.h"

#include "constructs/ConstructText.h"
#include "data/modContainer.h"
#include "platform/Text.h"
#include "process/clsCONTROL_CONNECTOR.h"
#include "process/clsPROCESS.h"
#include "process/modPROCESS.h"
#include "process/modPROGRAM.h"
#include "staff/modStaffProperty.h"

namespace {

constexpr const char* kStartConditionRule = "ACTIVITY_START_CONDITION";
constexpr const char* kExitConditionRule = "ACTIVITY_EXIT_CONDITION";
constexpr const char* kProgramRule = "ACTIVITY_PROGRAM";

// The symbol of the AND rule that joins incoming control flows.
constexpr int kAndRuleSymbol = 42;

}  // namespace

void clsACTIVITY::SetupIndependentProperties(ARISModelCollection& nextModels) {
    const ProcedureScope scope("clsACTIVITY.SetupIndependentProperties");
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
    const ProcedureScope scope("clsACTIVITY.SetupDependentProperties");
    if (!SetupIndependentPropertiesFinished || SetupDependentPropertiesFinished) return;
    SetupProperty_ActivityExtensionSetting(process);
    SetupDependentPropertiesFinished = true;
}

void clsACTIVITY::SetupProperty_ActivityName() {
    const ProcedureScope scope("clsACTIVITY.SetupProperty_ActivityName");
    SetQuotedAttributeProperty(ActivityName, ARISObjectDefinition, "ACTIVITY_ActivityName", "1");
}

void clsACTIVITY::SetupProperty_ActivitySetting() {
    const ProcedureScope scope("clsACTIVITY.SetupProperty_ActivitySetting");
    SetupProperty_InputContainer();
    SetupProperty_OutputContainer();
    SetupProperty_DESCRIPTION();
    SetupProperty_DOCUMENTATION();
}

void clsACTIVITY::SetupProperty_InputContainer() {
    const ProcedureScope scope("clsACTIVITY.SetupProperty_InputContainer");
    Containers.SetInputContainer(ChooseContainer(
        modMappingRule::Related_ARIS_ObjDefs_Using_Mapping_Rule(ARISObjectDefinition, "FUNCTION_RECEIVES_DATA")));
}

void clsACTIVITY::SetupProperty_OutputContainer() {
    const ProcedureScope scope("clsACTIVITY.SetupProperty_OutputContainer");
    Containers.SetOutputContainer(ChooseContainer(
        modMappingRule::Related_ARIS_ObjDefs_Using_Mapping_Rule(ARISObjectDefinition, "FUNCTION_SENDS_DATA")));
}

void clsACTIVITY::SetupProperty_LAYOUT() {
    const ProcedureScope scope("clsACTIVITY.SetupProperty_LAYOUT");
    if (!LayoutConversionFinished) {
        RaiseWarning(2070, ARISObjectDefinition ? ARISObjectDefinition->Name(CurrentExport().LocaleId) : "");
        return;
    }
    LAYOUT = "XPOS " + std::to_string(WPX_XPos) + " YPOS " + std::to_string(WPX_YPos);
}

void clsACTIVITY::SetupProperty_DESCRIPTION() {
    const ProcedureScope scope("clsACTIVITY.SetupProperty_DESCRIPTION");
    if (!CurrentExport().Options.UseDescriptionAttr) return;
    SetQuotedAttributeProperty(DESCRIPTION, ARISObjectDefinition, "ACTIVITY_DESCRIPTION", "2");
}

void clsACTIVITY::SetupProperty_DOCUMENTATION() {
    const ProcedureScope scope("clsACTIVITY.SetupProperty_DOCUMENTATION");
    SetQuotedAttributeProperty(DOCUMENTATION, ARISObjectDefinition, "ACTIVITY_DOCUMENTATION", "3");
}

void clsACTIVITY::SetupProperty_ActivityExtensionSetting(const clsPROCESS& process) {
    const ProcedureScope scope("clsACTIVITY.SetupProperty_ActivityExtensionSetting");
    SetupProperty_SUPPORT_TOOL();
    SetupProperty_StartCondition(process);
    SetupProperty_StartMode();
    SetupProperty_ExitCondition();
    SetupProperty_ExitMode();
    SetupProperty_ExplicitStaffAssignment(process);
}

void clsACTIVITY::SetupProperty_ProcessActivitySetting(ARISModelCollection& nextModels) {
    const ProcedureScope scope("clsACTIVITY.SetupProperty_ProcessActivitySetting");
    if (!AssignedModel) return;
    const std::string key = AssignedModel->Guid();
    CurrentExport().CurrentStep = "Retrieve PROCESS";
    const bool exported = RegistryOf(CurrentExport().Col_PROCESS).Contains(key);
    CurrentExport().CurrentStep.clear();
    if (!exported && !nextModels.Contains(key)) nextModels.Add(AssignedModel, key);
    SetupProperty_PROCESS();
}

void clsACTIVITY::SetupProperty_PROCESS() {
    const ProcedureScope scope("clsACTIVITY.SetupProperty_PROCESS");
    if (!AssignedModel) return;
    SetQuotedProperty(PROCESS,
                      PROCESS_Find_ARIS_Model_Attribute_Using_Mapping_Rule(AssignedModel, "PROCESS_ProcessName"), "8");
}

void clsACTIVITY::SetupProperty_ProgramActivitySetting() {
    const ProcedureScope scope("clsACTIVITY.SetupProperty_ProgramActivitySetting");
    SetupProperty_PROGRAM();
}

void clsACTIVITY::SetupProperty_PROGRAM() {
    const ProcedureScope scope("clsACTIVITY.SetupProperty_PROGRAM");
    ARISObjDefCollection programs =
        modMappingRule::Related_ARIS_ObjDefs_Using_Mapping_Rule(ARISObjectDefinition, kProgramRule);
    if (programs.Empty()) return;
    const aris::ObjDef* program = programs.Item(1);
    const std::string name =
        modMappingRule::Find_ARIS_ObjDef_Attribute_Using_Mapping_Rule(program, "PROGRAM_ObjectName");
    if (!name.empty()) {
        SetQuotedProperty(PROGRAM, name, "6");
        PROGRAM_Add_ARIS_Mapping(program);
    }
    if (programs.Count() == 1) return;
    // The further programs are the activity's support tools.
    LogMessage(kSeverityInfo, 3010, "PROGRAM", "ACTIVITY");
    for (std::size_t position = 2; position <= programs.Count(); ++position)
        LogObjectMapped(*programs.Item(position), "SUPPORT_TOOL");
}

void clsACTIVITY::SetupProperty_SUPPORT_TOOL() {
    const ProcedureScope scope("clsACTIVITY.SetupProperty_SUPPORT_TOOL");
    ARISObjDefCollection programs =
        modMappingRule::Related_ARIS_ObjDefs_Using_Mapping_Rule(ARISObjectDefinition, kProgramRule);
    // A program activity runs its first program; a process activity runs none.
    const std::size_t first = Is_PROCESS_ACTIVITY() ? 1 : 2;
    std::string tools;
    for (std::size_t position = first; position <= programs.Count(); ++position) {
        const std::string name = programs.Item(position)->Name(CurrentExport().LocaleId);
        auto converted = modMappingRule::ConvertARISNameOrWarn(name, "6");
        if (converted && !converted->empty()) tools += " " + Quoted(*converted);
    }
    SUPPORT_TOOL = platform::TrimLeft(tools);
}

void clsACTIVITY::SetupProperty_StartCondition(const clsPROCESS& process) {
    const ProcedureScope scope("clsACTIVITY.SetupProperty_StartCondition");
    std::string condition;
    if (CurrentExport().Options.StartConditions) condition = GetProperty_StartCondition(kStartConditionRule, process);
    if (condition.empty()) condition = GetProperty_StartCondition("FUNCTION_RECEIVES_CONTROL_FROM_RULE", process);
    StartCondition = condition.empty() ? kDefaultStartCondition : condition;
}

void clsACTIVITY::SetupProperty_StartMode() {
    const ProcedureScope scope("clsACTIVITY.SetupProperty_StartMode");
    SetOtherSettingsProperty(StartMode, ARISObjectDefinition, "ACTIVITY_START_MODE");
}

void clsACTIVITY::SetupProperty_ExitCondition() {
    const ProcedureScope scope("clsACTIVITY.SetupProperty_ExitCondition");
    std::string condition;
    if (CurrentExport().Options.ExitConditions) condition = GetProperty_ExitCondition(kExitConditionRule);
    if (condition.empty()) condition = GetProperty_ExitCondition("");
    if (!condition.empty()) ExitCondition = condition;
}

void clsACTIVITY::SetupProperty_ExitMode() {
    const ProcedureScope scope("clsACTIVITY.SetupProperty_ExitMode");
    SetOtherSettingsProperty(ExitMode, ARISObjectDefinition, "ACTIVITY_EXIT_MODE");
}

void clsACTIVITY::SetupProperty_ExplicitStaffAssignment(const clsPROCESS& process) {
    const ProcedureScope scope("clsACTIVITY.SetupProperty_ExplicitStaffAssignment");
    (void)process;
    if (!CurrentExport().Options.DynamicStaffAssignment) {
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
    const ProcedureScope scope("clsACTIVITY.SetupProperty_PERSON");
    modStaffProperty::SetupMultiValuedReference(PERSON, ARISObjectDefinition,
                                                modStaffProperty::PersonReference("ACTIVITY_PERSON"));
}

void clsACTIVITY::SetupProperty_MEMBER_OF_ROLE() {
    const ProcedureScope scope("clsACTIVITY.SetupProperty_MEMBER_OF_ROLE");
    modStaffProperty::SetupMultiValuedReference(
        MEMBER_OF_ROLE, ARISObjectDefinition,
        modStaffProperty::RoleReference("ACTIVITY_MEMBER_OF_ROLE", modStaffProperty::RoleName));
}

void clsACTIVITY::SetupProperty_ORGANIZATION() {
    const ProcedureScope scope("clsACTIVITY.SetupProperty_ORGANIZATION");
    modStaffProperty::SetupSingleValuedReference(
        ORGANIZATION, ARISObjectDefinition,
        modStaffProperty::OrganizationReference("ACTIVITY_ORGANIZATION", modStaffProperty::OrganizationName),
        "ORGANIZATION", "ACTIVITY");
}

void clsACTIVITY::SetupProperty_OtherSettings() {
    const ProcedureScope scope("clsACTIVITY.SetupProperty_OtherSettings");
    SetOtherSettingsProperty(OtherSettings, ARISObjectDefinition, "ACTIVITY_OTHER_SETTINGS");
}

std::string clsACTIVITY::GetProperty_StartCondition(const std::string& ruleName, const clsPROCESS& process) const {
    const ProcedureScope scope("clsACTIVITY.GetProperty_StartCondition");
    if (ruleName == kStartConditionRule)
        return modMappingRule::Find_ARIS_ObjDef_Attribute_Using_Mapping_Rule(ARISObjectDefinition, ruleName);
    if (Col_CONTROL_CONNECTOR_IN.Count() <= 1) return "";
    return DerivedStartCondition(process);
}

std::string clsACTIVITY::GetProperty_ExitCondition(const std::string& ruleName) const {
    const ProcedureScope scope("clsACTIVITY.GetProperty_ExitCondition");
    if (ruleName == kExitConditionRule)
        return modMappingRule::Find_ARIS_ObjDef_Attribute_Using_Mapping_Rule(ARISObjectDefinition, ruleName);
    if (Col_CONTROL_CONNECTOR_OUT.Empty()) return "";
    return DerivedExitCondition();
}

const aris::ObjDef* clsACTIVITY::JoiningAndRule(const clsPROCESS& process) const {
    ARISObjDefCollection rules = modMappingRule::Related_ARIS_ObjDefs_Using_Mapping_Rule(
        ARISObjectDefinition, "FUNCTION_RECEIVES_CONTROL_FROM_RULE");
    if (rules.Count() != 1) return nullptr;
    const aris::ObjDef* rule = rules.Item(1);
    auto occurrences = rule->OccListInModel(process.ARIS_Model);
    if (occurrences.empty() || occurrences.front()->SymbolNum() != kAndRuleSymbol) return nullptr;
    return rule;
}

std::string clsACTIVITY::DerivedStartCondition(const clsPROCESS& process) const {
    const aris::ObjDef* rule = JoiningAndRule(process);
    if (!rule) return "";
    bool everyPathPassesTheRule = true;
    for (const clsCONTROL_CONNECTOR* connector : Col_CONTROL_CONNECTOR_IN) {
        for (const std::shared_ptr<clsPath>& path : connector->ColPath) {
            CurrentExport().CurrentStep = "Retrieve object definition";
            const bool passes = path && path->ColARISObjectDefinitionsOnPath.Contains(rule->Guid());
            CurrentExport().CurrentStep.clear();
            if (passes) continue;
            everyPathPassesTheRule = false;
            break;
        }
    }
    return everyPathPassesTheRule ? "ALL CONNECTORS" : kDefaultStartCondition;
}

std::string clsACTIVITY::DerivedExitCondition() const {
    for (const clsCONTROL_CONNECTOR* connector : Col_CONTROL_CONNECTOR_OUT) {
        if (!connector->IsLoopConnector()) continue;
        // Only the first loop connector counts, with or without a condition.
        return connector->Condition.empty() ? "" : "NOT ( " + connector->Condition + " )";
    }
    return "";
}
