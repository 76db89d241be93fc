#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/BufferedFile.h"
#include "platform/OrderedCollection.h"
#include "runtime/ExportFiles.h"

class clsMappingRuleToken;

/// Open modes of OpenFile.
enum FileMode : int { kModeRead = 1, kModeWrite = 2, kModeAppend = 3 };

/// Owns the definition file and its log, the plain text file operations, the save-file dialog
/// and the reading of the mapping profile.
class clsIOHandler : public ExportFiles {
public:
    clsIOHandler();
    ~clsIOHandler() override;
    clsIOHandler(const clsIOHandler&) = delete;
    clsIOHandler& operator=(const clsIOHandler&) = delete;

    /// Open a file in a mode (1 read, 2 write, 3 append) and return its handle; any other mode
    /// raises error 2000.
    int OpenFile(const std::string& fileName, int mode);
    /// Close a file; handle 0 is ignored.
    void CloseFile(int handle);
    /// Create the file empty (an empty name means the definition file).
    void AllocateFile(const std::string& fileName);
    /// Append the text and CR LF, converted to the active code page (an empty name means the
    /// definition file). A lone CR or LF in the text is written as CR LF. The definition file
    /// and the log are written through a buffer: see FlushFiles.
    void WriteFile(const std::string& text, const std::string& fileName = "") override;
    /// Write the lines buffered so far into their files. Reading a file back, creating it anew
    /// and every message box do this by themselves; the program does it before it checks the
    /// definition file and before it ends. A failed write raises the error WriteFile raises.
    void FlushFiles();
    /// The whole content, every line followed by CR LF, converted to UTF-8 from the active code
    /// page (an empty name means the definition file).
    std::string ReadFile(const std::string& fileName = "");
    /// True when the file exists; leaves the current step text "failed" when it does not.
    bool FileExists(const std::string& fileName);
    /// Error 60102 (a refusal) when $LUMENPORT_CODEPAGE names a code page the files cannot be
    /// written in; called before any file is created.
    void CheckOutputCodePage() const;
    /// Let the user choose the definition file; creates it and its log empty. Returns its name.
    /// A definition file or log that is the ARIS export being read is refused (error 60101).
    std::string FileSelectDialog();
    /// Append one line to the log.
    void WriteLog(const std::string& text) override;

    /// The mapping profile text ("" when there is none); sets MappingProfileFound.
    std::string ReadMappingProfile();
    /// Split a profile text into tokens, in text order, without keys.
    platform::OrderedCollection<clsMappingRuleToken> TokenizeMappingProfile(const std::string& profileText);
    /// Fill the rule registry from the profile, or with the built-in rules.
    void ParseMappingFile();
    /// Path of the mapping profile: the one named with --profile; else the program's folder and
    /// its file name with ".prf"; else, when that is missing, the user's own kvbrars.prf in the
    /// settings folder when it exists.
    std::string MappingProfilePath() const;

    bool MappingProfileFound = false;
    /// True when the built-in rules were used: no profile, or an empty one.
    bool DefaultMappingRulesUsed = false;
    /// The file named with --output; it answers the save-file dialog.
    std::string CommandLineOutput;
    /// A profile path used instead of the one beside the program (--profile).
    std::string MappingProfileOverride;
    /// The profile line of the token a syntax error was raised at; 0 when there was none.
    int ProfileErrorLine = 0;

    const std::string& DefinitionFileName() const { return definitionFile_; }
    const std::string& LogFileName() const { return logFile_; }
    /// The question the save-file window asks before a definition file is used whose file or
    /// log exists (both are emptied for the export); "" when neither exists.
    static std::string ReplaceQuestion(const std::string& definitionFile);
    /// Set the definition file and derive the log name (LogFileNameFor), without creating either.
    void SetDefinitionFileName(const std::string& fileName);
    /// The log of a definition file: its name less the last four characters + ".log" when those
    /// are a dot and a three-character extension other than "log" (any case) within the file's
    /// own name; otherwise the whole name + ".log" ("a.wpx" -> "a.log", "a.log" -> "a.log.log",
    /// "out/a.b" -> "out/a.b.log").
    static std::string LogFileNameFor(const std::string& fileName);

private:
    /// A file WriteFile appends to, kept open between writes and written through a buffer:
    /// the lines reach the file in blocks, not with one write each.
    struct AppendTarget {
        std::string name;
        std::unique_ptr<platform::BufferedFile> file;
    };
    /// Error 60101 (a refusal) when the file is the ARIS export being read, whatever its name.
    void RefuseToOverwriteTheExport(const std::string& fileName) const;
    /// The buffered file appending to a file, opened on first use.
    platform::BufferedFile& AppendFile(const std::string& fileName);
    /// The kept file of that name, or null.
    AppendTarget* FindAppendTarget(const std::string& fileName);
    /// Write the buffered lines of a file (before it is read or opened otherwise).
    void FlushAppendTarget(std::string fileName);
    /// Write the buffered lines and close the kept file (before it is created anew).
    void ForgetAppendTarget(std::string fileName);
    /// Raise the write error of a file as WriteFile does; its buffered lines are gone. The
    /// names are taken by value: the kept file they may come from is closed on the way.
    [[noreturn]] void RaiseWriteError(int err, std::string fileName);

    std::string definitionFile_;
    std::string logFile_;
    std::vector<AppendTarget> appendTargets_;
};
