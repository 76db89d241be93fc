#pragma once
#include "process/clsPROGRAM.h"

/// One round: register a program for every object the rule "PROGRAM" selects in the models,
/// then set up the registry.
void PROGRAM_Create(const ARISModelCollection& models);
/// Register one program per object definition the rule "PROGRAM" selects; message 3060 each.
void PROGRAM_Find_ARIS_Mapping(const ARISModelCollection& models);
/// SetupProperties of every registered program, in registry order.
void PROGRAM_SetupProperties();
/// The program of an object definition met while another construct is set up (an activity's
/// program): the registered one, or a new one set up at once (message 3060). An object that
/// the rule "PROGRAM" does not accept: error 2120.
clsPROGRAM& PROGRAM_Add_ARIS_Mapping(const aris::ObjDef* objDef);
