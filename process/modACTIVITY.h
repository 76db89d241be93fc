#pragma once
#include "process/clsACTIVITY.h"

class clsPROCESS;

/// Once per process: find its activities and run their independent set-up.
void ACTIVITY_Create(ARISModelCollection& nextModels, clsPROCESS& process);
/// Register an activity for every function the rule "ACTIVITY" selects that occurs in the
/// process model (first occurrence, assigned subprocess model); message 3060 per activity.
void ACTIVITY_Find_ARIS_Mapping(clsPROCESS& process);
/// SetupIndependentProperties of every activity of the process, in order.
void ACTIVITY_SetupIndependentProperties(ARISModelCollection& nextModels, clsPROCESS& process);
/// SetupDependentProperties of every activity of the process, in order.
void ACTIVITY_SetupDependentProperties(clsPROCESS& process);
