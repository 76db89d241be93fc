#include "staff/modPERSON.h"

void PERSON_Create(const ARISModelCollection& models) { ObjDefLifecycle<clsPERSON>::Create(models); }

void PERSON_Find_ARIS_Mapping(const ARISModelCollection& models) {
    ObjDefLifecycle<clsPERSON>::Find_ARIS_Mapping(models);
}

void PERSON_SetupProperties() { ObjDefLifecycle<clsPERSON>::SetupProperties(); }

clsPERSON& PERSON_Add_ARIS_Mapping(const aris::ObjDef* objDef) {
    return ObjDefLifecycle<clsPERSON>::Add_ARIS_Mapping(objDef);
}
