#include "app/clsIOHandler.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <map>
#include <system_error>

#include "app/clsARIS_Interface.h"
#include "aris/ServerLocator.h"
#include "platform/CodePage.h"
#include "platform/Error.h"
#include "platform/ProgramPath.h"
#include "platform/Text.h"
#include "platform/UiMode.h"
#include "runtime/clsExceptionHandler.h"
#include "runtime/modGlobals.h"
#include "runtime/modUtilities.h"

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
    const int number = FileErrorNumber(err);
    throw Error(number,
                StandardErrorDescription(number) + ": cannot " + action + " '" + fileName + "': " + std::strerror(err));
}

std::string LastPathComponent(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The save-file dialog's default extension: a name without extension gets ".wpx".
std::string WithDefaultExtension(const std::string& path) {
    const std::string leaf = LastPathComponent(path);
    const std::size_t dot = leaf.rfind('.');
    if (dot == std::string::npos || dot == 0) return path + ".wpx";
    return path;
}

std::string TextValue(const RegValue& v) {
    if (const auto* s = std::get_if<std::string>(&v)) return *s;
    if (const auto* n = std::get_if<std::int32_t>(&v)) return std::to_string(*n);
    return "";
}

// The value of our own in the program's key (user hive) that keeps the folder of the last
// definition file chosen in the save-file window: the window starts there next time.
constexpr const char* kLastOutputFolder = "LastOutputFolder";

std::string LastOutputFolder() {
    std::string folder = TextValue(modUtilities::GetProfileValue(modUtilities::kProgramKey, kLastOutputFolder));
    std::error_code ec;
    if (folder.empty() || !std::filesystem::is_directory(folder, ec)) return "";
    return folder;
}

void KeepOutputFolder(const std::string& definitionFile) {
    std::error_code ec;
    const std::filesystem::path file = std::filesystem::absolute(definitionFile, ec);
    if (ec) return;
    try {
        modUtilities::SetProfileValue(modUtilities::kProgramKey, kLastOutputFolder, file.parent_path().string(),
                                      RegType::String);
    } catch (const Error& e) {
        // Only the window's starting folder is lost; the export goes on.
        std::cerr << ForTerminal("kvbrars: " + modUtilities::GetNLSString(60504, e.Description())) << "\n";
    }
}

// The name the save-file window proposes without an "OutputFileName": the first selected
// model's name, made a file name.
std::string ModelFileName() {
    if (!CurrentExport().ARIS_Interface || CurrentExport().ARIS_Interface->ColSelectedModels().Count() == 0) return "";
    const aris::Model* model = CurrentExport().ARIS_Interface->ColSelectedModels().Item(1);
    std::string name = model ? Trim(model->Name(CurrentExport().LocaleId)) : std::string();
    for (char& c : name) {
        if (c == '/' || static_cast<unsigned char>(c) < 32) c = '_';
    }
    if (name.empty() || name == "." || name == "..") return "";
    return name + ".wpx";
}

}  // namespace

clsIOHandler::clsIOHandler() = default;

// A handler ended without FlushFiles (a test, an error on the way out) still writes what it holds.
clsIOHandler::~clsIOHandler() {
    for (AppendTarget& target : appendTargets_) target.file->Close();
}

clsIOHandler::AppendTarget* clsIOHandler::FindAppendTarget(const std::string& fileName) {
    for (AppendTarget& target : appendTargets_)
        if (target.name == fileName) return &target;
    return nullptr;
}

BufferedFile& clsIOHandler::AppendFile(const std::string& fileName) {
    if (AppendTarget* target = FindAppendTarget(fileName)) return *target->file;
    // The definition file and its log are the files written line by line; keep those two.
    constexpr std::size_t kKeptTargets = 2;
    if (appendTargets_.size() >= kKeptTargets) ForgetAppendTarget(appendTargets_.front().name);
    auto file = std::make_unique<BufferedFile>();
    if (const int err = file->Open(fileName)) RaiseFileError(err, fileName, "write");
    appendTargets_.push_back(AppendTarget{fileName, std::move(file)});
    return *appendTargets_.back().file;
}

// A copy of the name: the caller's text may be the name of the target dropped here.
void clsIOHandler::RaiseWriteError(int err, std::string fileName) {  // NOLINT(performance-unnecessary-value-param)
    // Reported as a failed write of a line, whichever step found it.
    const ProcedureScope scope("clsIOHandler.WriteFile");
    for (auto it = appendTargets_.begin(); it != appendTargets_.end(); ++it) {
        if (it->name != fileName) continue;
        it->file->Close();
        appendTargets_.erase(it);
        break;
    }
    RaiseFileError(err, fileName, "write");
}

// A copy of the name: the caller's text may be the name of the target dropped here.
void clsIOHandler::FlushAppendTarget(std::string fileName) {  // NOLINT(performance-unnecessary-value-param)
    AppendTarget* target = FindAppendTarget(fileName);
    if (!target) return;
    int err = target->file->TakeDeferredError();
    if (!err) err = target->file->Flush();
    if (err) RaiseWriteError(err, fileName);
}

