#pragma once
#include <cstdint>
#include <string>

#include "platform/LanguageLibrary.h"

class clsExceptionHandler;
class clsARIS_Interface;
class clsIOHandler;
class clsWPX_Export;
class clsWPXWriter;

/// The fifteen export options, with the defaults used when the settings store has none.
struct ExportOptions {
    bool ConvertNames = true;
    bool RemoveLineBreaks = true;
    std::int32_t FirstSuffixNumber = 0;
    bool UseDataConBendPoints = true;
    bool UseCtrlConBendPoints = true;
    bool UseDescriptionAttr = true;
    bool UseDocumentationAttr = true;
    bool UseOtherSettings = false;
    bool DynamicStaffAssignment = true;
    bool FindDataFlowLoops = true;
    bool FindControlFlowLoops = true;
    bool StartConditions = false;
    bool ExitConditions = false;
    bool TransitionConditions = false;
    bool DataTypeFromAttribute = true;
};

/// Global state of the program, in one place.
namespace modGlobals {

/// Qualified name of the procedure now running ("modMain.Main"), read by the error path.
inline std::string CurrentProcedure;
/// Marker of a step that is expected to fail ("Open file", "Retrieve rule"), or "".
inline std::string CurrentStep;
/// Locale id of the ARIS session (/LOC), passed with every localized ARIS read.
inline std::int16_t LocaleId = 0;
/// The loaded language library.
inline platform::LanguageLibrary LanguageLibrary;
/// Language code in use ("ENU", "DEU") and the help book that goes with it.
inline std::string LanguageCode;
inline std::string HelpFile;

/// The export options in force for this export.
inline ExportOptions Options;
/// Prefix and running suffix counter of generated data-structure names.
inline std::string GeneratedNamePrefix;
inline std::int64_t GeneratedNameSuffix = 0;

/// The service objects, created by Setup and released by Shutdown.
inline clsExceptionHandler* ExceptionHandler = nullptr;
inline clsARIS_Interface* ARIS_Interface = nullptr;
inline clsIOHandler* IOHandler = nullptr;
inline clsWPX_Export* WPX_Export = nullptr;
inline clsWPXWriter* WPXWriter = nullptr;

/// Back to the state of a program that has not started (for tests between cases).
void Reset();

}  // namespace modGlobals

/// Records a procedure's qualified name as the current procedure name on entry and restores
/// the caller's on exit. While an error unwinds, the failing procedure's name stays recorded,
/// so the error path reports where the error arose.
class ProcedureScope {
public:
    explicit ProcedureScope(const char* name);
    ~ProcedureScope();
    ProcedureScope(const ProcedureScope&) = delete;
    ProcedureScope& operator=(const ProcedureScope&) = delete;
    /// Record this procedure's name again (after handling an error raised in a callee).
    void Reassert() const;

private:
    const char* name_;
    std::string caller_;
    int uncaught_;
};
