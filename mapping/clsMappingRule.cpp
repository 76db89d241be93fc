#include "mapping/clsMappingRule.h"

#include "platform/Error.h"
#include "platform/Text.h"

std::string clsMappingRule::AttributeMapping() const { return std::to_string(attributeMapping_); }

void clsMappingRule::SetAttributeMapping(const std::string& text) {
    if (!platform::IsNumeric(text))
        platform::RaiseStandardError(platform::kErrTypeMismatch, "attribute type '" + text + "' of rule " + Name);
    std::optional<std::int32_t> number = platform::ToInt32(text);
    if (!number) platform::RaiseStandardError(platform::kErrOverflow, "attribute type '" + text + "' of rule " + Name);
    attributeMapping_ = *number;
}
