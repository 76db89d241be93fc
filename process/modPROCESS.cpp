#include "process/modPROCESS.h"

#include "runtime/modProgress.h"

namespace {

ConstructRegistry<clsPROCESS>& Processes() { return RegistryOf(CurrentExport().Col_PROCESS); }

// How this export sets its processes up: what happens to a process once it is set up.
struct ProcessSetup {
    std::function<void(clsPROCESS&)> afterSetup;
};

ProcessSetup& Setup() { return CurrentExport().Part<ProcessSetup>(); }

// Add the model under its Item.Guid when the rule accepts its model type (first match).
void AddModelAcceptedByRule(const clsMappingRule& rule, const aris::Model* model, ARISModelCollection& result) {
    if (!model) return;
    for (const clsObjectMapping& mapping : rule.ColObjectMapping) {
        if (mapping.ObjTypeNum != model->TypeNum()) continue;
        const std::string key = model->Guid();
        if (!result.Contains(key)) result.Add(model, key);
        return;
    }
}

template <class Models>
ARISModelCollection ModelsAcceptedByRule(const Models& models, const std::string& ruleName) {
    const clsMappingRule& rule = modMappingRule::RetrieveMappingRule(ruleName);
    ARISModelCollection result;
    for (const aris::Model* model : models) AddModelAcceptedByRule(rule, model, result);
    return result;
}

}  // namespace

ARISModelCollection PROCESS_Create(const ARISModelCollection& models) {
    const ProcedureScope scope("modPROCESS.PROCESS_Create");
    PROCESS_Find_ARIS_Mapping(models);
    return PROCESS_SetupProperties();
}

void PROCESS_Find_ARIS_Mapping(const ARISModelCollection& models) {
    const ProcedureScope scope("modPROCESS.PROCESS_Find_ARIS_Mapping");
    for (const aris::Model* model : PROCESS_Find_ARIS_Model_In_ModelCollection_Using_Mapping_Rule(models, "PROCESS")) {
        Owned<clsPROCESS> process = MakeConstruct<clsPROCESS>();
        process->ARIS_Model = model;
        process->ARIS_Group = model->Group();
        RegisterConstruct(Processes(), std::move(process), model->Guid());
        LogMessage(kSeverityInfo, 3050, model->Name(CurrentExport().LocaleId));
    }
}

ARISModelCollection PROCESS_SetupProperties() {
    const ProcedureScope scope("modPROCESS.PROCESS_SetupProperties");
    ARISModelCollection nextModels;
    ConstructRegistry<clsPROCESS>& processes = Processes();
    for (std::size_t position = 1; position <= processes.Count(); ++position) {
        modProgress::ProcessStarted(position, processes.Count());
        clsPROCESS& process = *processes.Item(position);
        process.SetupProperties(nextModels);
        if (Setup().afterSetup) Setup().afterSetup(process);
    }
    return nextModels;
}

void PROCESS_AfterSetup(std::function<void(clsPROCESS&)> step) { Setup().afterSetup = std::move(step); }

ARISModelCollection PROCESS_Find_ARIS_Model_In_ModelCollection_Using_Mapping_Rule(const ARISModelCollection& models,
                                                                                  const std::string& ruleName) {
    const ProcedureScope scope("modPROCESS.PROCESS_Find_ARIS_Model_In_ModelCollection_Using_Mapping_Rule");
    return ModelsAcceptedByRule(models, ruleName);
}

ARISModelCollection Find_ARIS_Model_In_ModelList(const std::vector<const aris::Model*>& models,
                                                 const std::string& ruleName) {
    const ProcedureScope scope("modPROCESS.Find_ARIS_Model_In_ModelList");
    return ModelsAcceptedByRule(models, ruleName);
}

std::string PROCESS_Find_ARIS_Model_Attribute(const aris::Model* model, int attrTypeNum) {
    const ProcedureScope scope("modPROCESS.PROCESS_Find_ARIS_Model_Attribute");
    return modMappingRule::Find_ARIS_ObjDef_Attribute(model, attrTypeNum);
}

std::string PROCESS_Find_ARIS_Model_Attribute_Using_Mapping_Rule(const aris::Model* model,
                                                                 const std::string& ruleName) {
    const ProcedureScope scope("modPROCESS.PROCESS_Find_ARIS_Model_Attribute_Using_Mapping_Rule");
    return PROCESS_Find_ARIS_Model_Attribute(model,
                                             modMappingRule::RetrieveMappingRule(ruleName).AttributeMappingNumber());
}
