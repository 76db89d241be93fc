#pragma once
#include <string>

#include "constructs/ConstructLifecycle.h"
#include "process/ContainerPair.h"

/// A PROGRAM: one object definition that the rule "PROGRAM" accepts, an application that
/// program activities run. Found in the selected models, or created on demand when an activity
/// names it.
class clsPROGRAM : public GuardedSetup<clsPROGRAM> {
public:
    static constexpr const char* kKindName = "PROGRAM";
    static constexpr const char* kRuleName = "PROGRAM";
    static constexpr const char* kModuleName = "modPROGRAM";
    static constexpr const char* kSetupProcedure = "clsPROGRAM.SetupProperties";
    static ConstructRegistry<clsPROGRAM>& Registry() { return RegistryOf(CurrentExport().Col_PROGRAM); }

    /// The program's object definition.
    const aris::ObjDef* ARISObjectDefinition = nullptr;
    /// Quoted program name.
    std::string ObjectName;
    /// Input and output containers.
    ContainerPair Containers;
    /// Quoted description and documentation.
    std::string DESCRIPTION;
    std::string DOCUMENTATION;
    /// Raw text printed as is.
    std::string OtherSettings;

    /// The name property printed by the writer and named in message 3090.
    const std::string& NameProperty() const { return ObjectName; }
    /// Name, description and documentation, other settings, containers.
    void SetupPropertiesInOrder();

    void SetupProperty_ObjectName();
    /// Description, then documentation.
    void SetupProperty_ProgramSetting();
    void SetupProperty_DESCRIPTION();
    void SetupProperty_DOCUMENTATION();
    /// From the data objects related by "PROGRAM_RECEIVES_DATA".
    void SetupProperty_InputContainer();
    /// From the data objects related by "PROGRAM_SENDS_DATA".
    void SetupProperty_OutputContainer();
    void SetupProperty_OtherSettings();
};
