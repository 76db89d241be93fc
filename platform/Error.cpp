#include "platform/Error.h"

#include <cerrno>

namespace platform {

Error::Error(int number, std::string description)
    : std::runtime_error(description), number_(number), description_(std::move(description)) {}

int FileErrorNumber(int err) {
    struct Row {
        int err;
        int number;
    };
    static constexpr Row kRows[] = {
        {ENOENT, kErrPathNotFound},    {EACCES, kErrPermissionDenied}, {EPERM, kErrPermissionDenied},
        {EROFS, kErrPermissionDenied}, {EISDIR, kErrPermissionDenied}, {ENOSPC, kErrDiskFull},
        {EDQUOT, kErrDiskFull},        {EFBIG, kErrDiskFull},
    };
    for (const Row& row : kRows)
        if (row.err == err) return row.number;
    return kErrFileIO;
}

std::string StandardErrorDescription(int number) {
    switch (number) {
        case kErrInvalidCall: return "Invalid procedure call or argument";
        case kErrOverflow: return "Overflow";
        case kErrTypeMismatch: return "Type mismatch";
        case kErrFileNotFound: return "File not found";
        case kErrFileIO: return "Device I/O error";
        case kErrDiskFull: return "Disk full";
        case kErrPermissionDenied: return "Permission denied";
        case kErrPathNotFound: return "Path not found";
        case kErrObjectCreation: return "ActiveX component can't create object";
        case kErrDuplicateKey: return "This key is already associated with an element of this collection";
        default: return "Application-defined or object-defined error";
    }
}

void RaiseStandardError(int number) { throw Error(number, StandardErrorDescription(number)); }

void RaiseStandardError(int number, const std::string& detail) {
    throw Error(number, StandardErrorDescription(number) + ": " + detail);
}

}  // namespace platform
