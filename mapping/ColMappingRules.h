#pragma once
#include <memory>
#include <string>

#include "mapping/clsMappingRule.h"
#include "platform/OrderedCollection.h"

/// The rule registry: every mapping rule of this export, keyed by its name (ignoring case).
using MappingRuleCollection = platform::OrderedCollection<std::unique_ptr<clsMappingRule>>;

namespace modMappingRule {

/// The rule registry of the current export. Filled once per export from the profile or with the
/// built-in rules; it owns the rules, which keep their addresses until the registry is reset.
MappingRuleCollection& ColMappingRules();

/// Empty the registry and set the relation nesting counter back to 0 (start-up, shutdown, tests).
void ResetMappingRules();

/// The rule registered under a name; a name that is not registered raises error 2100 with the
/// name (fatal), the step marker left at "failed". Clears the step marker.
const clsMappingRule& RetrieveMappingRule(const std::string& ruleName);

/// Register a complete rule under its name. A name already registered shows warning 2110 with
/// the name; the first rule stays and this one is dropped. Returns true when the rule was added.
/// Clears the step marker.
bool AddMappingRule(std::unique_ptr<clsMappingRule> rule);

}  // namespace modMappingRule
