#pragma once
#include "mapping/modMappingRule.h"
#include "staff/clsORGANIZATION.h"

/// One round: register the organizations the rule "ORGANIZATION" selects in the models, then
/// set them up.
void ORGANIZATION_Create(const ARISModelCollection& models);
/// Register one ORGANIZATION per selected object definition (a registered one stays); 3060.
void ORGANIZATION_Find_ARIS_Mapping(const ARISModelCollection& models);
/// SetupProperties of every organization, in registry order.
void ORGANIZATION_SetupProperties();
/// The ORGANIZATION of an object definition met during another construct's set-up: registered
/// and set up at once when new; error 2120 when the rule "ORGANIZATION" does not accept it.
clsORGANIZATION& ORGANIZATION_Add_ARIS_Mapping(const aris::ObjDef* objDef);
