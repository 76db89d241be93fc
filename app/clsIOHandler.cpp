#include "app/clsIOHandler.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>

#include "app/clsExceptionHandler.h"
#include "app/modGlobals.h"
#include "app/modUtilities.h"
#include "platform/CodePage.h"
#include "platform/Error.h"
#include "platform/ProgramPath.h"
#include "platform/Text.h"
#include "platform/UiMode.h"

using namespace platform;

namespace {

// Open files by handle; the program keeps none open between operations.
std::map<int, std::FILE*>& OpenFiles() {
    static std::map<int, std::FILE*> files;
    return files;
}

int FreeHandle() {
    int h = 1;
    while (OpenFiles().count(h)) ++h;
    return h;
}

// A failed file operation as the runtime error that fits its cause, naming the file.
[[noreturn]] void RaiseFileError(int err, const std::string& fileName, const char* action) {
    int number = kErrFileIO;
    if (err == ENOENT) number = kErrPathNotFound;
    if (err == EACCES || err == EPERM || err == EROFS || err == EISDIR) number = kErrPermissionDenied;
    if (err == ENOSPC || err == EDQUOT || err == EFBIG) number = kErrDiskFull;
    throw Error(number, StandardErrorDescription(number) + ": cannot " + action + " '" + fileName + "': " +
                            std::strerror(err));
}

std::string LastPathComponent(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The save-file dialog's default extension: a name without extension gets ".wpx".
std::string WithDefaultExtension(const std::string& path) {
    std::string leaf = LastPathComponent(path);
    std::size_t dot = leaf.rfind('.');
    if (dot == std::string::npos || dot == 0) return path + ".wpx";
    return path;
}

std::string TextValue(const RegValue& v) {
    if (const auto* s = std::get_if<std::string>(&v)) return *s;
    if (const auto* n = std::get_if<std::int32_t>(&v)) return std::to_string(*n);
    return "";
}

}  // namespace

clsIOHandler::clsIOHandler() = default;

clsIOHandler::~clsIOHandler() = default;

int clsIOHandler::OpenFile(const std::string& fileName, int mode) {
    ProcedureScope scope("clsIOHandler.OpenFile");
    const char* how = nullptr;
    switch (mode) {
        case kModeRead: how = "rb"; break;
        case kModeWrite: how = "wb"; break;
        case kModeAppend: how = "ab"; break;
        default: RaiseError(2000, std::to_string(mode));
    }
    std::FILE* f = std::fopen(fileName.c_str(), how);
    if (!f) {
        int err = errno;
        if (mode == kModeRead && err == ENOENT)
            throw Error(kErrFileNotFound, StandardErrorDescription(kErrFileNotFound) + ": '" + fileName + "'");
        RaiseFileError(err, fileName, mode == kModeRead ? "read" : "write");
    }
    int handle = FreeHandle();
    OpenFiles()[handle] = f;
    return handle;
}

void clsIOHandler::CloseFile(int handle) {
    ProcedureScope scope("clsIOHandler.CloseFile");
    if (handle == 0) return;
    auto it = OpenFiles().find(handle);
    if (it == OpenFiles().end()) return;
    std::FILE* f = it->second;
    OpenFiles().erase(it);
    std::fclose(f);
}

void clsIOHandler::AllocateFile(const std::string& fileName) {
    ProcedureScope scope("clsIOHandler.AllocateFile");
    const std::string& name = fileName.empty() ? definitionFile_ : fileName;
    CloseFile(OpenFile(name, kModeWrite));
}

void clsIOHandler::WriteFile(const std::string& text, const std::string& fileName) {
    ProcedureScope scope("clsIOHandler.WriteFile");
    const std::string& name = fileName.empty() ? definitionFile_ : fileName;
    std::string bytes = FromUtf8ToCodePage(text, ActiveCodePage()) + "\r\n";
    int handle = OpenFile(name, kModeAppend);
    std::FILE* f = OpenFiles()[handle];
    std::size_t written = std::fwrite(bytes.data(), 1, bytes.size(), f);
    int err = written == bytes.size() ? 0 : errno;
    if (std::fflush(f) != 0 && err == 0) err = errno;
    OpenFiles().erase(handle);
    if (std::fclose(f) != 0 && err == 0) err = errno;
    if (err != 0) RaiseFileError(err, name, "write");
}

std::string clsIOHandler::ReadFile(const std::string& fileName) {
    ProcedureScope scope("clsIOHandler.ReadFile");
    const std::string& name = fileName.empty() ? definitionFile_ : fileName;
    int handle = OpenFile(name, kModeRead);
    std::FILE* f = OpenFiles()[handle];
    std::string raw;
    char buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) raw.append(buf, n);
    bool failed = std::ferror(f);
    int err = errno;
    CloseFile(handle);
    if (failed) RaiseFileError(err, name, "read");
    // Lines end at CR LF, LF or CR; each line read is followed by CR LF.
    std::string out;
    out.reserve(raw.size() + raw.size() / 16);
    std::size_t pos = 0;
    while (pos < raw.size()) {
        std::size_t end = raw.find_first_of("\r\n", pos);
        if (end == std::string::npos) end = raw.size();
        out.append(raw, pos, end - pos);
        out.append("\r\n");
        if (end < raw.size() && raw[end] == '\r' && end + 1 < raw.size() && raw[end + 1] == '\n') ++end;
        pos = end + 1;
    }
    return FromCodePageToUtf8(out, ActiveCodePage());
}

