#pragma once
#include "process/clsDATA_CONNECTOR.h"

class clsPROCESS;

/// Find the data connectors of a process, then set them up.
void DATA_CONNECTOR_Create(clsPROCESS& process);
/// The data connectors of a process, in three passes over the functions of its model that the
/// rule "ACTIVITY" selects, in model order:
/// 1. one connector (kind 1) per function that the rule "FUNCTION_SENDS_DATA_TO_FUNCTION"
///    relates to it and that occurs in the model: paths found, attached to the IN/OUT
///    collections of the two activities, tested for a loop (warning 3140 with the option
///    FindDataFlowLoops), logged with message 3080;
/// 2. one source connector (kind 2) per function that receives data objects of the model that
///    no function of the model sends;
/// 3. one sink connector (kind 3) per function that sends data objects of the model that no
///    function of the model receives.
void DATA_CONNECTOR_Find_ARIS_Mapping(clsPROCESS& process);
/// SetupProperties of every data connector of the process, in order.
void DATA_CONNECTOR_SetupProperties(clsPROCESS& process);
