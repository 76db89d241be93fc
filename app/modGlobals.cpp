#include "app/modGlobals.h"

#include <cstring>
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

// The callers' names of the open scopes that could not be named by a scope's name (the current
// name had been set by other means), innermost last; the strings are reused from call to call.
struct CallerNames {
    std::vector<std::string> names;
    std::size_t depth = 0;
    // The name the innermost scope set (or reasserted): when the current name still reads the
    // same, a scope entered now restores it from there on leaving, without a copy.
    const char* scopeName = nullptr;
    std::size_t scopeNameLength = 0;
};

// Never destroyed: scopes may still open in destructors of other static objects at exit.
CallerNames& Callers() {
    static CallerNames* callers = new CallerNames;
    return *callers;
}

bool CurrentNameIs(const char* name, std::size_t length) {
    const std::string& current = modGlobals::CurrentProcedure;
    return name && current.size() == length && std::memcmp(current.data(), name, length) == 0;
}

}  // namespace

ProcedureScope::ProcedureScope(const char* name)
    : name_(name), callerName_(nullptr), callerLength_(0), uncaught_(std::uncaught_exceptions()) {
    CallerNames& callers = Callers();
    depth_ = callers.depth++;
    if (CurrentNameIs(callers.scopeName, callers.scopeNameLength)) {
        callerName_ = callers.scopeName;
        callerLength_ = callers.scopeNameLength;
    } else {
        if (callers.names.size() <= depth_) callers.names.resize(depth_ + 1);
        callers.names[depth_].assign(modGlobals::CurrentProcedure);
    }
    std::size_t length = std::strlen(name);
    modGlobals::CurrentProcedure.assign(name, length);
    callers.scopeName = name;
    callers.scopeNameLength = length;
}

ProcedureScope::~ProcedureScope() {
    CallerNames& callers = Callers();
    callers.depth = depth_;
    // While an error unwinds, the failing procedure's name stays recorded.
    if (std::uncaught_exceptions() > uncaught_) return;
    if (callerName_) {
        modGlobals::CurrentProcedure.assign(callerName_, callerLength_);
        callers.scopeName = callerName_;
        callers.scopeNameLength = callerLength_;
    } else {
        modGlobals::CurrentProcedure.assign(callers.names[depth_]);
        callers.scopeName = nullptr;
    }
}

void ProcedureScope::Reassert() const {
    CallerNames& callers = Callers();
    callers.scopeNameLength = std::strlen(name_);
    callers.scopeName = name_;
    modGlobals::CurrentProcedure.assign(name_, callers.scopeNameLength);
}
