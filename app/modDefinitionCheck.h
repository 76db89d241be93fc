#pragma once
#include <string>
#include <vector>

/// The program's side of the definition-file checker and the preview: the texts of the language
/// library for their messages, standard output and error, exit statuses.
namespace modDefinitionCheck {

/// `kvbrars --check FILE` and/or `--preview FOLDER FILE`: prints one line per finding
/// ("FILE:LINE: severity: text") on standard output and writes the preview; returns 0 without
/// an error, 1 with one or when the file cannot be read or the preview not written.
int CheckAndPreview(const std::string& checkFile, const std::string& previewFolder, const std::string& previewFile);

/// The check's lines for the end-of-run summary of an export: the counts of errors and
/// warnings, then the first three findings with their lines. Empty when the file cannot be read.
std::vector<std::string> ExportCheckSummaryLines(const std::string& definitionFile);

/// The preview of an export's definition file into a folder; reports on standard error and
/// returns false when it cannot be written.
bool WriteExportPreview(const std::string& folder, const std::string& definitionFile);

}  // namespace modDefinitionCheck
