#include "mapping/modMappingRule.h"

#include <algorithm>
#include <functional>
#include <string>
#include <unordered_map>

#include "runtime/clsExceptionHandler.h"
#include "runtime/modGlobals.h"

namespace modMappingRule {

namespace {

aris::LocaleId Locale() { return CurrentExport().LocaleId; }

// Counts one level of relation nesting for as long as it lives, also while an error unwinds.
class NestingLevel {
public:
    NestingLevel() { ++RelationNestingCounter(); }
    ~NestingLevel() { --RelationNestingCounter(); }
    NestingLevel(const NestingLevel&) = delete;
    NestingLevel& operator=(const NestingLevel&) = delete;
};

// The objects one step of a rule reaches from `start`, in a new collection.
ARISObjDefCollection OneStepObjects(const aris::ObjDef* start, const clsConnectionMapping& step) {
    ARISObjDefCollection reached;
    Find_Related_ARIS_ObjDef(reached, start, step.CnxKind, step.CnxTypeNum, step.TargetObjTypeNum);
    return reached;
}

// One relation search into one result collection. An object whose walk under a rule is complete
// is remembered with the depth that walk reached: met again on another route under the same
// rule, it is not walked again, since everything the walk finds is in the result already.
// Without this, branches that join again (a ladder of XOR rules) are walked once per route,
// twice as often with every branch. A walk is walked again when it showed a warning (which
// each walk shows anew) or when, from where it is met now, it would reach the nesting limit.
class RelationSearch {
public:
    struct Walk {
        int depth = 0;      // nesting levels entered below the start object
        bool quiet = true;  // no warning can have been shown on the way
    };

    explicit RelationSearch(ARISObjDefCollection& result) : result_(result) {}

    Walk Find(const aris::ObjDef* start, const std::string& ruleName) {
        const ProcedureScope scope("modMappingRule.Find_Related_ARIS_ObjDef_Using_Mapping_Rule");
        Walk walk;
        if (!start) return walk;
        if (RelationNestingCounter() >= kRelationNestingLimit)
            RaiseError(2230, start->Name(Locale()), start->TypeName(Locale()));
        const NestingLevel level;
        if (!ObjDefOccurs(start)) return walk;
        const clsMappingRule& rule = RetrieveMappingRule(ruleName);
        const int startType = start->TypeNum();
        for (const clsConnectionMapping& step : rule.ColConnectionMapping) {
            if (step.SourceObjTypeNum != startType) continue;
            // Another direction than incoming or outgoing warns for each connection listed.
            if (step.CnxKind != aris::kCxnIncoming && step.CnxKind != aris::kCxnOutgoing) walk.quiet = false;
            if (!step.IsChainedConnection()) {
                Find_Related_ARIS_ObjDef(result_, start, step.CnxKind, step.CnxTypeNum, step.TargetObjTypeNum);
                continue;
            }
            // A chained step yields what the next rule finds from each object it reaches, never
            // the objects in between.
            for (const aris::ObjDef* between : OneStepObjects(start, step)) {
                if (!ObjDefOccurs(between)) continue;
                int depth = 0;
                if (!WalkedBefore(between, step.TargetObjRule, depth)) {
                    const Walk inner = Find(between, step.TargetObjRule);
                    depth = inner.depth;
                    walk.quiet = walk.quiet && inner.quiet;
                }
                walk.depth = std::max(walk.depth, depth + 1);
            }
        }
        // A walk without chained steps costs no more than looking it up: it is not kept.
        if (walk.quiet && walk.depth > 0) walked_[Key{start, &rule}] = walk.depth;
        return walk;
    }

private:
    using Key = ObjDefUnderRule;
    using KeyHash = ObjDefUnderRuleHash;

    // True when the object's walk under the rule is complete, showed no warning and stays below
    // the nesting limit from here; `depth` is then the depth it reached.
    bool WalkedBefore(const aris::ObjDef* object, const std::string& ruleName, int& depth) const {
        const std::unique_ptr<clsMappingRule>* rule = ColMappingRules().Find(ruleName);
        if (!rule) return false;
        auto found = walked_.find(Key{object, rule->get()});
        if (found == walked_.end() || RelationNestingCounter() + found->second >= kRelationNestingLimit) return false;
        depth = found->second;
        return true;
    }

