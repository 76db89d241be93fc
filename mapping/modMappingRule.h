#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "aris/Automation.h"
#include "mapping/ColMappingRules.h"
#include "platform/OrderedCollection.h"

/// Ordered keyed collection of ARIS models (the models of one export round).
using ARISModelCollection = platform::OrderedCollection<const aris::Model*>;
/// Result collection of rule evaluation: object definitions keyed by Item.Guid, non-owning.
using ARISObjDefCollection = platform::OrderedCollection<const aris::ObjDef*>;

/// The built-in rules, rule evaluation against ARIS, and name conversion.
namespace modMappingRule {

/// An object definition under one rule: the key of what a search remembers per object and rule.
struct ObjDefUnderRule {
    const aris::ObjDef* object;
    const clsMappingRule* rule;
    bool operator==(const ObjDefUnderRule&) const = default;
};
/// Hash of an ObjDefUnderRule, from its two addresses.
struct ObjDefUnderRuleHash {
    std::size_t operator()(const ObjDefUnderRule& k) const {
        return std::hash<const void*>()(k.object) * 31 + std::hash<const void*>()(k.rule);
    }
};

/// Nesting limit of relation searches through chained steps.
inline constexpr int kRelationNestingLimit = 100;
/// How deeply Find_Related_ARIS_ObjDef_Using_Mapping_Rule is nested in itself in the current
/// export; 0 between searches.
int& RelationNestingCounter();

/// Register the 85 built-in rules in their fixed order; a name already registered shows
/// warning 2110 and creation goes on with the next rule.
void CreateDefaultMappingRules();

/// The rules in the profile language, in registry order: a profile made of the text defines
/// the same rules. Each rule ends with "END" and a line break; rules are separated by an empty
/// line.
std::string MappingRulesAsProfile(const MappingRuleCollection& rules);

/// True when the object definition has at least one occurrence in some model.
bool ObjDefOccurs(const aris::ObjDef* objDef);
/// True when two items are the same ARIS item (equal Item.Guid texts).
bool SameARISItem(const aris::Item* a, const aris::Item* b);
/// Add an object definition under its Item.Guid unless that key is already present.
void AddObjDefOnce(ARISObjDefCollection& result, const aris::ObjDef* objDef);

/// Add to `result` every object definition of the rule's object types that occurs in one of
/// the models: by object type, then model, then ARIS's order. Returns `result`.
ARISObjDefCollection& Find_ARIS_ObjDef_Using_Mapping_Rule(const ARISModelCollection& models,
                                                          ARISObjDefCollection& result, const std::string& ruleName);
/// Add to `result` every object definition of one type that occurs in one of the models.
ARISObjDefCollection& Find_ARIS_ObjDef(const ARISModelCollection& models, ARISObjDefCollection& result,
                                       std::int32_t objTypeNum);

/// The text of the rule's attribute of an item ("" when not maintained; the name for -1).
std::string Find_ARIS_ObjDef_Attribute_Using_Mapping_Rule(const aris::Item* item, const std::string& ruleName);
/// The text of one attribute of an item in the ARIS language: its name for -1; the value read
/// with the option RemoveLineBreaks when maintained; "" otherwise. No name conversion.
std::string Find_ARIS_ObjDef_Attribute(const aris::Item* item, std::int32_t attrTypeNum);

/// Add to `result` the object definitions related to `start` by the rule's steps, following
/// chained steps (nesting limit 100: error 2230, fatal). Returns `result`. An object reached
/// again under the same rule adds nothing new and is not walked again, unless its walk warns or
/// would now reach the nesting limit.
ARISObjDefCollection& Find_Related_ARIS_ObjDef_Using_Mapping_Rule(ARISObjDefCollection& result,
                                                                  const aris::ObjDef* start,
                                                                  const std::string& ruleName);
/// Find_Related_ARIS_ObjDef_Using_Mapping_Rule into a new collection.
ARISObjDefCollection Related_ARIS_ObjDefs_Using_Mapping_Rule(const aris::ObjDef* start, const std::string& ruleName);
/// Add to `result` the occurring objects of type `targetObjTypeNum` one connection of type
/// `cnxTypeNum` away from `start` (direction 2 incoming, 4 outgoing; another direction shows
/// warning 2030 once per connection listed). Returns `result`.
ARISObjDefCollection& Find_Related_ARIS_ObjDef(ARISObjDefCollection& result, const aris::ObjDef* start,
                                               std::int32_t cnxKind, std::int32_t cnxTypeNum,
                                               std::int32_t targetObjTypeNum);

/// True when `to` is among the objects the rule relates to `from`; false when either does not occur.
bool ARIS_ObjDef_Is_Related_To_ARIS_ObjDef_Using_Mapping_Rule(const aris::ObjDef* from, const aris::ObjDef* to,
                                                              const std::string& ruleName);
/// True when the object's type number is one of the rule's object types.
bool ARIS_ObjDef_Conforms_To_Mapping_Rule(const aris::ObjDef* objDef, const std::string& ruleName);

/// The name conventions of ConvertARISName, by the numbers the rules give them.
namespace NameConvention {
inline constexpr const char* kIdentifierName = "1";          ///< as kIdentifier
inline constexpr const char* kText254 = "2";                 ///< tabs as blanks, at most 254 characters
inline constexpr const char* kText4096 = "3";                ///< tabs as blanks, at most 4096 characters
inline constexpr const char* kIdentifierNoUnderscore = "4";  ///< kIdentifier less a leading "_"
inline constexpr const char* kOneLineName = "5";             ///< on one line, at most 32 characters
inline constexpr const char* kNameWithoutDots = "6";         ///< not empty, one line, "." as "_", 32
inline constexpr const char* kPersonName = "7";              ///< a person's name
inline constexpr const char* kProcessName = "8";             ///< no file-name signs, one line, 32
inline constexpr const char* kIdentifier = "9";              ///< an identifier of the definition file
inline constexpr const char* kCondition = "10";              ///< "!=" as "<>"
inline constexpr const char* kDataType = "11";               ///< a data type name
}  // namespace NameConvention

/// The text converted for a WPX property under a name convention ("1" to "11"). With the option
/// ConvertNames off the text comes back unchanged (a rule name given is still looked up).
/// Raises error 2050 (convention "6", empty text) and 2040 (unknown convention), which are
/// warnings for the caller's error path: see ConvertARISNameOrWarn. A missing rule: error 2100.
std::string ConvertARISName(const std::string& text, const std::string& convention, const std::string& ruleName = "");
/// ConvertARISName for a caller that goes on after warnings 2040 and 2050: the warning is shown
/// (reported for the calling procedure) and the result is empty, so the caller leaves the
/// property it would have set as it was. Every other error propagates.
std::optional<std::string> ConvertARISNameOrWarn(const std::string& text, const std::string& convention,
                                                 const std::string& ruleName = "");

}  // namespace modMappingRule
