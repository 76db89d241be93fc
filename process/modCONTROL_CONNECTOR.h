#pragma once
#include "process/clsCONTROL_CONNECTOR.h"

class clsPROCESS;

/// Find the control connectors of a process, then set them up.
void CONTROL_CONNECTOR_Create(clsPROCESS& process);
/// One connector per function of the process model that the rule "ACTIVITY" selects and per
/// function that the rule "FUNCTION_SENDS_CONTROL_TO_FUNCTION" relates to it and that occurs in
/// the model, in model order: paths found, attached to the IN/OUT collections of the two
/// activities, tested for a loop (warning 3130 with the option FindControlFlowLoops), added to
/// the process's Col_CONTROL_CONNECTOR and logged with message 3070.
void CONTROL_CONNECTOR_Find_ARIS_Mapping(clsPROCESS& process);
/// SetupProperties of every control connector of the process, in order.
void CONTROL_CONNECTOR_SetupProperties(clsPROCESS& process);
