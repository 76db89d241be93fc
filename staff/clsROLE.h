#pragma once
#include <string>

#include "constructs/ConstructLifecycle.h"

/// A ROLE: one object definition that the rule "ROLE" accepts, with its coordinator and the
/// persons that hold it. Registered in Col_ROLE under its Item.Guid.
class clsROLE : public GuardedSetup<clsROLE> {
public:
    static constexpr const char* kKindName = "ROLE";
    static constexpr const char* kRuleName = "ROLE";
    static constexpr const char* kModuleName = "modROLE";
    static constexpr const char* kSetupProcedure = "clsROLE.SetupProperties";
    static ConstructRegistry<clsROLE>& Registry() { return RegistryOf(CurrentExport().Col_ROLE); }

    /// The object definition the role stands for.
    const aris::ObjDef* ARISObjectDefinition = nullptr;
    /// Quoted WPX name.
    std::string ObjectName;
    /// Quoted description.
    std::string DESCRIPTION;
    /// Quoted person name of the coordinator.
    std::string COORDINATOR;
    /// Blank-separated quoted person names.
    std::string RELATED_PERSON;

    /// The name property printed by the writer and named in message 3090.
    const std::string& NameProperty() const { return ObjectName; }
    /// Name, description, coordinator, related persons.
    void SetupPropertiesInOrder();

    void SetupProperty_ObjectName();
    void SetupProperty_DESCRIPTION();
    /// The first related coordinator, pulled in as a PERSON; further ones: 3000 and 3030 each.
    void SetupProperty_COORDINATOR();
    /// Every related person, each pulled in as a PERSON.
    void SetupProperty_RELATED_PERSON();
};