    ARISObjDefCollection& result_;
    std::unordered_map<Key, int, KeyHash> walked_;
};

}  // namespace

bool ObjDefOccurs(const aris::ObjDef* objDef) { return objDef && objDef->HasOccurrences(); }

bool SameARISItem(const aris::Item* a, const aris::Item* b) {
    return a && b && (a == b || a->GuidView() == b->GuidView());
}

void AddObjDefOnce(ARISObjDefCollection& result, const aris::ObjDef* objDef) {
    const std::string_view key = objDef->GuidView();
    if (!result.Contains(key)) result.Add(objDef, key);
}

ARISObjDefCollection& Find_ARIS_ObjDef_Using_Mapping_Rule(const ARISModelCollection& models,
                                                          ARISObjDefCollection& result, const std::string& ruleName) {
    const ProcedureScope scope("modMappingRule.Find_ARIS_ObjDef_Using_Mapping_Rule");
    const clsMappingRule& rule = RetrieveMappingRule(ruleName);
    if (models.Empty()) return result;
    for (const clsObjectMapping& mapping : rule.ColObjectMapping) Find_ARIS_ObjDef(models, result, mapping.ObjTypeNum);
    return result;
}

ARISObjDefCollection& Find_ARIS_ObjDef(const ARISModelCollection& models, ARISObjDefCollection& result,
                                       std::int32_t objTypeNum) {
    const ProcedureScope scope("modMappingRule.Find_ARIS_ObjDef");
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
    const ProcedureScope scope("modMappingRule.Find_ARIS_ObjDef_Attribute_Using_Mapping_Rule");
    const clsMappingRule& rule = RetrieveMappingRule(ruleName);
    return Find_ARIS_ObjDef_Attribute(item, rule.AttributeMappingNumber());
}

std::string Find_ARIS_ObjDef_Attribute(const aris::Item* item, std::int32_t attrTypeNum) {
    const ProcedureScope scope("modMappingRule.Find_ARIS_ObjDef_Attribute");
    if (!item) return "";
    if (attrTypeNum == -1) return item->Name(Locale());
    const aris::Attribute attribute = item->GetAttribute(attrTypeNum, Locale());
    if (!attribute.IsMaintained()) return "";
    return attribute.GetValue(CurrentExport().Options.RemoveLineBreaks);
}

ARISObjDefCollection& Find_Related_ARIS_ObjDef(ARISObjDefCollection& result, const aris::ObjDef* start,
                                               std::int32_t cnxKind, std::int32_t cnxTypeNum,
                                               std::int32_t targetObjTypeNum) {
    const ProcedureScope scope("modMappingRule.Find_Related_ARIS_ObjDef");
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
    RelationSearch(result).Find(start, ruleName);
    return result;
}

ARISObjDefCollection Related_ARIS_ObjDefs_Using_Mapping_Rule(const aris::ObjDef* start, const std::string& ruleName) {
    ARISObjDefCollection related;
    Find_Related_ARIS_ObjDef_Using_Mapping_Rule(related, start, ruleName);
    return related;
}

bool ARIS_ObjDef_Is_Related_To_ARIS_ObjDef_Using_Mapping_Rule(const aris::ObjDef* from, const aris::ObjDef* to,
                                                              const std::string& ruleName) {
    const ProcedureScope scope("modMappingRule.ARIS_ObjDef_Is_Related_To_ARIS_ObjDef_Using_Mapping_Rule");
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
    const ProcedureScope scope("modMappingRule.ARIS_ObjDef_Conforms_To_Mapping_Rule");
    const clsMappingRule& rule = RetrieveMappingRule(ruleName);
    if (!objDef) return false;
    const int type = objDef->TypeNum();
    for (const clsObjectMapping& mapping : rule.ColObjectMapping)
        if (mapping.ObjTypeNum == type) return true;
    return false;
}

}  // namespace modMappingRule
