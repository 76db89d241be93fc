#pragma once
#include <cstdint>
#include <string>

#include "constructs/ConstructLifecycle.h"
#include "process/ContainerPair.h"

class clsPROCESS;
class clsCONTROL_CONNECTOR;
class clsDATA_CONNECTOR;

/// A PROGRAM_ACTIVITY or PROCESS_ACTIVITY: one object definition that the rule "ACTIVITY"
/// selects and that occurs in the model of its process. Owned by the process's Col_ACTIVITY.
///
/// The set-up is split: SetupIndependentProperties runs right after the activities are found;
/// SetupDependentProperties runs once the process's connectors exist, because the start and
/// exit conditions read them.
class clsACTIVITY {
public:
    static constexpr const char* kDefaultStartCondition = "AT_LEAST_ONE CONNECTOR";

    /// The function the activity stands for.
    const aris::ObjDef* ARISObjectDefinition = nullptr;
    /// Its first occurrence in the process model.
    const aris::Occurrence* ARISObjectOccurrence = nullptr;
    /// The subprocess model; nullptr for a program activity.
    const aris::Model* AssignedModel = nullptr;

    /// Quoted name.
    std::string ActivityName;
    /// Input and output containers.
    ContainerPair Containers;
    /// Incoming and outgoing control and data connectors (owned by the process).
    platform::OrderedCollection<clsCONTROL_CONNECTOR*> Col_CONTROL_CONNECTOR_IN;
    platform::OrderedCollection<clsCONTROL_CONNECTOR*> Col_CONTROL_CONNECTOR_OUT;
    platform::OrderedCollection<clsDATA_CONNECTOR*> Col_DATA_CONNECTOR_IN;
    platform::OrderedCollection<clsDATA_CONNECTOR*> Col_DATA_CONNECTOR_OUT;
    /// "XPOS x YPOS y" once the layout is converted.
    std::string LAYOUT;
    /// Quoted description and documentation.
    std::string DESCRIPTION;
    std::string DOCUMENTATION;
    /// Quoted name of the subprocess (process activity).
    std::string PROCESS;
    /// Quoted name of the program (program activity).
    std::string PROGRAM;
    /// Blank-separated quoted names of further programs.
    std::string SUPPORT_TOOL;
    /// Staff assignment: blank-separated quoted persons and roles, one quoted organization.
    std::string PERSON;
    std::string MEMBER_OF_ROLE;
    std::string ORGANIZATION;
    /// Start condition phrase, exit condition text, start and exit mode keywords.
    std::string StartCondition = kDefaultStartCondition;
    std::string ExitCondition;
    std::string StartMode = "MANUAL";
    std::string ExitMode = "AUTOMATIC";
    /// Raw text printed as is.
    std::string OtherSettings;
    /// Position of the occurrence in ARIS and the converted position.
    std::int32_t ARIS_XPos = 0;
    std::int32_t ARIS_YPos = 0;
    std::int32_t WPX_XPos = 0;
    std::int32_t WPX_YPos = 0;
    bool LayoutConversionFinished = false;
    bool SetupIndependentPropertiesFinished = false;
    bool SetupDependentPropertiesFinished = false;

    /// Name, containers, texts, program or subprocess, other settings; message 3090. Once.
    void SetupIndependentProperties(ARISModelCollection& nextModels);
    /// Support tools, start and exit conditions and modes, staff assignment; only after the
    /// independent set-up, once.
    void SetupDependentProperties(const clsPROCESS& process);

    void SetupProperty_ActivityName();
    /// Containers, description, documentation.
    void SetupProperty_ActivitySetting();
    void SetupProperty_InputContainer();
    void SetupProperty_OutputContainer();
    /// LAYOUT from the converted position; warning 2070 before the conversion.
    void SetupProperty_LAYOUT();
    void SetupProperty_DESCRIPTION();
    /// Always read: this property does not depend on the option UseDocumentationAttr.
    void SetupProperty_DOCUMENTATION();
    /// The dependent properties in their order.
    void SetupProperty_ActivityExtensionSetting(const clsPROCESS& process);
    /// True exactly when the activity runs a subprocess (AssignedModel is set).
    bool Is_PROCESS_ACTIVITY() const { return AssignedModel != nullptr; }
    /// The subprocess: its model goes to the next round when it has no PROCESS yet.
    void SetupProperty_ProcessActivitySetting(ARISModelCollection& nextModels);
    void SetupProperty_PROCESS();
    void SetupProperty_ProgramActivitySetting();
    void SetupProperty_PROGRAM();
    void SetupProperty_SUPPORT_TOOL();
    void SetupProperty_StartCondition(const clsPROCESS& process);
    void SetupProperty_StartMode();
    void SetupProperty_ExitCondition();
    void SetupProperty_ExitMode();
    void SetupProperty_ExplicitStaffAssignment(const clsPROCESS& process);
    void SetupProperty_PERSON();
    void SetupProperty_MEMBER_OF_ROLE();
    void SetupProperty_ORGANIZATION();
    void SetupProperty_OtherSettings();
    /// The start condition read from the rule "ACTIVITY_START_CONDITION", or the one derived
    /// from the incoming control connectors for any other rule name.
    std::string GetProperty_StartCondition(const std::string& ruleName, const clsPROCESS& process) const;
    /// The exit condition read from the rule "ACTIVITY_EXIT_CONDITION", or the one derived from
    /// the outgoing loop connector for any other rule name.
    std::string GetProperty_ExitCondition(const std::string& ruleName) const;

private:
    /// "ALL CONNECTORS" when every path of the incoming control connectors passes one joining
    /// rule object, else "AT_LEAST_ONE CONNECTOR"; "" when there is no such join.
    std::string DerivedStartCondition(const clsPROCESS& process) const;
    /// The one rule object that passes control to this function, when its first occurrence in
    /// the process model has the AND symbol; nullptr otherwise.
    const aris::ObjDef* JoiningAndRule(const clsPROCESS& process) const;
    /// "NOT ( condition )" of the first outgoing loop connector with a condition, else "".
    std::string DerivedExitCondition() const;
};
