#include "constructs/modPROCESS_CATEGORY.h"

namespace {

ConstructRegistry<clsPROCESS_CATEGORY>& Categories() { return RegistryOf(CurrentExport().Col_PROCESS_CATEGORY); }

}  // namespace

void PROCESS_CATEGORY_Create(const ARISModelCollection& models) {
    const ProcedureScope scope("modPROCESS_CATEGORY.PROCESS_CATEGORY_Create");
    PROCESS_CATEGORY_Find_ARIS_Mapping(models);
    PROCESS_CATEGORY_SetupProperties();
}

void PROCESS_CATEGORY_Find_ARIS_Mapping(const ARISModelCollection& models) {
    const ProcedureScope scope("modPROCESS_CATEGORY.PROCESS_CATEGORY_Find_ARIS_Mapping");
    for (const aris::Group* group : PROCESS_CATEGORY_Find_ARIS_Group_In_ModelCollection(models)) {
        Owned<clsPROCESS_CATEGORY> category = MakeConstruct<clsPROCESS_CATEGORY>();
        category->ARIS_Group = group;
        RegisterConstruct(Categories(), std::move(category), group->Guid());
        LogMessage(kSeverityInfo, 3040, group->Name(CurrentExport().LocaleId));
    }
}

void PROCESS_CATEGORY_SetupProperties() {
    const ProcedureScope scope("modPROCESS_CATEGORY.PROCESS_CATEGORY_SetupProperties");
    SetupSweep(Categories());
}

ARISGroupCollection PROCESS_CATEGORY_Find_ARIS_Group_In_ModelCollection(const ARISModelCollection& models) {
    const ProcedureScope scope("modPROCESS_CATEGORY.PROCESS_CATEGORY_Find_ARIS_Group_In_ModelCollection");
    ARISGroupCollection groups;
    for (const aris::Model* model : models) {
        const aris::Group* group = model ? model->Group() : nullptr;
        if (!group) continue;
        const std::string key = group->Guid();
        if (!groups.Contains(key)) groups.Add(group, key);
    }
    return groups;
}

std::string PROCESS_CATEGORY_Find_ARIS_Group_Attribute(const aris::Group* group, int attrTypeNum) {
    const ProcedureScope scope("modPROCESS_CATEGORY.PROCESS_CATEGORY_Find_ARIS_Group_Attribute");
    return modMappingRule::Find_ARIS_ObjDef_Attribute(group, attrTypeNum);
}

std::string PROCESS_CATEGORY_Find_ARIS_Group_Attribute_Using_Mapping_Rule(const aris::Group* group,
                                                                          const std::string& ruleName) {
    const ProcedureScope scope("modPROCESS_CATEGORY.PROCESS_CATEGORY_Find_ARIS_Group_Attribute_Using_Mapping_Rule");
    return PROCESS_CATEGORY_Find_ARIS_Group_Attribute(
        group, modMappingRule::RetrieveMappingRule(ruleName).AttributeMappingNumber());
}
