#include "connectors/modCONTROL_CONNECTOR.h"

#include "connectors/modConnector.h"
#include "constructs/clsACTIVITY.h"
#include "constructs/clsPROCESS.h"

namespace {

void AddOnce(platform::OrderedCollection<clsCONTROL_CONNECTOR*>& connectors, clsCONTROL_CONNECTOR& connector) {
    std::string key = connector.Key();
    if (!connectors.Contains(key)) connectors.Add(&connector, key);
}

// The connector joins the outgoing connectors of FROM's activity and the incoming ones of TO's.
void AttachToActivities(clsPROCESS& process, clsCONTROL_CONNECTOR& connector) {
    if (clsACTIVITY* target = modConnector::ActivityOfFunction(process, connector.TO_ARISObjectDefinition))
        AddOnce(target->Col_CONTROL_CONNECTOR_IN, connector);
    if (clsACTIVITY* source = modConnector::ActivityOfFunction(process, connector.FROM_ARISObjectDefinition))
        AddOnce(source->Col_CONTROL_CONNECTOR_OUT, connector);
}

// Messages 3070 and 3130 name both functions with their type names.
void LogControlFlow(int severity, int id, const clsCONTROL_CONNECTOR& connector) {
    const aris::ObjDef& from = *connector.FROM_ARISObjectDefinition;
    const aris::ObjDef& to = *connector.TO_ARISObjectDefinition;
    const aris::LocaleId locale = modGlobals::LocaleId;
    LogMessage(severity, id, from.TypeName(locale), from.Name(locale), to.TypeName(locale), to.Name(locale));
}

}  // namespace

void CONTROL_CONNECTOR_Create(clsPROCESS& process) {
    ProcedureScope scope("modCONTROL_CONNECTOR.CONTROL_CONNECTOR_Create");
    CONTROL_CONNECTOR_Find_ARIS_Mapping(process);
    CONTROL_CONNECTOR_SetupProperties(process);
}

void CONTROL_CONNECTOR_Find_ARIS_Mapping(clsPROCESS& process) {
    ProcedureScope scope("modCONTROL_CONNECTOR.CONTROL_CONNECTOR_Find_ARIS_Mapping");
    if (!process.ARIS_Model) throw platform::Error(91, "Object variable not set: the process has no ARIS model");
    ARISModelCollection models;
    models.Add(process.ARIS_Model, process.ARIS_Model->Guid());
    ARISObjDefCollection sources;
    modMappingRule::Find_ARIS_ObjDef_Using_Mapping_Rule(models, sources, "ACTIVITY");
    for (const aris::ObjDef* source : sources) {
        ARISObjDefCollection targets;
        modMappingRule::Find_Related_ARIS_ObjDef_Using_Mapping_Rule(targets, source,
                                                                    clsCONTROL_CONNECTOR::kPathRule);
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
            if (process.CreateActivitiesFinished) AttachToActivities(process, *connector);
            // Tested before it is added: only the connector whose addition closes a cycle reports it.
            if (modGlobals::Options.FindControlFlowLoops && connector->IsMemberOfInvalidControlFlowLoop(process))
                LogControlFlow(48, 3130, *connector);
            clsCONTROL_CONNECTOR& added = *connector;
            std::string key = added.Key();
            process.Col_CONTROL_CONNECTOR.Add(std::move(connector), key);
            LogControlFlow(64, 3070, added);
        }
    }
}

void CONTROL_CONNECTOR_SetupProperties(clsPROCESS& process) {
    ProcedureScope scope("modCONTROL_CONNECTOR.CONTROL_CONNECTOR_SetupProperties");
    SetupSweep(process.Col_CONTROL_CONNECTOR);
}
