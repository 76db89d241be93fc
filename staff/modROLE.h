#pragma once
#include "mapping/modMappingRule.h"
#include "staff/clsROLE.h"

/// One round: register the roles the rule "ROLE" selects in the models, then set them up.
void ROLE_Create(const ARISModelCollection& models);
/// Register one ROLE per selected object definition (a registered one stays); message 3060.
void ROLE_Find_ARIS_Mapping(const ARISModelCollection& models);
/// SetupProperties of every role, in registry order.
void ROLE_SetupProperties();
/// The ROLE of an object definition met during another construct's set-up: registered and set
/// up at once when new; error 2120 when the rule "ROLE" does not accept it.
clsROLE& ROLE_Add_ARIS_Mapping(const aris::ObjDef* objDef);
