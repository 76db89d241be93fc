#pragma once
#include "data/clsDATA_MEMBER.h"

/// The member construct of one data object: the registered one, or a new one (for a data
/// object that is a structure, with that structure created first), registered, set up and
/// logged with message 3060. An object that is no data object: error 2120.
clsDATA_MEMBER& DATA_MEMBER_Add_ARIS_Mapping(const aris::ObjDef* objDef);
