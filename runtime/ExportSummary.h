#pragma once
#include <string>
#include <utility>
#include <vector>

/// What one export did, told to the user when it ends: the files written, the rules used, the
/// constructs of each kind in the definition file, the selected models and which of them became
/// no process, the warnings, and the type names of the export that have no number. The export
/// fills it; the program shows it at the end (standard error in batch mode, a message box on the
/// desktop). Other parts add lines of their own with AddLine. Showing it changes no file.
class ExportSummary {
public:
    /// Forget everything (a new export).
    void Reset();

    std::string definitionFile;
    std::string logFile;
    /// The mapping profile that was read; "" when the built-in rules were used.
    std::string profileFile;
    /// Per kind, in the order of the definition file: the message id of its name and the count.
    std::vector<std::pair<int, int>> constructs;
    int selectedModels = 0;
    int processModels = 0;
    /// Names of the selected models that became no process, in selection order.
    std::vector<std::string> notProcesses;
    int warningsShown = 0;
    int logWarnings = 0;
    /// Type names of the export without a number ("object OT_X") and their uses.
    std::vector<std::pair<std::string, int>> unnumberedTypes;

    /// Add a line after the standard ones.
    void AddLine(const std::string& line) { extraLines_.push_back(line); }
    /// The summary as lines, in the language of the program.
    std::vector<std::string> Lines() const;
    /// The lines joined by CR LF, as a message box shows them.
    std::string Text() const;

private:
    std::vector<std::string> extraLines_;
};

/// The summary of the running export.
ExportSummary& CurrentExportSummary();
