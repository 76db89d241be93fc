#pragma once
// The choice of an input or output container, shared by processes, activities and programs.
#include "data/clsDATA_STRUCTURE.h"
#include "mapping/modMappingRule.h"

/// The container for the data objects a process, an activity or a program receives or sends:
/// - none: nullptr (the owner keeps its default structure);
/// - exactly one that is a structure: that structure's construct;
/// - exactly one other data object: a generated structure of it;
/// - exactly one object that is neither: nullptr (the default structure is kept);
/// - more than one: a generated structure of all of them.
const clsDATA_STRUCTURE* ChooseContainer(const ARISObjDefCollection& dataObjects);
