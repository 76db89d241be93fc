#include "staff/modORGANIZATION.h"

void ORGANIZATION_Create(const ARISModelCollection& models) { ObjDefLifecycle<clsORGANIZATION>::Create(models); }

void ORGANIZATION_Find_ARIS_Mapping(const ARISModelCollection& models) {
    ObjDefLifecycle<clsORGANIZATION>::Find_ARIS_Mapping(models);
}

void ORGANIZATION_SetupProperties() { ObjDefLifecycle<clsORGANIZATION>::SetupProperties(); }

clsORGANIZATION& ORGANIZATION_Add_ARIS_Mapping(const aris::ObjDef* objDef) {
    return ObjDefLifecycle<clsORGANIZATION>::Add_ARIS_Mapping(objDef);
}
