#pragma once
#include <string>

#include "constructs/clsPROCESS_CATEGORY.h"

/// Ordered keyed collection of ARIS groups, keyed by the group's Guid.
using ARISGroupCollection = platform::OrderedCollection<const aris::Group*>;

/// One round: register a category for every group of the models, then set them up.
void PROCESS_CATEGORY_Create(const ARISModelCollection& models);
/// Register a category for every group holding one of the models; message 3040 per group.
void PROCESS_CATEGORY_Find_ARIS_Mapping(const ARISModelCollection& models);
/// SetupProperties of every category, in registry order.
void PROCESS_CATEGORY_SetupProperties();
/// The groups of the models, each once, in model order.
ARISGroupCollection PROCESS_CATEGORY_Find_ARIS_Group_In_ModelCollection(const ARISModelCollection& models);
/// One attribute of a group: its name for -1, else the maintained value (or "").
std::string PROCESS_CATEGORY_Find_ARIS_Group_Attribute(const aris::Group* group, int attrTypeNum);
/// The attribute of a group that the attribute rule names (a missing rule: error 2100).
std::string PROCESS_CATEGORY_Find_ARIS_Group_Attribute_Using_Mapping_Rule(const aris::Group* group,
                                                                          const std::string& ruleName);
