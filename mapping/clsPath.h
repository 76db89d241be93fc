#pragma once
#include <memory>

#include "aris/Automation.h"
#include "platform/OrderedCollection.h"

/// One way from one object definition to another along a relation rule: its two ends and the
/// object definitions strictly between them, in path order, keyed by Item.Guid.
class clsPath {
public:
    const aris::ObjDef* FROM_ARISObjectDefinition = nullptr;
    const aris::ObjDef* TO_ARISObjectDefinition = nullptr;
    platform::OrderedCollection<const aris::ObjDef*> ColARISObjectDefinitionsOnPath;
};

/// A collection of paths, without keys. Paths are shared: a clone holds the same path objects.
using PathCollection = platform::OrderedCollection<std::shared_ptr<clsPath>>;
