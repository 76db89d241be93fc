#include "staff/modROLE.h"

void ROLE_Create(const ARISModelCollection& models) { ObjDefLifecycle<clsROLE>::Create(models); }

void ROLE_Find_ARIS_Mapping(const ARISModelCollection& models) { ObjDefLifecycle<clsROLE>::Find_ARIS_Mapping(models); }

void ROLE_SetupProperties() { ObjDefLifecycle<clsROLE>::SetupProperties(); }

clsROLE& ROLE_Add_ARIS_Mapping(const aris::ObjDef* objDef) {
    return ObjDefLifecycle<clsROLE>::Add_ARIS_Mapping(objDef);
}
