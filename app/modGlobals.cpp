#include "app/modGlobals.h"

#include <exception>
#include <string>
#include <vector>

namespace modGlobals {

void Reset() {
    CurrentProcedure.clear();
    CurrentStep.clear();
    LocaleId = 0;
    LanguageLibrary.Free();
    LanguageCode.clear();
    HelpFile.clear();
    Options = ExportOptions{};
    GeneratedNamePrefix.clear();
    GeneratedNameSuffix = 0;
    ExceptionHandler = nullptr;
    ARIS_Interface = nullptr;
    IOHandler = nullptr;
    WPX_Export = nullptr;
    WPXWriter = nullptr;
}

}  // namespace modGlobals

namespace {

// The callers' names of the open scopes, innermost last. Entering a scope swaps the caller's
// name into its slot and leaving swaps it back: no copy of the caller's name, and the slots'
// buffers are reused from call to call.
struct CallerNames {
    std::vector<std::string> names;
    std::size_t depth = 0;
};

// Never destroyed: scopes may still open in destructors of other static objects at exit.
CallerNames& Callers() {
    static CallerNames* callers = new CallerNames;
    return *callers;
}

}  // namespace

ProcedureScope::ProcedureScope(const char* name) : name_(name), uncaught_(std::uncaught_exceptions()) {
    CallerNames& callers = Callers();
    depth_ = callers.depth++;
    if (callers.names.size() <= depth_) callers.names.emplace_back();
    callers.names[depth_].swap(modGlobals::CurrentProcedure);
    modGlobals::CurrentProcedure.assign(name);
}

ProcedureScope::~ProcedureScope() {
    CallerNames& callers = Callers();
    callers.depth = depth_;
    // While an error unwinds, the failing procedure's name stays recorded.
    if (std::uncaught_exceptions() > uncaught_) return;
    modGlobals::CurrentProcedure.swap(callers.names[depth_]);
}

void ProcedureScope::Reassert() const { modGlobals::CurrentProcedure = name_; }
