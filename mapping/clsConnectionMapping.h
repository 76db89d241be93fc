#pragma once
#include <cstdint>
#include <string>

/// One step of a relation rule: from a start object of type SourceObjTypeNum along the ARIS
/// connections of type CnxTypeNum in direction CnxKind (2 incoming, 4 outgoing) to objects of
/// type TargetObjTypeNum; a step naming TargetObjRule hands the objects it reaches on to that
/// rule instead of yielding them.
class clsConnectionMapping {
public:
    std::int32_t CnxKind = 0;
    std::int32_t CnxTypeNum = 0;
    std::int32_t SourceObjTypeNum = 0;
    std::int32_t TargetObjTypeNum = 0;
    std::string TargetObjRule;

    /// True exactly when the step names a rule to continue with.
    bool IsChainedConnection() const { return !TargetObjRule.empty(); }
};
