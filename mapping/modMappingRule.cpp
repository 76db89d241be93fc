#include "mapping/modMappingRule.h"

#include <string>

#include "app/clsExceptionHandler.h"
#include "app/modGlobals.h"

namespace modMappingRule {

namespace {

aris::LocaleId Locale() { return modGlobals::LocaleId; }

// Counts one level of relation nesting for as long as it lives, also while an error unwinds.
class NestingLevel {
public:
    NestingLevel() { ++RelationNestingCounter; }
    ~NestingLevel() { --RelationNestingCounter; }
    NestingLevel(const NestingLevel&) = delete;
    NestingLevel& operator=(const NestingLevel&) = delete;
};

// The objects one step of a rule reaches from `start`, in a new collection.
ARISObjDefCollection OneStepObjects(const aris::ObjDef* start, const clsConnectionMapping& step) {
    ARISObjDefCollection reached;
    Find_Related_ARIS_ObjDef(reached, start, step.CnxKind, step.CnxTypeNum, step.TargetObjTypeNum);
    return reached;
}

}  // namespace

bool ObjDefOccurs(const aris::ObjDef* objDef) { return objDef && objDef->HasOccurrences(); }

bool SameARISItem(const aris::Item* a, const aris::Item* b) {
    return a && b && (a == b || a->Guid() == b->Guid());
}

void AddObjDefOnce(ARISObjDefCollection& result, const aris::ObjDef* objDef) {
    std::string key = objDef->Guid();
    if (!result.Contains(key)) result.Add(objDef, key);
}

ARISObjDefCollection& Find_ARIS_ObjDef_Using_Mapping_Rule(const ARISModelCollection& models,
                                                          ARISObjDefCollection& result,
                                                          const std::string& ruleName) {
    ProcedureScope scope("modMappingRule.Find_ARIS_ObjDef_Using_Mapping_Rule");
    const clsMappingRule& rule = RetrieveMappingRule(ruleName);
    if (models.Empty()) return result;
    for (const clsObjectMapping& mapping : rule.ColObjectMapping) Find_ARIS_ObjDef(models, result, mapping.ObjTypeNum);
    return result;
}

ARISObjDefCollection& Find_ARIS_ObjDef(const ARISModelCollection& models, ARISObjDefCollection& result,
                                       std::int32_t objTypeNum) {
    ProcedureScope scope("modMappingRule.Find_ARIS_ObjDef");
    for (const aris::Model* model : models) {
        if (!model) continue;
        // ARIS's list preparation call has nothing to do on the local server.
        for (const aris::ObjDef* objDef : model->ObjDefList(objTypeNum, Locale())) {
            if (objDef && !objDef->OccListInModel(model).empty()) AddObjDefOnce(result, objDef);
        }
    }
    return result;
}

std::string Find_ARIS_ObjDef_Attribute_Using_Mapping_Rule(const aris::Item* item, const std::string& ruleName) {
    ProcedureScope scope("modMappingRule.Find_ARIS_ObjDef_Attribute_Using_Mapping_Rule");
    const clsMappingRule& rule = RetrieveMappingRule(ruleName);
    return Find_ARIS_ObjDef_Attribute(item, rule.AttributeMappingNumber());
}

std::string Find_ARIS_ObjDef_Attribute(const aris::Item* item, std::int32_t attrTypeNum) {
    ProcedureScope scope("modMappingRule.Find_ARIS_ObjDef_Attribute");
    if (!item) return "";
    if (attrTypeNum == -1) return item->Name(Locale());
    aris::Attribute attribute = item->GetAttribute(attrTypeNum, Locale());
    if (!attribute.IsMaintained()) return "";
    return attribute.GetValue(modGlobals::Options.RemoveLineBreaks);
}

ARISObjDefCollection& Find_Related_ARIS_ObjDef(ARISObjDefCollection& result, const aris::ObjDef* start,
                                               std::int32_t cnxKind, std::int32_t cnxTypeNum,
                                               std::int32_t targetObjTypeNum) {
    ProcedureScope scope("modMappingRule.Find_Related_ARIS_ObjDef");
    if (!ObjDefOccurs(start)) return result;
    for (const aris::CxnDef* cxn : start->CxnList(cnxKind, Locale(), cnxTypeNum)) {
        if (!cxn || !cxn->HasOccurrences()) continue;
        const aris::ObjDef* reached = nullptr;
        if (cnxKind == aris::kCxnIncoming) {
            reached = cxn->SourceObjDef();
        } else if (cnxKind == aris::kCxnOutgoing) {
            reached = cxn->TargetObjDef();
        } else {
            RaiseWarning(2030, std::to_string(cnxKind));
            continue;
        }
        if (reached && reached->TypeNum() == targetObjTypeNum && ObjDefOccurs(reached)) AddObjDefOnce(result, reached);
    }
    return result;
}

ARISObjDefCollection& Find_Related_ARIS_ObjDef_Using_Mapping_Rule(ARISObjDefCollection& result,
                                                                  const aris::ObjDef* start,
                                                                  const std::string& ruleName) {
    ProcedureScope scope("modMappingRule.Find_Related_ARIS_ObjDef_Using_Mapping_Rule");
    if (!start) return result;
    if (RelationNestingCounter >= kRelationNestingLimit)
        RaiseError(2230, start->Name(Locale()), start->TypeName(Locale()));
    NestingLevel level;
    if (!ObjDefOccurs(start)) return result;
    const clsMappingRule& rule = RetrieveMappingRule(ruleName);
    const int startType = start->TypeNum();
    for (const clsConnectionMapping& step : rule.ColConnectionMapping) {
        if (step.SourceObjTypeNum != startType) continue;
        if (!step.IsChainedConnection()) {
            Find_Related_ARIS_ObjDef(result, start, step.CnxKind, step.CnxTypeNum, step.TargetObjTypeNum);
            continue;
        }
        // A chained step yields what the next rule finds from each object it reaches, never
        // the objects in between.
        for (const aris::ObjDef* between : OneStepObjects(start, step))
            if (ObjDefOccurs(between)) Find_Related_ARIS_ObjDef_Using_Mapping_Rule(result, between, step.TargetObjRule);
    }
    return result;
}

ARISObjDefCollection Related_ARIS_ObjDefs_Using_Mapping_Rule(const aris::ObjDef* start, const std::string& ruleName) {
    ARISObjDefCollection related;
    Find_Related_ARIS_ObjDef_Using_Mapping_Rule(related, start, ruleName);
    return related;
}

bool ARIS_ObjDef_Is_Related_To_ARIS_ObjDef_Using_Mapping_Rule(const aris::ObjDef* from, const aris::ObjDef* to,
                                                              const std::string& ruleName) {
    ProcedureScope scope("modMappingRule.ARIS_ObjDef_Is_Related_To_ARIS_ObjDef_Using_Mapping_Rule");
    if (!ObjDefOccurs(from) || !ObjDefOccurs(to)) return false;
    const clsMappingRule& rule = RetrieveMappingRule(ruleName);
    const int fromType = from->TypeNum();
    for (const clsConnectionMapping& step : rule.ColConnectionMapping) {
        if (step.SourceObjTypeNum != fromType) continue;
        for (const aris::ObjDef* reached : OneStepObjects(from, step)) {
            if (!ObjDefOccurs(reached)) continue;
            if (!step.IsChainedConnection()) {
                if (SameARISItem(reached, to)) return true;
                continue;
            }
            ARISObjDefCollection chained;
            Find_Related_ARIS_ObjDef_Using_Mapping_Rule(chained, reached, step.TargetObjRule);
            const aris::ObjDef* const* hit = chained.Find(to->Guid());
            if (hit && SameARISItem(*hit, to)) return true;
        }
    }
    return false;
}

bool ARIS_ObjDef_Conforms_To_Mapping_Rule(const aris::ObjDef* objDef, const std::string& ruleName) {
    ProcedureScope scope("modMappingRule.ARIS_ObjDef_Conforms_To_Mapping_Rule");
    const clsMappingRule& rule = RetrieveMappingRule(ruleName);
    if (!objDef) return false;
    const int type = objDef->TypeNum();
    for (const clsObjectMapping& mapping : rule.ColObjectMapping)
        if (mapping.ObjTypeNum == type) return true;
    return false;
}

}  // namespace modMappingRule
