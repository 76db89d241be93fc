#pragma once
#include <string>

#include "constructs/ConstructLifecycle.h"

/// A PROCESS_CATEGORY: one ARIS group (folder) holding a model of the export.
class clsPROCESS_CATEGORY : public GuardedSetup<clsPROCESS_CATEGORY> {
public:
    static constexpr const char* kKindName = "PROCESS_CATEGORY";
    static constexpr const char* kSetupProcedure = "clsPROCESS_CATEGORY.SetupProperties";

    /// The group the category stands for.
    const aris::Group* ARIS_Group = nullptr;
    /// Quoted category name.
    std::string ObjectName;
    /// Quoted description.
    std::string DESCRIPTION;
    /// Quoted documentation.
    std::string DOCUMENTATION;

    /// The name property printed by the writer and named in message 3090.
    const std::string& NameProperty() const { return ObjectName; }
    /// Name, then description and documentation.
    void SetupPropertiesInOrder();

    void SetupProperty_ObjectName();
    void SetupProperty_ProcessCategorySetting();
    void SetupProperty_DESCRIPTION();
    void SetupProperty_DOCUMENTATION();
};
