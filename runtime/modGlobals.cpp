#include "runtime/modGlobals.h"

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
    Files = nullptr;
}

}  // namespace modGlobals

namespace {

// The callers' names of the open scopes that are texts of their own (set by other means than a
// scope), innermost last; the strings are reused from call to call.
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

ProcedureScope::ProcedureScope(const char* name)
    : name_(name), callerName_(modGlobals::CurrentProcedure.Lasting()), uncaught_(std::uncaught_exceptions()) {
    CallerNames& callers = Callers();
    depth_ = callers.depth++;
    if (!callerName_) {
        if (callers.names.size() <= depth_) callers.names.resize(depth_ + 1);
        modGlobals::CurrentProcedure.SwapText(callers.names[depth_]);
    }
    modGlobals::CurrentProcedure.SetLasting(name);
}

ProcedureScope::~ProcedureScope() {
    CallerNames& callers = Callers();
    callers.depth = depth_;
    // While an error unwinds, the failing procedure's name stays recorded.
    if (std::uncaught_exceptions() > uncaught_) return;
    if (callerName_) {
        modGlobals::CurrentProcedure.SetLasting(callerName_);
    } else {
        modGlobals::CurrentProcedure.SwapText(callers.names[depth_]);
    }
}

void ProcedureScope::Reassert() const { modGlobals::CurrentProcedure.SetLasting(name_); }
