#include "data/modDATA_MEMBER.h"

#include "data/modDATA_STRUCTURE.h"

namespace {
constexpr const char* kProcedure = "modDATA_MEMBER.DATA_MEMBER_Add_ARIS_Mapping";
}  // namespace

PendingDATA_MEMBER DATA_MEMBER_Begin_ARIS_Mapping(const aris::ObjDef* objDef) {
    const ProcedureScope scope(kProcedure);
    if (!objDef) throw platform::Error(91, "Object variable not set: no object definition for a DATA_MEMBER");
    if (!modMappingRule::ARIS_ObjDef_Conforms_To_Mapping_Rule(objDef, "DATA_OBJECT"))
        RaiseError(2120, objDef->TypeName(CurrentExport().LocaleId), objDef->Name(CurrentExport().LocaleId),
                   "DATA_OBJECT");
    PendingDATA_MEMBER pending;
    auto& registry = clsDATA_MEMBER::Registry();
    if (ARIS_ObjDefIsMemberOfCollection(objDef, registry)) {
        pending.registered = registry.Item(objDef->Guid()).get();
        return pending;
    }
    pending.member = MakeConstruct<clsDATA_MEMBER>();
    pending.member->ARISObjectDefinition = objDef;
    if (DATA_STRUCTURE_Is_DATA_STRUCTURE(objDef)) {
        // The nested structure is registered (and set up) before the member that stands for it.
        bool isNew = false;
        pending.member->DATA_STRUCTURE = &DATA_STRUCTURE_Register_ARIS_Mapping(objDef, isNew);
        pending.member->IsDataStructure = true;
        if (isNew) pending.structureToSetUp = pending.member->DATA_STRUCTURE;
    }
    return pending;
}

clsDATA_MEMBER& DATA_MEMBER_Finish_ARIS_Mapping(PendingDATA_MEMBER&& pending) {
    const ProcedureScope scope(kProcedure);
    if (pending.registered) return *pending.registered;
    const aris::ObjDef* objDef = pending.member->ARISObjectDefinition;
    if (pending.structureToSetUp) DATA_STRUCTURE_Finish_ARIS_Mapping(*objDef);
    // A member registered for the object meanwhile (the object is a member of its own nested
    // structures) stays; this one is dropped.
    clsDATA_MEMBER& registered =
        RegisterConstruct(clsDATA_MEMBER::Registry(), std::move(pending.member), objDef->Guid());
    registered.SetupProperties();
    LogObjectMapped(*objDef, clsDATA_MEMBER::kKindName);
    return registered;
}

clsDATA_MEMBER& DATA_MEMBER_Add_ARIS_Mapping(const aris::ObjDef* objDef) {
    PendingDATA_MEMBER pending = DATA_MEMBER_Begin_ARIS_Mapping(objDef);
    if (pending.structureToSetUp) pending.structureToSetUp->SetupProperties();
    return DATA_MEMBER_Finish_ARIS_Mapping(std::move(pending));
}
