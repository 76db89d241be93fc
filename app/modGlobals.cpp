#include "app/modGlobals.h"

#include <exception>

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

ProcedureScope::ProcedureScope(const char* name)
    : name_(name), caller_(modGlobals::CurrentProcedure), uncaught_(std::uncaught_exceptions()) {
    modGlobals::CurrentProcedure = name;
}

ProcedureScope::~ProcedureScope() {
    if (std::uncaught_exceptions() > uncaught_) return;
    modGlobals::CurrentProcedure = caller_;
}

void ProcedureScope::Reassert() const { modGlobals::CurrentProcedure = name_; }