bool clsIOHandler::FileExists(const std::string& fileName) {
    ProcedureScope scope("clsIOHandler.FileExists");
    modGlobals::CurrentStep = "Open file";
    int handle = 0;
    try {
        handle = OpenFile(fileName, kModeRead);
    } catch (const Error& e) {
        if (e.Number() != kErrFileNotFound || modGlobals::CurrentStep != "Open file") throw;
        modGlobals::CurrentStep = "failed";
        scope.Reassert();
    }
    if (modGlobals::CurrentStep == "failed") return false;
    modGlobals::CurrentStep.clear();
    CloseFile(handle);
    return true;
}

void clsIOHandler::SetDefinitionFileName(const std::string& fileName) {
    definitionFile_ = fileName;
    logFile_ = LeftChars(fileName, CharCount(fileName) >= 4 ? CharCount(fileName) - 4 : 0) + ".log";
}

std::string clsIOHandler::FileSelectDialog() {
    ProcedureScope scope("clsIOHandler.FileSelectDialog");
    std::string outputPath = TextValue(modUtilities::GetProfileValue(modUtilities::kToolIntegrationKey, "OutputPath"));
    std::string outputName =
        TextValue(modUtilities::GetProfileValue(modUtilities::kToolIntegrationKey, "OutputFileName"));
    for (;;) {
        std::optional<std::string> chosen;
        if (!CommandLineOutput.empty()) {
            chosen = CommandLineOutput;
        } else if (Interactive() && SaveFileDialog()) {
            SaveFileRequest request{outputPath, outputName.empty() ? "*.wpx" : outputName,
                                    "Flow Definition Files (*.wpx)|*.wpx|All Files (*.*)|*.*", "wpx"};
            chosen = SaveFileDialog()(request);
        } else if (!outputName.empty()) {
            chosen = outputPath.empty() ? outputName : outputPath + (outputPath.back() == '/' ? "" : "/") + outputName;
        }
        if (chosen && !chosen->empty()) {
            SetDefinitionFileName(WithDefaultExtension(*chosen));
            break;
        }
        // Cancelled: the error path asks whether to end; No shows the dialog again.
        ErrorAction action = ExceptionHandler().Handle(
            Error(kErrDialogCancelled, "The file dialog was cancelled"));
        scope.Reassert();
        if (action != ErrorAction::Retry) return definitionFile_;
        if (!Interactive()) return definitionFile_;
    }
    AllocateFile(definitionFile_);
    AllocateFile(logFile_);
    return definitionFile_;
}

void clsIOHandler::WriteLog(const std::string& text) {
    ProcedureScope scope("clsIOHandler.WriteLog");
    WriteFile(text, logFile_);
}

std::string clsIOHandler::MappingProfilePath() const {
    if (!MappingProfileOverride.empty()) return MappingProfileOverride;
    return ProgramDirectory() + "/" + ProgramBaseName() + ".prf";
}
