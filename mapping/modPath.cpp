#include "mapping/modPath.h"

#include "app/modGlobals.h"
#include "mapping/modMappingRule.h"

namespace modPath {

using modMappingRule::AddObjDefOnce;
using modMappingRule::ObjDefOccurs;
using modMappingRule::SameARISItem;

std::shared_ptr<clsPath> CreatePath(const aris::ObjDef* from, const aris::ObjDef* to) {
    ProcedureScope scope("modPath.CreatePath");
    auto path = std::make_shared<clsPath>();
    path->FROM_ARISObjectDefinition = from;
    path->TO_ARISObjectDefinition = to;
    return path;
}

PathCollection ClonePaths(const PathCollection& paths) {
    ProcedureScope scope("modPath.ClonePaths");
    PathCollection clone;
    for (const auto& path : paths) clone.Add(path);
    return clone;
}

PathCollection ConcatenatePaths(const PathCollection& headPaths, const PathCollection& tailPaths) {
    ProcedureScope scope("modPath.ConcatenatePaths");
    if (headPaths.Empty() || tailPaths.Empty()) return ClonePaths(headPaths.Empty() ? tailPaths : headPaths);
    PathCollection joined;
    for (const auto& head : headPaths) {
        for (const auto& tail : tailPaths) {
            if (!SameARISItem(head->TO_ARISObjectDefinition, tail->FROM_ARISObjectDefinition)) continue;
            auto path = CreatePath(head->FROM_ARISObjectDefinition, tail->TO_ARISObjectDefinition);
            // An object met twice (only where ARIS objects form a cycle) stays at its first place.
            for (const aris::ObjDef* objDef : head->ColARISObjectDefinitionsOnPath)
                AddObjDefOnce(path->ColARISObjectDefinitionsOnPath, objDef);
            AddObjDefOnce(path->ColARISObjectDefinitionsOnPath, head->TO_ARISObjectDefinition);
            for (const aris::ObjDef* objDef : tail->ColARISObjectDefinitionsOnPath)
                AddObjDefOnce(path->ColARISObjectDefinitionsOnPath, objDef);
            joined.Add(std::move(path));
        }
    }
    return joined;
}

std::unique_ptr<PathCollection> Find_Relating_Paths_Using_Mapping_Rule(const PathCollection& headPaths,
                                                                       const aris::ObjDef* from,
                                                                       const aris::ObjDef* to,
                                                                       const std::string& ruleName) {
    ProcedureScope scope("modPath.Find_Relating_Paths_Using_Mapping_Rule");
    if (!ObjDefOccurs(from) || !ObjDefOccurs(to)) return nullptr;
    const clsMappingRule& rule = modMappingRule::RetrieveMappingRule(ruleName);
    PathCollection found;
    const int fromType = from->TypeNum();
    for (const clsConnectionMapping& step : rule.ColConnectionMapping) {
        if (step.SourceObjTypeNum != fromType) continue;
        ARISObjDefCollection reached;
        modMappingRule::Find_Related_ARIS_ObjDef(reached, from, step.CnxKind, step.CnxTypeNum, step.TargetObjTypeNum);
        for (const aris::ObjDef* next : reached) {
            if (!ObjDefOccurs(next)) continue;
            if (!step.IsChainedConnection()) {
                if (SameARISItem(next, to)) found.Add(CreatePath(from, next));
                continue;
            }
            if (!modMappingRule::ARIS_ObjDef_Is_Related_To_ARIS_ObjDef_Using_Mapping_Rule(next, to, step.TargetObjRule))
                continue;
            PathCollection head;
            head.Add(CreatePath(from, next));
            auto tail = Find_Relating_Paths_Using_Mapping_Rule(head, next, to, step.TargetObjRule);
            if (!tail) continue;
            for (const auto& path : *tail) found.Add(path);
        }
    }
    return std::make_unique<PathCollection>(ConcatenatePaths(headPaths, found));
}

}  // namespace modPath
