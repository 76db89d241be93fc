#include "runtime/clsExceptionHandler.h"

#include <cstdio>
#include <limits>

#include "platform/MessageBox.h"
#include "platform/Text.h"
#include "runtime/ExportSummary.h"
#include "runtime/modGlobals.h"
#include "runtime/modUtilities.h"

using namespace platform;

namespace {

constexpr const char* kCrLf = "\r\n";
constexpr const char* kMessageIdMarker = "<MessageID>";

bool IsWarning(int n) {
    switch (n) {
        case 2030:
        case 2040:
        case 2050:
        case 2060:
        case 2070:
        case 2080:
        case 2090:
        case 2110:
        case 2210:
        case 2220: return true;
        default: return false;
    }
}

bool IsFatal(int n) {
    switch (n) {
        case 2000:
        case 2010:
        case 2020:
        case 2100:
        case 2120:
        case 2130:
        case 2140:
        case 2150:
        case 2160:
        case 2170:
        case 2180:
        case 2190:
        case 2200:
        case 2230: return true;
        default: return false;
    }
}

// The program's own fatal errors, numbered outside the catalog (and outside 16 bits).
bool IsOwnFatal(int n) { return n == kErrTooManyPaths; }

// The program's own refusals: reported like fatal errors, but the program ends with the status of
// unusable options, since nothing was exported.
bool IsRefusal(int n) { return n == kErrOutputIsInput || n == kErrUnknownCodePage; }

}  // namespace

clsExceptionHandler::clsExceptionHandler() { CurrentExport().CurrentStep.clear(); }

std::string clsExceptionHandler::FormatMessageID(int severity, int number) {
    char digits[32];
    if (number >= 0 && number <= 99999) {
        // "%05d" without the formatting machinery: every log line has one.
        for (int i = 4, n = number; i >= 0; --i, n /= 10) digits[i] = static_cast<char>('0' + n % 10);
        digits[5] = '\0';
    } else {
        std::snprintf(digits, sizeof digits, "%05d", number);
    }
    char letter;
    switch (severity) {
        case kSeverityCritical: letter = 'C'; break;
        case kSeverityQuestion: letter = 'Q'; break;
        case kSeverityWarning: letter = 'E'; break;
        case kSeverityInfo: letter = 'I'; break;
        default: letter = '?'; break;
    }
    return std::string("KVB") + digits + letter + " ";
}

int clsExceptionHandler::ShowMessageBox(const std::string& text, int style) {
    return CurrentMessageBox().Show(text, style, "Lumenport");
}

int clsExceptionHandler::AnalyseError(int number, const std::string& description) {
    const std::string& proc = CurrentExport().CurrentProcedure;
    const std::string errorHead = modUtilities::GetNLSString(1000, kMessageIdMarker, proc) + kCrLf;
    const std::string warningHead = modUtilities::GetNLSString(1010, kMessageIdMarker, proc) + kCrLf;
    const std::string explanation = modUtilities::GetNLSString(1020) + kCrLf + description;
    const std::string exitQuestion = std::string(kCrLf) + modUtilities::GetNLSString(1030) + kCrLf;

    auto show = [&](const std::string& text, int severity, int buttons) {
        const std::string shown = ReplaceAll(text, kMessageIdMarker, FormatMessageID(severity, number));
        return ShowMessageBox(shown, buttons + severity + kMbSetForeground);
    };

    if (number == kErrDialogCancelled)
        return show(warningHead + exitQuestion, kSeverityQuestion, kMbYesNo) == kIdYes ? 3 : 0;
    if (number == kErrOptionsCancelled)
        return show(warningHead + exitQuestion, kSeverityQuestion, kMbYesNo) == kIdYes ? 3 : 2;
    if (IsWarning(number)) {
        ++CurrentExportSummary().warningsShown;
        show(warningHead + explanation, kSeverityWarning, kMbOkOnly);
        return 1;
    }
    if (IsFatal(number) || IsOwnFatal(number) || IsRefusal(number)) {
        show(errorHead + explanation, 16, kMbOkOnly);
        return 3;
    }
    return 4;
}

void clsExceptionHandler::MercyfulExit(const std::string& procedure, int number, const std::string& description) {
    std::string text = modUtilities::GetNLSString(1040, kMessageIdMarker, procedure) + kCrLf +
                       modUtilities::GetNLSString(1020) + kCrLf + description;
    text = ReplaceAll(text, kMessageIdMarker, FormatMessageID(kSeverityCritical, number));
    ShowMessageBox(text, kMbOkCancel + kMbCritical + kMbSetForeground);
    throw ProgramEnd{kExitMercyful};
}

ErrorAction clsExceptionHandler::Handle(const Error& error) {
    const int number = error.Number();
    const bool own = IsOwnFatal(number) || IsRefusal(number);
    if (!own &&
        (number < std::numeric_limits<std::int16_t>::min() || number > std::numeric_limits<std::int16_t>::max()))
        MercyfulExit(CurrentExport().CurrentProcedure, number, error.Description());
    switch (AnalyseError(number, error.Description())) {
        case 0: return ErrorAction::Retry;
        case 1: return ErrorAction::Continue;
        case 2: return ErrorAction::Leave;
        case 3:
            if (IsRefusal(number)) throw ProgramEnd{kExitUsage};
            throw ProgramEnd{(number == kErrDialogCancelled || number == kErrOptionsCancelled) ? kExitUserRequest
                                                                                               : kExitFatal};
        default: MercyfulExit(CurrentExport().CurrentProcedure, number, error.Description());
    }
}

clsExceptionHandler& ExceptionHandler() {
    static clsExceptionHandler fallback;
    return CurrentExport().ExceptionHandler ? *CurrentExport().ExceptionHandler : fallback;
}

void RaiseError(int id, const std::string& p1, const std::string& p2, const std::string& p3, const std::string& p4) {
    throw Error(id, modUtilities::GetNLSString(id, p1, p2, p3, p4));
}

void RaiseWarning(int id, const std::string& p1, const std::string& p2, const std::string& p3, const std::string& p4) {
    ExceptionHandler().Handle(Error(id, modUtilities::GetNLSString(id, p1, p2, p3, p4)));
}
