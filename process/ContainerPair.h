#pragma once
#include <string>

#include "data/clsDATA_STRUCTURE.h"

/// The input and output containers of a process, an activity or a program, as the definition
/// file names them. Both start as the default structure 'Default Data Structure' (a structure
/// that is never registered or set up); the data-structure mapping selects the containers
/// from the data objects that the construct receives and sends (ChooseContainer in
/// data/modContainer.h). A chosen container is a registered structure, owned by the registry.
class ContainerPair {
public:
    /// The quoted name of the default structure.
    static constexpr const char* kDefaultStructureName = clsDATA_STRUCTURE::kDefaultName;

    /// The input and output containers.
    const clsDATA_STRUCTURE& InputContainer() const { return input_ ? *input_ : clsDATA_STRUCTURE::DefaultStructure(); }
    const clsDATA_STRUCTURE& OutputContainer() const {
        return output_ ? *output_ : clsDATA_STRUCTURE::DefaultStructure();
    }
    /// Set a container; nullptr keeps the one it has.
    void SetInputContainer(const clsDATA_STRUCTURE* container) {
        if (container) input_ = container;
    }
    void SetOutputContainer(const clsDATA_STRUCTURE* container) {
        if (container) output_ = container;
    }

    /// The quoted name of the input container.
    std::string InputName() const { return InputContainer().ObjectName; }
    /// The quoted name of the output container.
    std::string OutputName() const { return OutputContainer().ObjectName; }

private:
    const clsDATA_STRUCTURE* input_ = nullptr;
    const clsDATA_STRUCTURE* output_ = nullptr;
};
