#include "runtime/ExportSummary.h"

#include "runtime/modGlobals.h"
#include "runtime/modUtilities.h"

using modUtilities::GetNLSString;

namespace {

// Names of the models that became no process, and of the types without a number, shown at most.
constexpr std::size_t kNamesShown = 10;

// "  name: n, name: n, ..." for a run of kinds.
std::string KindsLine(const std::vector<std::pair<int, int>>& kinds, std::size_t from, std::size_t to) {
    std::string line = " ";
    for (std::size_t i = from; i < to && i < kinds.size(); ++i) {
        line += (i == from ? " " : ", ") + GetNLSString(kinds[i].first) + ": " + std::to_string(kinds[i].second);
    }
    return line;
}

}  // namespace

void ExportSummary::Reset() { *this = ExportSummary(); }

std::vector<std::string> ExportSummary::Lines() const {
    std::vector<std::string> lines;
    lines.push_back(GetNLSString(60220));
    lines.push_back(GetNLSString(60221, definitionFile));
    lines.push_back(GetNLSString(60222, logFile));
    lines.push_back(profileFile.empty() ? GetNLSString(60224) : GetNLSString(60223, profileFile));
    lines.push_back(GetNLSString(60225));
    const std::size_t half = (constructs.size() + 1) / 2;
    lines.push_back(KindsLine(constructs, 0, half));
    if (constructs.size() > half) lines.push_back(KindsLine(constructs, half, constructs.size()));
    lines.push_back(GetNLSString(60236, std::to_string(selectedModels), std::to_string(processModels)));
    for (std::size_t i = 0; i < notProcesses.size() && i < kNamesShown; ++i)
        lines.push_back("  " + GetNLSString(60237, notProcesses[i]));
    if (notProcesses.size() > kNamesShown)
        lines.push_back("  " + GetNLSString(60238, std::to_string(notProcesses.size() - kNamesShown)));
    lines.push_back(GetNLSString(60239, std::to_string(warningsShown), std::to_string(logWarnings)));
    if (unnumberedTypes.empty()) {
        lines.push_back(GetNLSString(60240));
    } else {
        std::string names;
        for (std::size_t i = 0; i < unnumberedTypes.size() && i < kNamesShown; ++i) {
            const auto& [name, uses] = unnumberedTypes[i];
            names += (i ? ", " : "") + name + " (" + std::to_string(uses) + ")";
        }
        if (unnumberedTypes.size() > kNamesShown)
            names += " " + GetNLSString(60238, std::to_string(unnumberedTypes.size() - kNamesShown));
        lines.push_back(GetNLSString(60241, std::to_string(unnumberedTypes.size()), names));
    }
    lines.insert(lines.end(), extraLines_.begin(), extraLines_.end());
    return lines;
}

std::string ExportSummary::Text() const {
    std::string text;
    for (const std::string& line : Lines()) text += (text.empty() ? "" : "\r\n") + line;
    return text;
}

ExportSummary& CurrentExportSummary() { return CurrentExport().Summary; }
