#pragma once
#include <string>

#include "data/clsDATA_STRUCTURE.h"
#include "mapping/modMappingRule.h"

/// One round: register a structure for every data object of the models that has members, then
/// set up the registry.
void DATA_STRUCTURE_Create(const ARISModelCollection& models);
/// Register a structure for every data object ("DATA_OBJECT") of the models that has members
/// ("DATA_STRUCTURE_MEMBER") and no equivalent structure yet; message 3060 for each.
void DATA_STRUCTURE_Find_ARIS_Mapping(const ARISModelCollection& models);
/// SetupProperties of every registered structure, in registry order.
void DATA_STRUCTURE_SetupProperties();
/// The structure of one data object, created, registered and set up on demand (no equivalence
/// test). An object that is no data object: error 2120.
clsDATA_STRUCTURE& DATA_STRUCTURE_Add_ARIS_Mapping(const aris::ObjDef* objDef);
/// DATA_STRUCTURE_Add_ARIS_Mapping in two halves, for the set-up of nested structures without
/// nested calls: the checks and the registered or newly registered structure (`isNew`: it
/// still needs its set-up), then, once a new one is set up, its message 3060.
clsDATA_STRUCTURE& DATA_STRUCTURE_Register_ARIS_Mapping(const aris::ObjDef* objDef, bool& isNew);
void DATA_STRUCTURE_Finish_ARIS_Mapping(const aris::ObjDef& objDef);
/// A registered structure whose members are exactly the objects, or else a new generated
/// structure of them (registered without key and set up).
clsDATA_STRUCTURE& DATA_STRUCTURE_Generate(const ARISObjDefCollection& objects);
/// The first registered structure whose members are exactly the given objects; with a data
/// object given, the search ends without result at the first registered structure of another
/// data object. nullptr when there is none.
clsDATA_STRUCTURE* DATA_STRUCTURE_FindEquivalentStructure(const ARISObjDefCollection& members,
                                                          const aris::ObjDef* dataObject);
/// The next generated name: the prefix followed by the counter, which then grows by 1.
std::string DATA_STRUCTURE_GenerateName();
/// True when the object is a data object that has at least one member.
bool DATA_STRUCTURE_Is_DATA_STRUCTURE(const aris::ObjDef* objDef);
