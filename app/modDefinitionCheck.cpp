#include "app/modDefinitionCheck.h"

#include <iostream>

#include "platform/CodePage.h"
#include "preview/WPXPreview.h"
#include "reader/WPXChecker.h"
#include "reader/WPXReader.h"
#include "runtime/modUtilities.h"

namespace modDefinitionCheck {

namespace {

constexpr std::size_t kSummaryFindings = 3;

std::string Text(int id) { return modUtilities::GetStringFromResourceFile(id); }

std::string Filled(int id, const std::vector<std::string>& params) { return wpx::FillPlaceholders(Text(id), params); }

void ToError(const std::string& line) { std::cerr << platform::ForTerminal(line) << "\n"; }

}  // namespace

int CheckAndPreview(const std::string& checkFile, const std::string& previewFolder, const std::string& previewFile) {
    int status = 0;
    if (!checkFile.empty()) {
        std::vector<wpx::Finding> findings;
        if (!wpx::CheckDefinitionFile(checkFile, findings)) {
            ToError("kvbrars: " + Filled(wpx::kCannotRead, {checkFile}));
            return 1;
        }
        for (const wpx::Finding& finding : findings)
            std::cout << platform::ForTerminal(wpx::FormatFinding(checkFile, finding, Text)) << "\n";
        if (wpx::CountFindings(findings).errors > 0) status = 1;
    }
    if (!previewFolder.empty()) {
        const std::string& file = previewFile.empty() ? checkFile : previewFile;
        if (!WriteExportPreview(previewFolder, file)) status = 1;
    }
    return status;
}

std::vector<std::string> ExportCheckSummaryLines(const std::string& definitionFile) {
    std::vector<wpx::Finding> findings;
    if (!wpx::CheckDefinitionFile(definitionFile, findings)) return {};
    const wpx::FindingCounts counts = wpx::CountFindings(findings);
    std::vector<std::string> lines = {
        Filled(wpx::kCheckCounts, {std::to_string(counts.errors), std::to_string(counts.warnings)})};
    for (std::size_t i = 0; i < findings.size() && i < kSummaryFindings; ++i)
        lines.push_back(wpx::FormatFinding(definitionFile, findings[i], Text));
    return lines;
}

bool WriteExportPreview(const std::string& folder, const std::string& definitionFile) {
    std::string bytes;
    if (!wpx::ReadBytes(definitionFile, bytes)) {
        ToError("kvbrars: " + Filled(wpx::kCannotRead, {definitionFile}));
        return false;
    }
    std::string error;
    if (!wpx::WritePreview(folder, definitionFile, bytes, Text, error)) {
        ToError("kvbrars: " + Filled(wpx::kPreviewCannotWrite, {folder}) + " (" + error + ")");
        return false;
    }
    ToError("kvbrars: " + Filled(wpx::kPreviewWritten, {folder + "/index.html"}));
    return true;
}

}  // namespace modDefinitionCheck
