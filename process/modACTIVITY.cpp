#include "process/modACTIVITY.h"

#include "process/clsPROCESS.h"
#include "process/modPROCESS.h"

namespace {

// The subprocess model of a function: the first assigned model that the rule "PROCESS"
// accepts. More than one: warning 3000 and message 3020 for each one not used.
const aris::Model* SelectAssignedModel(const aris::ObjDef& function) {
    const std::vector<const aris::Model*> assigned = function.AssignedModels();
    if (assigned.empty()) return nullptr;
    ARISModelCollection accepted = Find_ARIS_Model_In_ModelList(assigned, "PROCESS");
    if (accepted.Empty()) return nullptr;
    if (accepted.Count() > 1) {
        LogMessage(kSeverityWarning, 3000, "PROCESS", "PROCESS_ACTIVITY");
        for (std::size_t position = 2; position <= accepted.Count(); ++position) {
            const aris::Model* ignored = accepted.Item(position);
            LogMessage(kSeverityInfo, 3020, ignored->Name(CurrentExport().LocaleId),
                       ignored->TypeName(CurrentExport().LocaleId));
        }
    }
    return accepted.Item(1);
}

Owned<clsACTIVITY> NewActivity(const aris::ObjDef* function, const aris::Occurrence* occurrence) {
    Owned<clsACTIVITY> activity = MakeConstruct<clsACTIVITY>();
    activity->ARISObjectDefinition = function;
    activity->ARISObjectOccurrence = occurrence;
    activity->ARIS_XPos = occurrence->X();
    activity->ARIS_YPos = occurrence->Y();
    activity->AssignedModel = SelectAssignedModel(*function);
    return activity;
}

}  // namespace

void ACTIVITY_Create(ARISModelCollection& nextModels, clsPROCESS& process) {
    const ProcedureScope scope("modACTIVITY.ACTIVITY_Create");
    if (process.CreateActivitiesFinished) return;
    ACTIVITY_Find_ARIS_Mapping(process);
    ACTIVITY_SetupIndependentProperties(nextModels, process);
    process.CreateActivitiesFinished = true;
}

void ACTIVITY_Find_ARIS_Mapping(clsPROCESS& process) {
    const ProcedureScope scope("modACTIVITY.ACTIVITY_Find_ARIS_Mapping");
    if (!process.ARIS_Model) return;
    ARISModelCollection processModel;
    processModel.Add(process.ARIS_Model, process.ARIS_Model->Guid());
    ARISObjDefCollection functions;
    modMappingRule::Find_ARIS_ObjDef_Using_Mapping_Rule(processModel, functions, "ACTIVITY");
    for (const aris::ObjDef* function : functions) {
        std::vector<const aris::Occurrence*> occurrences = function->OccListInModel(process.ARIS_Model);
        if (occurrences.empty() || !occurrences.front()) continue;
        const clsACTIVITY& activity =
            RegisterConstruct(process.Col_ACTIVITY, NewActivity(function, occurrences.front()), function->Guid());
        LogObjectMapped(*function, activity.Is_PROCESS_ACTIVITY() ? "PROCESS_ACTIVITY" : "PROGRAM_ACTIVITY");
    }
}

void ACTIVITY_SetupIndependentProperties(ARISModelCollection& nextModels, clsPROCESS& process) {
    const ProcedureScope scope("modACTIVITY.ACTIVITY_SetupIndependentProperties");
    for (Owned<clsACTIVITY>& activity : process.Col_ACTIVITY) activity->SetupIndependentProperties(nextModels);
}

void ACTIVITY_SetupDependentProperties(clsPROCESS& process) {
    const ProcedureScope scope("modACTIVITY.ACTIVITY_SetupDependentProperties");
    for (Owned<clsACTIVITY>& activity : process.Col_ACTIVITY) activity->SetupDependentProperties(process);
}