// A copy of the name: the caller's text may be the name of the target dropped here.
void clsIOHandler::ForgetAppendTarget(std::string fileName) {  // NOLINT(performance-unnecessary-value-param)
    for (auto it = appendTargets_.begin(); it != appendTargets_.end(); ++it) {
        if (it->name != fileName) continue;
        int err = it->file->TakeDeferredError();
        const int closeErr = it->file->Close();
        if (!err) err = closeErr;
        appendTargets_.erase(it);
        if (err) RaiseWriteError(err, fileName);
        return;
    }
}

void clsIOHandler::FlushFiles() {
    for (std::size_t i = 0; i < appendTargets_.size(); ++i) FlushAppendTarget(appendTargets_[i].name);
}

int clsIOHandler::OpenFile(const std::string& fileName, int mode) {
    const ProcedureScope scope("clsIOHandler.OpenFile");
    const char* how = nullptr;
    switch (mode) {
        case kModeRead: how = "rb"; break;
        case kModeWrite: how = "wb"; break;
        case kModeAppend: how = "ab"; break;
        default: RaiseError(2000, std::to_string(mode));
    }
    // A file created anew is no longer appended to through a kept descriptor: the next line
    // must go to the new file, even when the old one was removed meanwhile. A file read or
    // appended to otherwise gets its buffered lines first.
    if (mode == kModeWrite) ForgetAppendTarget(fileName);
    else FlushAppendTarget(fileName);
    std::FILE* f = std::fopen(fileName.c_str(), how);
    if (!f) {
        const int err = errno;
        if (mode == kModeRead && err == ENOENT)
            throw Error(kErrFileNotFound, StandardErrorDescription(kErrFileNotFound) + ": '" + fileName + "'");
        RaiseFileError(err, fileName, mode == kModeRead ? "read" : "write");
    }
    const int handle = FreeHandle();
    OpenFiles()[handle] = f;
    return handle;
}

void clsIOHandler::CloseFile(int handle) {
    const ProcedureScope scope("clsIOHandler.CloseFile");
    if (handle == 0) return;
    auto it = OpenFiles().find(handle);
    if (it == OpenFiles().end()) return;
    std::FILE* f = it->second;
    OpenFiles().erase(it);
    std::fclose(f);
}

void clsIOHandler::AllocateFile(const std::string& fileName) {
    const ProcedureScope scope("clsIOHandler.AllocateFile");
    const std::string& name = fileName.empty() ? definitionFile_ : fileName;
    CloseFile(OpenFile(name, kModeWrite));
}

void clsIOHandler::WriteFile(const std::string& text, const std::string& fileName) {
    const ProcedureScope scope("clsIOHandler.WriteFile");
    const std::string& name = fileName.empty() ? definitionFile_ : fileName;
    std::string lines;
    std::string converted;
    const std::string_view bytes = FromUtf8ToCodePage(WithCrLfLineBreaks(text, lines), ActiveCodePage(), converted);
    BufferedFile& file = AppendFile(name);
    // A write made for a message box that failed is reported with the next line.
    int err = file.TakeDeferredError();
    if (!err) err = file.Append(bytes, "\r\n");
    if (err) RaiseWriteError(err, name);
}

std::string clsIOHandler::ReadFile(const std::string& fileName) {
    const ProcedureScope scope("clsIOHandler.ReadFile");
    const std::string& name = fileName.empty() ? definitionFile_ : fileName;
    const int handle = OpenFile(name, kModeRead);
    std::FILE* f = OpenFiles()[handle];
    std::string raw;
    char buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) raw.append(buf, n);
    const bool failed = std::ferror(f);
    const int err = errno;
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
    const ProcedureScope scope("clsIOHandler.FileExists");
    CurrentExport().CurrentStep = "Open file";
    int handle = 0;
    try {
        handle = OpenFile(fileName, kModeRead);
    } catch (const Error& e) {
        if (e.Number() != kErrFileNotFound || CurrentExport().CurrentStep != "Open file") throw;
        CurrentExport().CurrentStep = "failed";
        scope.Reassert();
    }
    if (CurrentExport().CurrentStep == "failed") return false;
    CurrentExport().CurrentStep.clear();
    CloseFile(handle);
    return true;
}

std::string clsIOHandler::LogFileNameFor(const std::string& fileName) {
    // The last four characters replaced only when they are a dot and a three-character
    // extension of the file's own name other than "log": so the log is never the definition
    // file itself, nor a file in another folder.
    const std::size_t count = CharCount(fileName);
    if (count >= 4) {
        const std::string last = MidChars(fileName, count - 4);
        const std::string_view extension = std::string_view(last).substr(1);
        if (last[0] == '.' && CharCount(extension) == 3 && extension.find('/') == std::string_view::npos &&
            !EqualsIgnoringCase(extension, "log"))
            return LeftChars(fileName, count - 4) + ".log";
    }
    return fileName + ".log";
}

