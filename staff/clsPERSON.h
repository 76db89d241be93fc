#pragma once
#include <string>

#include "constructs/ConstructLifecycle.h"

/// A PERSON: one object definition that the rule "PERSON" accepts. Registered in Col_PERSON
/// under its Item.Guid, found in the selected models or pulled in on demand by a substitute, a
/// role, an organization or an activity's staff assignment.
class clsPERSON : public GuardedSetup<clsPERSON> {
public:
    static constexpr const char* kKindName = "PERSON";
    static constexpr const char* kRuleName = "PERSON";
    static constexpr const char* kModuleName = "modPERSON";
    static constexpr const char* kSetupProcedure = "clsPERSON.SetupProperties";
    static ConstructRegistry<clsPERSON>& Registry() { return RegistryOf(CurrentExport().Col_PERSON); }

    /// The object definition the person stands for.
    const aris::ObjDef* ARISObjectDefinition = nullptr;
    /// Quoted WPX name.
    std::string PersonName;
    /// Quoted first name, last name and phones.
    std::string FIRST_NAME;
    std::string LAST_NAME;
    std::string PHONE;
    std::string SECOND_PHONE;
    /// Quoted name of the substitute.
    std::string SUBSTITUTE;
    /// Blank-separated quoted role names.
    std::string RELATED_ROLE;
    /// Quoted organization name.
    std::string RELATED_ORGANIZATION;
    /// Quoted description.
    std::string DESCRIPTION;
    /// Raw text printed as is.
    std::string OtherSettings;

    /// The name property printed by the writer and named in message 3090.
    const std::string& NameProperty() const { return PersonName; }
    /// Name, first and last name, phones, substitute, roles, organization, description, other
    /// settings.
    void SetupPropertiesInOrder();

    void SetupProperty_PersonName();
    void SetupProperty_FIRST_NAME();
    void SetupProperty_LAST_NAME();
    void SetupProperty_PHONE();
    void SetupProperty_SECOND_PHONE();
    void SetupProperty_DESCRIPTION();
    /// The first related substitute, pulled in as a PERSON; further ones: 3000 and 3030 each.
    void SetupProperty_SUBSTITUTE();
    /// Every related role, each pulled in as a ROLE.
    void SetupProperty_RELATED_ROLE();
    /// The first related organization, pulled in as an ORGANIZATION; further ones: 3000, 3030.
    void SetupProperty_RELATED_ORGANIZATION();
    void SetupProperty_OtherSettings();
};
