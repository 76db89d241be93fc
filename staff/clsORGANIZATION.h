#pragma once
#include <string>

#include "constructs/ConstructLifecycle.h"

/// An ORGANIZATION: one object definition that the rule "ORGANIZATION" accepts (an
/// organizational unit), with its manager, parent unit and member persons. Registered in
/// Col_ORGANIZATION under its Item.Guid before it is set up, so a cycle of parents ends.
class clsORGANIZATION : public GuardedSetup<clsORGANIZATION> {
public:
    static constexpr const char* kKindName = "ORGANIZATION";
    static constexpr const char* kRuleName = "ORGANIZATION";
    static constexpr const char* kModuleName = "modORGANIZATION";
    static constexpr const char* kSetupProcedure = "clsORGANIZATION.SetupProperties";
    static constexpr const char* kDefaultManager = "'ADMIN'";
    static ConstructRegistry<clsORGANIZATION>& Registry() { return RegistryOf(CurrentExport().Col_ORGANIZATION); }

    /// The object definition the organization stands for.
    const aris::ObjDef* ARISObjectDefinition = nullptr;
    /// Quoted WPX name.
    std::string ObjectName;
    /// Quoted description.
    std::string DESCRIPTION;
    /// Quoted person name of the manager; "'ADMIN'" unless a named manager is related.
    std::string MANAGER = kDefaultManager;
    /// Quoted name of the parent organization.
    std::string PARENT_ORGANIZATION;
    /// Blank-separated quoted person names.
    std::string RELATED_PERSON;

    /// The name property printed by the writer and named in message 3090.
    const std::string& NameProperty() const { return ObjectName; }
    /// Name, description, manager, parent, related persons.
    void SetupPropertiesInOrder();

    void SetupProperty_ObjectName();
    void SetupProperty_DESCRIPTION();
    /// The first related manager, pulled in as a PERSON; further ones: 3000 and 3030 each.
    void SetupProperty_MANAGER();
    /// The first related parent unit, pulled in as an ORGANIZATION; further ones: 3000, 3030.
    void SetupProperty_PARENT_ORGANIZATION();
    /// Every related person, each pulled in as a PERSON.
    void SetupProperty_RELATED_PERSON();
};
