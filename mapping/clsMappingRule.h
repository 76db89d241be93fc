#pragma once
#include <cstdint>
#include <string>

#include "mapping/clsConnectionMapping.h"
#include "mapping/clsObjectMapping.h"
#include "platform/OrderedCollection.h"

/// One named mapping rule: the object types of an object rule, the attribute type of an
/// attribute rule, or the steps of a relation rule. The rule owns its mappings.
class clsMappingRule {
public:
    /// The rule name; also its key in the rule registry.
    std::string Name;
    /// The object types of an object rule, in search order, without keys.
    platform::OrderedCollection<clsObjectMapping> ColObjectMapping;
    /// The steps of a relation rule, in search order, without keys.
    platform::OrderedCollection<clsConnectionMapping> ColConnectionMapping;

    /// The attribute type number as decimal text (-1: the object's name; 0 when never set).
    std::string AttributeMapping() const;
    /// Set the attribute type number from a numeric text (whole number, halves to even); a text
    /// that is no number raises error 13, one outside 32 bits error 6.
    void SetAttributeMapping(const std::string& text);
    /// The attribute type number.
    std::int32_t AttributeMappingNumber() const { return attributeMapping_; }
    void SetAttributeMappingNumber(std::int32_t number) { attributeMapping_ = number; }

private:
    std::int32_t attributeMapping_ = 0;
};
