#include "process/modDATA_CONNECTOR.h"

#include <string>
#include <unordered_set>

#include "process/clsACTIVITY.h"
#include "process/clsPROCESS.h"
#include "process/modConnector.h"

namespace {

constexpr const char* kReceivesRule = "FUNCTION_RECEIVES_DATA";
constexpr const char* kSendsRule = "FUNCTION_SENDS_DATA";

// Item.Guid texts of data objects, compared exactly: the same ARIS item.
using DataObjectIndex = std::unordered_set<std::string>;

bool OccursInModel(const aris::ObjDef* objDef, const aris::Model* model) {
    return objDef && !objDef->OccListInModel(model).empty();
}

Owned<clsDATA_CONNECTOR> NewConnector(std::int16_t kind, const aris::ObjDef* from, const aris::ObjDef* to,
                                      clsPROCESS& process) {
    Owned<clsDATA_CONNECTOR> connector = MakeConstruct<clsDATA_CONNECTOR>();
    connector->ConnectorKind = kind;
    connector->FROM_ARISObjectDefinition = from;
    connector->TO_ARISObjectDefinition = to;
    connector->PROCESS = &process;
    return connector;
}

// Attach the connector to its activities (once they exist) and hand it to the process.
clsDATA_CONNECTOR& AddToProcess(clsPROCESS& process, Owned<clsDATA_CONNECTOR> connector) {
    if (process.CreateActivitiesFinished)
        modConnector::AttachToActivities(process, *connector, &clsACTIVITY::Col_DATA_CONNECTOR_IN,
                                         &clsACTIVITY::Col_DATA_CONNECTOR_OUT);
    clsDATA_CONNECTOR& added = *connector;
    const std::string key = added.Key();
    process.Col_DATA_CONNECTOR.Add(std::move(connector), key);
    return added;
}

// Pass 1: one connector per pair of functions joined by a data flow.
void FindActivityToActivityConnectors(clsPROCESS& process, const ARISObjDefCollection& functions) {
    for (const aris::ObjDef* source : functions) {
        ARISObjDefCollection targets;
        modMappingRule::Find_Related_ARIS_ObjDef_Using_Mapping_Rule(targets, source, clsDATA_CONNECTOR::kPathRule);
        for (const aris::ObjDef* target : targets) {
            if (!OccursInModel(target, process.ARIS_Model)) continue;
            if (process.Col_DATA_CONNECTOR.Contains(
                    clsDATA_CONNECTOR::ConnectorKey(clsDATA_CONNECTOR::kActivityToActivity, source, target)))
                continue;
            Owned<clsDATA_CONNECTOR> connector =
                NewConnector(clsDATA_CONNECTOR::kActivityToActivity, source, target, process);
            connector->FindARISObjectDefinitionsOnConnectorPaths();
            // Tested before it is added: only the connector whose addition closes a cycle reports it.
            if (CurrentExport().Options.FindDataFlowLoops && connector->IsMemberOfInvalidDataFlowLoop(process))
                modConnector::LogFlow(48, 3140, *connector);
            modConnector::LogFlow(64, 3080, AddToProcess(process, std::move(connector)));
        }
    }
}

// The data objects that the functions reach by a rule (the objects every function of the
// process sends, or receives), each once.
DataObjectIndex DataObjectsOfFunctions(const ARISObjDefCollection& functions, const char* ruleName) {
    DataObjectIndex index;
    for (const aris::ObjDef* function : functions) {
        ARISObjDefCollection dataObjects;
        modMappingRule::Find_Related_ARIS_ObjDef_Using_Mapping_Rule(dataObjects, function, ruleName);
        for (const aris::ObjDef* dataObject : dataObjects) index.insert(dataObject->Guid());
    }
    return index;
}

// Passes 2 and 3: per function, the data objects of the model it reaches by `ownRule` that no
// function of the process reaches by `otherRule` become one connector of the kind.
void FindProcessBoundaryConnectors(clsPROCESS& process, const ARISObjDefCollection& functions, std::int16_t kind,
                                   const char* ownRule, const char* otherRule) {
    // The objects the other side reaches, gathered once for all functions.
    const DataObjectIndex reachedByOthers = DataObjectsOfFunctions(functions, otherRule);
    const bool source = kind == clsDATA_CONNECTOR::kSourceToActivity;
    for (const aris::ObjDef* function : functions) {
        ARISObjDefCollection related;
        modMappingRule::Find_Related_ARIS_ObjDef_Using_Mapping_Rule(related, function, ownRule);
        ARISObjDefCollection boundary;
        for (const aris::ObjDef* dataObject : related) {
            if (!OccursInModel(dataObject, process.ARIS_Model) || reachedByOthers.count(dataObject->Guid())) continue;
            modMappingRule::AddObjDefOnce(boundary, dataObject);
        }
        if (boundary.Empty()) continue;
        // A source flows into the function, a sink out of it.
        const aris::ObjDef* from = source ? nullptr : function;
        const aris::ObjDef* to = source ? function : nullptr;
        if (process.Col_DATA_CONNECTOR.Contains(clsDATA_CONNECTOR::ConnectorKey(kind, from, to))) continue;
        Owned<clsDATA_CONNECTOR> connector = NewConnector(kind, from, to, process);
        (source ? connector->ColInputDataObjects : connector->ColOutputDataObjects) = std::move(boundary);
        AddToProcess(process, std::move(connector));
    }
}

}  // namespace

void DATA_CONNECTOR_Create(clsPROCESS& process) {
    const ProcedureScope scope("modDATA_CONNECTOR.DATA_CONNECTOR_Create");
    DATA_CONNECTOR_Find_ARIS_Mapping(process);
    DATA_CONNECTOR_SetupProperties(process);
}

void DATA_CONNECTOR_Find_ARIS_Mapping(clsPROCESS& process) {
    const ProcedureScope scope("modDATA_CONNECTOR.DATA_CONNECTOR_Find_ARIS_Mapping");
    const ARISObjDefCollection functions = modConnector::FunctionsOfProcessModel(process);
    FindActivityToActivityConnectors(process, functions);
    FindProcessBoundaryConnectors(process, functions, clsDATA_CONNECTOR::kSourceToActivity, kReceivesRule, kSendsRule);
    FindProcessBoundaryConnectors(process, functions, clsDATA_CONNECTOR::kActivityToSink, kSendsRule, kReceivesRule);
}

void DATA_CONNECTOR_SetupProperties(clsPROCESS& process) {
    const ProcedureScope scope("modDATA_CONNECTOR.DATA_CONNECTOR_SetupProperties");
    SetupSweep(process.Col_DATA_CONNECTOR);
}
