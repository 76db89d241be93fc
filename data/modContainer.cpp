#include "data/modContainer.h"

#include "data/modDATA_STRUCTURE.h"

const clsDATA_STRUCTURE* ChooseContainer(const ARISObjDefCollection& dataObjects) {
    const ProcedureScope scope("modContainer.ChooseContainer");
    if (dataObjects.Empty()) return nullptr;
    if (dataObjects.Count() > 1) return &DATA_STRUCTURE_Generate(dataObjects);
    const aris::ObjDef* only = dataObjects.Item(1);
    if (DATA_STRUCTURE_Is_DATA_STRUCTURE(only)) return &DATA_STRUCTURE_Add_ARIS_Mapping(only);
    if (modMappingRule::ARIS_ObjDef_Conforms_To_Mapping_Rule(only, clsDATA_STRUCTURE::kRuleName))
        return &DATA_STRUCTURE_Generate(dataObjects);
    // Neither a structure nor a data object (possible with a profile): the default stays.
    return nullptr;
}
