#pragma once
#include <string>

/// The input and output containers of a process, an activity or a program, as the definition
/// file names them. Both start as the default structure 'Default Data Structure' (a structure
/// that is never registered or set up); the data-structure mapping selects the containers
/// from the data objects that the construct receives and sends.
class ContainerPair {
public:
    /// The quoted name of the default structure.
    static constexpr const char* kDefaultStructureName = "'Default Data Structure'";

    /// The quoted name of the input container.
    std::string InputName() const { return kDefaultStructureName; }
    /// The quoted name of the output container.
    std::string OutputName() const { return kDefaultStructureName; }
};
