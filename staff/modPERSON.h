#pragma once
#include "mapping/modMappingRule.h"
#include "staff/clsPERSON.h"

/// One round: register the persons the rule "PERSON" selects in the models, then set them up.
void PERSON_Create(const ARISModelCollection& models);
/// Register one PERSON per selected object definition (a registered one stays); message 3060.
void PERSON_Find_ARIS_Mapping(const ARISModelCollection& models);
/// SetupProperties of every person, in registry order.
void PERSON_SetupProperties();
/// The PERSON of an object definition met during another construct's set-up: registered and
/// set up at once when new; error 2120 when the rule "PERSON" does not accept it.
clsPERSON& PERSON_Add_ARIS_Mapping(const aris::ObjDef* objDef);
