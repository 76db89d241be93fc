#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "aris/Automation.h"
#include "mapping/clsPath.h"

/// Relation paths between object definitions.
namespace modPath {

/// A new path between two object definitions with no objects on it.
std::shared_ptr<clsPath> CreatePath(const aris::ObjDef* from, const aris::ObjDef* to);

/// A new collection holding the same path objects in the same order.
PathCollection ClonePaths(const PathCollection& paths);

/// Every head path joined with every tail path that starts where it ends (the joining object
/// goes on the path between the two); with either side empty, a clone of the non-empty one.
PathCollection ConcatenatePaths(const PathCollection& headPaths, const PathCollection& tailPaths);

/// Every way from `from` to `to` under the rule, each appended to the head paths (callers pass
/// a new empty collection). nullptr when `from` or `to` does not occur.
std::unique_ptr<PathCollection> Find_Relating_Paths_Using_Mapping_Rule(const PathCollection& headPaths,
                                                                       const aris::ObjDef* from, const aris::ObjDef* to,
                                                                       const std::string& ruleName);

/// How many paths Find_Relating_Paths_Using_Mapping_Rule would return for `from`, `to` and the
/// rule (with no head paths), counted without building them: each object and rule is looked at
/// once. Counts above `cap` are given as `cap`. Nothing when the count cannot be made in this
/// way (a rule that is not registered, or objects related to each other in a cycle): the search
/// itself then reports what it meets. Shows no messages.
std::optional<std::uint64_t> CountRelatingPaths(const aris::ObjDef* from, const aris::ObjDef* to,
                                                const std::string& ruleName, std::uint64_t cap);

}  // namespace modPath
