#pragma once
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/MessageBox.h"
#include "runtime/modGlobals.h"

namespace testenv {

/// A fresh temporary folder for one test, removed at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

/// Environment variables set (a value) or removed (nullopt) for one test; the old values come
/// back at the end.
class ScopedEnv {
public:
    explicit ScopedEnv(const std::map<std::string, std::optional<std::string>>& values);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::map<std::string, std::optional<std::string>> saved_;
};

/// Message boxes recorded instead of shown; answers with a preset button or the batch answer.
class RecordingMessageBox : public platform::MessageBoxPresenter {
public:
    int Show(const std::string& text, int style, const std::string& title) override;
    std::vector<std::string> texts;
    std::vector<int> styles;
    /// Answers to give in order; when used up, OK or Yes.
    std::vector<int> answers;
};

/// Isolates one test: own settings hives and ARIS server folder under a temporary folder, an
/// export of its own (the current one while the sandbox lives) with the language library of a
/// code loaded from the build, message boxes recorded.
class Sandbox {
public:
    explicit Sandbox(const std::string& language = "DEU");
    ~Sandbox();
    ExportContext context;  ///< first member: it ends last
    TempDir dir;
    std::string userHive;
    std::string machineHive;
    RecordingMessageBox* boxes;  ///< owned by the message box slot while the sandbox lives

private:
    std::unique_ptr<platform::MessageBoxPresenter> previous_;
    std::map<std::string, std::string> savedEnv_;
};

/// Read a whole file as bytes ("" when missing).
std::string ReadFile(const std::string& path);
/// Write bytes to a file, creating folders.
void WriteFile(const std::string& path, const std::string& bytes);

/// The result of running the program.
struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

/// Run the built program with arguments, extra environment and no standard input.
RunResult RunProgram(const std::vector<std::string>& args, const std::map<std::string, std::string>& env = {});

/// Run another copy of the program (see CopyProgramTo) in the same way.
RunResult RunProgramAt(const std::string& program, const std::vector<std::string>& args,
                       const std::map<std::string, std::string>& env = {});

/// Copy the program with its language libraries and type table into a folder, so that a test
/// can put a mapping profile beside it without touching the build. Returns the program's path.
std::string CopyProgramTo(const std::string& folder);

/// How many lines of `text` begin with `prefix`.
int CountLinesStarting(const std::string& text, const std::string& prefix);

/// A batch export of one model of a test database, timed.
struct TimedExport {
    RunResult run;
    double seconds = 0;
    std::string definition;  ///< the definition file written
    std::string log;         ///< its log
};

/// Writes `aml` as database "chain" of server T in the sandbox, exports the model selected by
/// `selection` (a /SEL value) in batch mode with locale 1033 and code page 1252, and returns
/// the result with the wall time of the run.
TimedExport ExportTimed(const Sandbox& box, const std::string& aml, const std::string& selection);

/// Path of a file in the build's program folder.
std::string BinPath(const std::string& name);
/// Path of a file under tests/.
std::string TestDataPath(const std::string& relative);

}  // namespace testenv
