#pragma once
#include <memory>
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
                                                                       const aris::ObjDef* from,
                                                                       const aris::ObjDef* to,
                                                                       const std::string& ruleName);

}  // namespace modPath
