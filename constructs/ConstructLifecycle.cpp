#include "constructs/ConstructLifecycle.h"

#include <unordered_set>

#include "runtime/ExportFiles.h"
#include "runtime/ExportSummary.h"
#include "runtime/modProgress.h"
#include "runtime/modUtilities.h"

void LogMessage(int severity, int id, const std::string& p1, const std::string& p2, const std::string& p3,
                const std::string& p4) {
    if (!CurrentExport().Files) throw platform::Error(91, "Object variable not set: no log file handler");
    CurrentExport().Files->WriteLog(modUtilities::GetNLSMessage(severity, id, p1, p2, p3, p4));
    if (severity == kSeverityWarning) ++CurrentExportSummary().logWarnings;
}

void LogObjectMapped(const aris::Item& item, const std::string& kindName) {
    LogMessage(kSeverityInfo, 3060, item.Name(CurrentExport().LocaleId), item.TypeName(CurrentExport().LocaleId),
               kindName);
}

void LogSetupComplete(const std::string& kindName, const std::string& nameProperty) {
    LogMessage(kSeverityInfo, 3090, kindName, nameProperty);
    modProgress::ConstructCompleted();
}

const char* InternProcedureName(const std::string& name) {
    // Process-wide and node-based: a procedure name may outlive the export that made it (the
    // caller of a scope keeps it), so the texts keep their addresses for the whole program.
    static std::unordered_set<std::string> names;
    return names.insert(name).first->c_str();
}
