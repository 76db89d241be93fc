#pragma once
#include "data/clsDATA_MEMBER.h"

/// The member construct of one data object: the registered one, or a new one (for a data
/// object that is a structure, with that structure created first), registered, set up and
/// logged with message 3060. An object that is no data object: error 2120.
clsDATA_MEMBER& DATA_MEMBER_Add_ARIS_Mapping(const aris::ObjDef* objDef);

/// A member on its way into the registry (see DATA_MEMBER_Begin_ARIS_Mapping).
struct PendingDATA_MEMBER {
    /// The member already registered for the object; nothing else is set then.
    clsDATA_MEMBER* registered = nullptr;
    /// The new member, not yet registered.
    Owned<clsDATA_MEMBER> member{nullptr, nullptr};
    /// The structure the new member stands for when it was registered just now: it is set up
    /// before DATA_MEMBER_Finish_ARIS_Mapping.
    clsDATA_STRUCTURE* structureToSetUp = nullptr;
};

/// DATA_MEMBER_Add_ARIS_Mapping in two halves, so that the structure a new member stands for
/// can be set up in between by the caller, without nested calls. The first half: the checks,
/// the registered member or a new one, and the structure it stands for registered.
PendingDATA_MEMBER DATA_MEMBER_Begin_ARIS_Mapping(const aris::ObjDef* objDef);
/// The second half: for a new member, the message 3060 of its new structure, then the member
/// registered, set up and logged. Returns the member registered for the object.
clsDATA_MEMBER& DATA_MEMBER_Finish_ARIS_Mapping(PendingDATA_MEMBER&& pending);
