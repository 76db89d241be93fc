#include "data/modDATA_STRUCTURE.h"

#include <cstdint>
#include <limits>

#include "data/DataStructureIndex.h"

namespace {

constexpr const char* kMemberRule = "DATA_STRUCTURE_MEMBER";

using Lifecycle = ObjDefLifecycle<clsDATA_STRUCTURE>;

}  // namespace

void DATA_STRUCTURE_Create(const ARISModelCollection& models) {
    const ProcedureScope scope("modDATA_STRUCTURE.DATA_STRUCTURE_Create");
    DATA_STRUCTURE_Find_ARIS_Mapping(models);
    DATA_STRUCTURE_SetupProperties();
}

void DATA_STRUCTURE_Find_ARIS_Mapping(const ARISModelCollection& models) {
    const ProcedureScope scope("modDATA_STRUCTURE.DATA_STRUCTURE_Find_ARIS_Mapping");
    ARISObjDefCollection dataObjects;
    modMappingRule::Find_ARIS_ObjDef_Using_Mapping_Rule(models, dataObjects, clsDATA_STRUCTURE::kRuleName);
    for (const aris::ObjDef* dataObject : dataObjects) {
        ARISObjDefCollection members;
        modMappingRule::Find_Related_ARIS_ObjDef_Using_Mapping_Rule(members, dataObject, kMemberRule);
        if (members.Empty() || DATA_STRUCTURE_FindEquivalentStructure(members, dataObject)) continue;
        Owned<clsDATA_STRUCTURE> structure = MakeConstruct<clsDATA_STRUCTURE>();
        structure->ARISObjectDefinition = dataObject;
        // A data object registered before (on demand, or in an earlier round) keeps its structure.
        RegisterConstruct(clsDATA_STRUCTURE::Registry(), std::move(structure), dataObject->Guid());
        LogObjectMapped(*dataObject, clsDATA_STRUCTURE::kKindName);
    }
}

void DATA_STRUCTURE_SetupProperties() {
    const ProcedureScope scope("modDATA_STRUCTURE.DATA_STRUCTURE_SetupProperties");
    SetupSweep(clsDATA_STRUCTURE::Registry());
}

clsDATA_STRUCTURE& DATA_STRUCTURE_Add_ARIS_Mapping(const aris::ObjDef* objDef) {
    return Lifecycle::Add_ARIS_Mapping(objDef);
}

clsDATA_STRUCTURE& DATA_STRUCTURE_Register_ARIS_Mapping(const aris::ObjDef* objDef, bool& isNew) {
    return Lifecycle::Register_ARIS_Mapping(objDef, isNew);
}

void DATA_STRUCTURE_Finish_ARIS_Mapping(const aris::ObjDef& objDef) { Lifecycle::Finish_ARIS_Mapping(objDef); }

clsDATA_STRUCTURE& DATA_STRUCTURE_Generate(const ARISObjDefCollection& objects) {
    const ProcedureScope scope("modDATA_STRUCTURE.DATA_STRUCTURE_Generate");
    if (clsDATA_STRUCTURE* equivalent = DATA_STRUCTURE_FindEquivalentStructure(objects, nullptr)) return *equivalent;
    Owned<clsDATA_STRUCTURE> structure = MakeConstruct<clsDATA_STRUCTURE>();
    for (const aris::ObjDef* object : objects) structure->ColARISDataMemberObjectDefinition.Add(object);
    structure->IsGenerated = true;
    clsDATA_STRUCTURE& generated = *structure;
    clsDATA_STRUCTURE::Registry().Add(std::move(structure));
    generated.SetupProperties();
    return generated;
}

clsDATA_STRUCTURE* DATA_STRUCTURE_FindEquivalentStructure(const ARISObjDefCollection& members,
                                                          const aris::ObjDef* dataObject) {
    const ProcedureScope scope("modDATA_STRUCTURE.DATA_STRUCTURE_FindEquivalentStructure");
    return DataStructureIndex::Instance().FindEquivalent(members, dataObject);
}

std::string DATA_STRUCTURE_GenerateName() {
    const ProcedureScope scope("modDATA_STRUCTURE.DATA_STRUCTURE_GenerateName");
    std::int64_t& counter = CurrentExport().GeneratedNameSuffix;
    if (counter >= std::numeric_limits<std::int32_t>::max())
        platform::RaiseStandardError(platform::kErrOverflow, "the counter of generated structure names");
    return CurrentExport().GeneratedNamePrefix + std::to_string(counter++);
}

bool DATA_STRUCTURE_Is_DATA_STRUCTURE(const aris::ObjDef* objDef) {
    const ProcedureScope scope("modDATA_STRUCTURE.DATA_STRUCTURE_Is_DATA_STRUCTURE");
    if (!objDef || !modMappingRule::ARIS_ObjDef_Conforms_To_Mapping_Rule(objDef, clsDATA_STRUCTURE::kRuleName))
        return false;
    ARISObjDefCollection members;
    return !modMappingRule::Find_Related_ARIS_ObjDef_Using_Mapping_Rule(members, objDef, kMemberRule).Empty();
}