void clsIOHandler::SetDefinitionFileName(const std::string& fileName) {
    definitionFile_ = fileName;
    logFile_ = LogFileNameFor(fileName);
}

std::string clsIOHandler::ReplaceQuestion(const std::string& definitionFile) {
    // The log is named as the export will name it.
    clsIOHandler names;
    names.SetDefinitionFileName(definitionFile);
    std::error_code ec;
    const bool file = std::filesystem::exists(definitionFile, ec);
    const bool log = std::filesystem::exists(names.LogFileName(), ec);
    const std::string fileName = std::filesystem::path(definitionFile).filename().string();
    const std::string logName = std::filesystem::path(names.LogFileName()).filename().string();
    if (file) return modUtilities::GetNLSString(log ? 60502 : 60503, fileName, logName);
    if (log) return modUtilities::GetNLSString(60505, logName, fileName);
    return "";
}

std::string clsIOHandler::FileSelectDialog() {
    const ProcedureScope scope("clsIOHandler.FileSelectDialog");
    std::string outputPath = TextValue(modUtilities::GetProfileValue(modUtilities::kToolIntegrationKey, "OutputPath"));
    const std::string outputName =
        TextValue(modUtilities::GetProfileValue(modUtilities::kToolIntegrationKey, "OutputFileName"));
    for (;;) {
        std::optional<std::string> chosen;
        if (!CommandLineOutput.empty()) {
            chosen = CommandLineOutput;
        } else if (Interactive() && SaveFileDialog()) {
            const std::string lastFolder = LastOutputFolder();
            const std::string proposal = !outputName.empty() ? outputName : ModelFileName();
            const SaveFileRequest request{
                lastFolder.empty() ? outputPath : lastFolder, proposal.empty() ? "*.wpx" : proposal,
                "Flow Definition Files (*.wpx)|*.wpx|All Files (*.*)|*.*", "wpx", ReplaceQuestion};
            chosen = SaveFileDialog()(request);
            if (chosen && !chosen->empty()) KeepOutputFolder(WithDefaultExtension(*chosen));
        } else if (!outputName.empty()) {
            chosen = outputPath.empty() ? outputName : outputPath + (outputPath.back() == '/' ? "" : "/") + outputName;
        }
        if (chosen && !chosen->empty()) {
            SetDefinitionFileName(WithDefaultExtension(*chosen));
            break;
        }
        // In batch mode nothing named the file: say how to name it before the question.
        if (!Interactive() && CommandLineOutput.empty() && outputName.empty()) {
            std::cerr << ForTerminal(
                             modUtilities::GetNLSString(60270, modUtilities::kToolIntegrationKey, UserHivePath()))
                      << "\n";
        }
        // Cancelled: the error path asks whether to end; No shows the dialog again.
        const ErrorAction action =
            ExceptionHandler().Handle(Error(kErrDialogCancelled, "The file dialog was cancelled"));
        scope.Reassert();
        if (action != ErrorAction::Retry) return definitionFile_;
        if (!Interactive()) return definitionFile_;
    }
    RefuseToOverwriteTheExport(definitionFile_);
    RefuseToOverwriteTheExport(logFile_);
    AllocateFile(definitionFile_);
    AllocateFile(logFile_);
    return definitionFile_;
}

void clsIOHandler::CheckOutputCodePage() const {
    const ProcedureScope scope("clsIOHandler.CheckOutputCodePage");
    if (std::optional<std::string> value = UnwritableCodePageSetting()) RaiseError(kErrUnknownCodePage, *value);
}

void clsIOHandler::RefuseToOverwriteTheExport(const std::string& fileName) const {
    const aris::Database* database =
        CurrentExport().ARIS_Interface ? CurrentExport().ARIS_Interface->Database() : nullptr;
    const std::string source = database ? database->SourceFile() : "";
    if (source.empty()) return;
    // The same file under any name: links resolved, hard links included. A file that does not
    // exist yet cannot be the export.
    std::error_code ec;
    if (!std::filesystem::equivalent(fileName, source, ec) || ec) return;
    RaiseError(kErrOutputIsInput, fileName, source);
}

void clsIOHandler::WriteLog(const std::string& text) {
    const ProcedureScope scope("clsIOHandler.WriteLog");
    WriteFile(text, logFile_);
}

std::string clsIOHandler::MappingProfilePath() const {
    if (!MappingProfileOverride.empty()) return MappingProfileOverride;
    const std::string fileName = ProgramBaseName() + ".prf";
    const std::string beside = ProgramDirectory() + "/" + fileName;
    std::error_code ec;
    if (std::filesystem::exists(beside, ec)) return beside;
    // An installed program's folder is no place for a user's profile: theirs lives with their
    // settings.
    const std::string folder = aris::UserConfigFolder();
    if (!folder.empty() && std::filesystem::exists(folder + "/" + fileName, ec)) return folder + "/" + fileName;
    return beside;
}
