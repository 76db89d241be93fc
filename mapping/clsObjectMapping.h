#pragma once
#include <cstdint>

/// One object type of an object rule: an ARIS object type number (in the rule "PROCESS" an
/// ARIS model type number).
class clsObjectMapping {
public:
    clsObjectMapping() = default;
    explicit clsObjectMapping(std::int32_t objTypeNum) : ObjTypeNum(objTypeNum) {}

    std::int32_t ObjTypeNum = 0;
};
