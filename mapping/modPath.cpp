#include "mapping/modPath.h"

#include <algorithm>
#include <functional>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "mapping/modMappingRule.h"
#include "runtime/modGlobals.h"

namespace modPath {

namespace {

// Counts the paths of Find_Relating_Paths_Using_Mapping_Rule towards one object without building
// them. Two facts are kept per object and rule, each computed once: whether the relation search
// from the object finds the target (the test the path search makes before it follows a chained
// step), and how many paths lead from the object to the target.
class PathCounter {
public:
    PathCounter(const aris::ObjDef* to, std::uint64_t cap) : to_(to), cap_(cap) {}

    // Nothing once a cycle or a missing rule was met.
    std::optional<std::uint64_t> Count(const aris::ObjDef* from, const std::string& ruleName) {
        if (!modMappingRule::ObjDefOccurs(from) || !modMappingRule::ObjDefOccurs(to_)) return 0;
        std::uint64_t count = Paths(from, ruleName);
        if (failed_) return std::nullopt;
        return count;
    }

private:
    enum class State { Open, Done };
    using Key = modMappingRule::ObjDefUnderRule;
    using KeyHash = modMappingRule::ObjDefUnderRuleHash;
    template <class Value>
    using Memo = std::unordered_map<Key, std::pair<State, Value>, KeyHash>;

    const clsMappingRule* Rule(const std::string& name) {
        const std::unique_ptr<clsMappingRule>* rule = modMappingRule::ColMappingRules().Find(name);
        if (!rule) failed_ = true;
        return rule ? rule->get() : nullptr;
    }

    // The objects one step reaches, as the relation search lists them: each item once, in
    // connection order, of the step's target type and occurring. A direction other than
    // incoming or outgoing reaches nothing (the search itself warns about it).
    static std::vector<const aris::ObjDef*> OneStep(const aris::ObjDef* start, const clsConnectionMapping& step) {
        std::vector<const aris::ObjDef*> reached;
        if (!modMappingRule::ObjDefOccurs(start)) return reached;
        if (step.CnxKind != aris::kCxnIncoming && step.CnxKind != aris::kCxnOutgoing) return reached;
        // Each item once, by its Item.Guid; a step reaches few objects, so a set is built only
        // for many.
        constexpr std::size_t kFew = 16;
        std::vector<std::string_view> seen;
        std::unordered_set<std::string_view> seenMany;
        for (const aris::CxnDef* cxn : start->CxnList(step.CnxKind, CurrentExport().LocaleId, step.CnxTypeNum)) {
            if (!cxn || !cxn->HasOccurrences()) continue;
            const aris::ObjDef* next = step.CnxKind == aris::kCxnIncoming ? cxn->SourceObjDef() : cxn->TargetObjDef();
            if (!next || next->TypeNum() != step.TargetObjTypeNum || !modMappingRule::ObjDefOccurs(next)) continue;
            const std::string_view guid = next->GuidView();
            if (seen.size() < kFew) {
                if (std::find(seen.begin(), seen.end(), guid) != seen.end()) continue;
                seen.push_back(guid);
                if (seen.size() == kFew) seenMany.insert(seen.begin(), seen.end());
            } else if (!seenMany.insert(guid).second) {
                continue;
            }
            reached.push_back(next);
        }
        return reached;
    }

    bool IsTarget(const aris::ObjDef* object) const { return modMappingRule::SameARISItem(object, to_); }

    // Whether the relation search from the object under the rule finds the target.
    bool Reaches(const aris::ObjDef* object, const std::string& ruleName) {
        if (failed_ || !modMappingRule::ObjDefOccurs(object)) return false;
        const clsMappingRule* rule = Rule(ruleName);
        if (!rule) return false;
        auto [entry, added] = reaches_.try_emplace(Key{object, rule}, State::Open, false);
        if (!added) {
            if (entry->second.first == State::Open) failed_ = true;  // a cycle
            return entry->second.second;
        }
        bool found = false;
        for (const clsConnectionMapping& step : rule->ColConnectionMapping) {
            if (step.SourceObjTypeNum != object->TypeNum()) continue;
            for (const aris::ObjDef* next : OneStep(object, step)) {
                if (!step.IsChainedConnection()) {
                    found = found || IsTarget(next);
                } else if (Reaches(next, step.TargetObjRule)) {
                    found = true;
                }
            }
        }
        // The map may have grown meanwhile: look the entry up again.
        reaches_[Key{object, rule}] = {State::Done, found};
        return found;
    }

    // How many paths the path search returns from the object under the rule.
    std::uint64_t Paths(const aris::ObjDef* object, const std::string& ruleName) {
        if (failed_) return 0;
        const clsMappingRule* rule = Rule(ruleName);
        if (!rule) return 0;
        auto [entry, added] = paths_.try_emplace(Key{object, rule}, State::Open, 0);
        if (!added) {
            if (entry->second.first == State::Open) failed_ = true;  // a cycle
            return entry->second.second;
        }
        std::uint64_t count = 0;
        for (const clsConnectionMapping& step : rule->ColConnectionMapping) {
            if (step.SourceObjTypeNum != object->TypeNum()) continue;
            for (const aris::ObjDef* next : OneStep(object, step)) {
                std::uint64_t more = 0;
                if (!step.IsChainedConnection()) {
                    more = IsTarget(next) ? 1 : 0;
                } else if (Reaches(next, step.TargetObjRule)) {
                    // The step itself is one path when nothing follows it.
                    more = std::max<std::uint64_t>(Paths(next, step.TargetObjRule), 1);
                }
                count = std::min(cap_, count + more);
            }
        }
        paths_[Key{object, rule}] = {State::Done, count};
        return count;
    }

    const aris::ObjDef* to_;
    std::uint64_t cap_;
    bool failed_ = false;
    Memo<bool> reaches_;
    Memo<std::uint64_t> paths_;
};

}  // namespace

using modMappingRule::AddObjDefOnce;
using modMappingRule::ObjDefOccurs;
using modMappingRule::SameARISItem;

std::shared_ptr<clsPath> CreatePath(const aris::ObjDef* from, const aris::ObjDef* to) {
    const ProcedureScope scope("modPath.CreatePath");
    auto path = std::make_shared<clsPath>();
    path->FROM_ARISObjectDefinition = from;
    path->TO_ARISObjectDefinition = to;
    return path;
}

PathCollection ClonePaths(const PathCollection& paths) {
    const ProcedureScope scope("modPath.ClonePaths");
    PathCollection clone;
    for (const auto& path : paths) clone.Add(path);
    return clone;
}

PathCollection ConcatenatePaths(const PathCollection& headPaths, const PathCollection& tailPaths) {
    const ProcedureScope scope("modPath.ConcatenatePaths");
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
                                                                       const aris::ObjDef* from, const aris::ObjDef* to,
                                                                       const std::string& ruleName) {
    const ProcedureScope scope("modPath.Find_Relating_Paths_Using_Mapping_Rule");
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

std::optional<std::uint64_t> CountRelatingPaths(const aris::ObjDef* from, const aris::ObjDef* to,
                                                const std::string& ruleName, std::uint64_t cap) {
    const ProcedureScope scope("modPath.CountRelatingPaths");
    return PathCounter(to, cap).Count(from, ruleName);
}

}  // namespace modPath
