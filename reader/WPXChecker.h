#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "reader/WPXMessages.h"
#include "reader/WPXModel.h"

/// Checks a definition file read back: references that no block defines, names defined twice,
/// names too long or empty, connector ends a process does not have, positions outside the window.
namespace wpx {

/// Longest name the workflow engine takes, in characters.
inline constexpr std::size_t kMaxNameLength = 32;

/// The findings of the model beyond its syntax, in line order.
std::vector<Finding> CheckModel(const File& file);

/// The whole check of a file's bytes: syntax findings and the model's, in line order. The file
/// is read and checked one top-level item at a time, so it is never held as a model.
std::vector<Finding> CheckDefinition(std::string_view bytes);
/// The same for a file on disk, read as it is checked; false when it cannot be read.
bool CheckDefinitionFile(const std::string& path, std::vector<Finding>& findings);

/// How many findings are errors and how many warnings.
struct FindingCounts {
    int errors = 0;
    int warnings = 0;
};
FindingCounts CountFindings(const std::vector<Finding>& findings);

/// One finding as the user reads it: "FILE:LINE: severity: text".
std::string FormatFinding(const std::string& fileName, const Finding& finding, const TextFunction& text);
/// The finding's text alone, placeholders filled.
std::string FindingText(const Finding& finding, const TextFunction& text);

}  // namespace wpx
