#include "process/modPROGRAM.h"

namespace {

using Lifecycle = ObjDefLifecycle<clsPROGRAM>;

}  // namespace

void PROGRAM_Create(const ARISModelCollection& models) { Lifecycle::Create(models); }

void PROGRAM_Find_ARIS_Mapping(const ARISModelCollection& models) { Lifecycle::Find_ARIS_Mapping(models); }

void PROGRAM_SetupProperties() { Lifecycle::SetupProperties(); }

clsPROGRAM& PROGRAM_Add_ARIS_Mapping(const aris::ObjDef* objDef) { return Lifecycle::Add_ARIS_Mapping(objDef); }
