#pragma once
#include <stdexcept>
#include <string>

namespace platform {

/// An error raised by the program: its number and its description text.
class Error : public std::runtime_error {
public:
    Error(int number, std::string description);
    /// The error number (the program's own errors equal the id of their catalog text).
    int Number() const { return number_; }
    /// The description shown in the explanation part of an error report.
    const std::string& Description() const { return description_; }

private:
    int number_;
    std::string description_;
};

/// Well-known runtime error numbers.
enum StandardErrorNumber : int {
    kErrInvalidCall = 5,        ///< invalid argument, missing collection key
    kErrOverflow = 6,           ///< arithmetic overflow
    kErrTypeMismatch = 13,      ///< text that is no number where a number is needed
    kErrFileNotFound = 53,      ///< a file to read does not exist
    kErrPathNotFound = 76,      ///< the folder of a file does not exist
    kErrPermissionDenied = 70,  ///< no permission for a file
    kErrDiskFull = 61,          ///< no space left while writing
    kErrFileIO = 57,            ///< another input/output failure
    kErrObjectCreation = 429,   ///< an automation server cannot be started
    kErrDuplicateKey = 457,     ///< a key is already in a collection
};

/// Return the runtime's description text for a standard error number.
std::string StandardErrorDescription(int number);

/// The runtime error number of a failed file operation's errno: 76 (no such file or folder),
/// 70 (no permission, read-only, a folder), 61 (no space, quota, too large), else 57. The one
/// table every file operation of the program reports through.
int FileErrorNumber(int err);

/// Throw the standard error with its runtime description.
[[noreturn]] void RaiseStandardError(int number);

/// Throw the standard error with a description that adds detail (a file name, a position).
[[noreturn]] void RaiseStandardError(int number, const std::string& detail);

}  // namespace platform
