#include "data/modDATA_MEMBER.h"

#include "data/modDATA_STRUCTURE.h"

clsDATA_MEMBER& DATA_MEMBER_Add_ARIS_Mapping(const aris::ObjDef* objDef) {
    ProcedureScope scope("modDATA_MEMBER.DATA_MEMBER_Add_ARIS_Mapping");
    if (!objDef) throw platform::Error(91, "Object variable not set: no object definition for a DATA_MEMBER");
    if (!modMappingRule::ARIS_ObjDef_Conforms_To_Mapping_Rule(objDef, "DATA_OBJECT"))
        RaiseError(2120, objDef->TypeName(modGlobals::LocaleId), objDef->Name(modGlobals::LocaleId), "DATA_OBJECT");
    auto& registry = clsDATA_MEMBER::Registry();
    if (ARIS_ObjDefIsMemberOfCollection(objDef, registry)) return *registry.Item(objDef->Guid());
    Owned<clsDATA_MEMBER> member = MakeConstruct<clsDATA_MEMBER>();
    member->ARISObjectDefinition = objDef;
    if (DATA_STRUCTURE_Is_DATA_STRUCTURE(objDef)) {
        // The nested structure is registered and set up before the member that stands for it.
        member->DATA_STRUCTURE = &DATA_STRUCTURE_Add_ARIS_Mapping(objDef);
        member->IsDataStructure = true;
    }
    clsDATA_MEMBER& registered = RegisterConstruct(registry, std::move(member), objDef->Guid());
    registered.SetupProperties();
    LogObjectMapped(*objDef, clsDATA_MEMBER::kKindName);
    return registered;
}
