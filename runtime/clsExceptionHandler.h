#pragma once
#include <string>

#include "platform/Error.h"

/// Severities of the program's messages: the letter after the number in a message id and the
/// icon of a message box.
enum Severity : int {
    kSeverityCritical = 16,  ///< "C": an error that ends the program
    kSeverityQuestion = 32,  ///< "Q": a question to the user
    kSeverityWarning = 48,   ///< "E": a warning; the export goes on
    kSeverityInfo = 64,      ///< "I": information
};

/// How a procedure goes on after the error path handled an error.
enum class ErrorAction {
    Retry = 0,     ///< run the failing statement again
    Continue = 1,  ///< go on with the statement after the failing one
    Leave = 2,     ///< leave the procedure normally
};

/// Thrown to end the program in an orderly way; Main turns it into the exit status.
struct ProgramEnd {
    int exitStatus;
};

/// Exit statuses of the program.
enum ExitStatus : int {
    kExitDone = 0,
    kExitFatal = 1,        ///< ended by an error of severity C
    kExitMercyful = 2,     ///< ended through MercyfulExit
    kExitUserRequest = 3,  ///< ended at the user's request
    kExitNoLanguage = 4,   ///< language library missing
    kExitUsage = 64,       ///< unusable options of our own
};

/// Error numbers the program raises itself besides its catalog errors.
enum ProgramErrorNumber : int {
    kErrOptionsCancelled = 999,
    kErrDialogCancelled = 32755,
    /// Fatal: more ways between two objects than the export follows (exit status 1).
    kErrTooManyPaths = 60100,
    /// Refusals before anything is written (exit status 64): an output file that is the ARIS
    /// export being read, and a code page the program cannot write.
    kErrOutputIsInput = 60101,
    kErrUnknownCodePage = 60102,
};

/// Error analysis and orderly exit.
class clsExceptionHandler {
public:
    clsExceptionHandler();

    /// Show the report for one error and return the result code 0 to 4 (retry, continue,
    /// leave, end, unknown).
    int AnalyseError(int number, const std::string& description);

    /// Report an error that AnalyseError does not know and end the program.
    [[noreturn]] void MercyfulExit(const std::string& procedure, int number, const std::string& description);

    /// "KVB" + number with at least five digits + severity letter + blank.
    static std::string FormatMessageID(int severity, int number);

    /// Show a message box titled "Lumenport"; return the button pressed.
    int ShowMessageBox(const std::string& text, int style);

    /// The whole error path for one error raised in the current procedure: analyse it and act
    /// on the result (ending the program for results 3 and 4). Returns how to go on.
    ErrorAction Handle(const platform::Error& error);
};

/// The exception handler of the running program (a default one before Setup created it).
clsExceptionHandler& ExceptionHandler();

/// Raise one of the program's own errors: its catalog text with the parameters filled in.
[[noreturn]] void RaiseError(int id, const std::string& p1 = "", const std::string& p2 = "", const std::string& p3 = "",
                             const std::string& p4 = "");

/// Raise one of the program's warnings and go on: the error path shows it (result "continue").
void RaiseWarning(int id, const std::string& p1 = "", const std::string& p2 = "", const std::string& p3 = "",
                  const std::string& p4 = "");
