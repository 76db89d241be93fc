#include "process/modCONTROL_CONNECTOR.h"

#include "process/clsACTIVITY.h"
#include "process/clsPROCESS.h"
#include "process/modConnector.h"

void CONTROL_CONNECTOR_Create(clsPROCESS& process) {
    const ProcedureScope scope("modCONTROL_CONNECTOR.CONTROL_CONNECTOR_Create");
    CONTROL_CONNECTOR_Find_ARIS_Mapping(process);
    CONTROL_CONNECTOR_SetupProperties(process);
}

void CONTROL_CONNECTOR_Find_ARIS_Mapping(clsPROCESS& process) {
    const ProcedureScope scope("modCONTROL_CONNECTOR.CONTROL_CONNECTOR_Find_ARIS_Mapping");
    for (const aris::ObjDef* source : modConnector::FunctionsOfProcessModel(process)) {
        ARISObjDefCollection targets;
        modMappingRule::Find_Related_ARIS_ObjDef_Using_Mapping_Rule(targets, source, clsCONTROL_CONNECTOR::kPathRule);
        for (const aris::ObjDef* target : targets) {
            if (target->OccListInModel(process.ARIS_Model).empty()) continue;
            // Sources and targets are keyed collections, so a pair comes once; a pair met again
            // would leave the activities holding a dropped connector.
            if (process.Col_CONTROL_CONNECTOR.Contains(clsCONTROL_CONNECTOR::ConnectorKey(source, target))) continue;
            Owned<clsCONTROL_CONNECTOR> connector = MakeConstruct<clsCONTROL_CONNECTOR>();
            connector->FROM_ARISObjectDefinition = source;
            connector->TO_ARISObjectDefinition = target;
            connector->PROCESS = &process;
            connector->FindARISObjectDefinitionsOnConnectorPaths();
            if (process.CreateActivitiesFinished)
                modConnector::AttachToActivities(process, *connector, &clsACTIVITY::Col_CONTROL_CONNECTOR_IN,
                                                 &clsACTIVITY::Col_CONTROL_CONNECTOR_OUT);
            // Tested before it is added: only the connector whose addition closes a cycle reports it.
            if (CurrentExport().Options.FindControlFlowLoops && connector->IsMemberOfInvalidControlFlowLoop(process))
                modConnector::LogFlow(48, 3130, *connector);
            const clsCONTROL_CONNECTOR& added = *connector;
            const std::string key = added.Key();
            process.Col_CONTROL_CONNECTOR.Add(std::move(connector), key);
            modConnector::LogFlow(64, 3070, added);
        }
    }
}

void CONTROL_CONNECTOR_SetupProperties(clsPROCESS& process) {
    const ProcedureScope scope("modCONTROL_CONNECTOR.CONTROL_CONNECTOR_SetupProperties");
    SetupSweep(process.Col_CONTROL_CONNECTOR);
}
