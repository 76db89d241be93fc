#pragma once
#include <functional>
#include <string>
#include <vector>

/// The program's entry point, start-up and shutdown.
namespace modMain {

/// Starts the desktop windows; returns false when they cannot be used (batch mode then).
using DesktopInstaller = std::function<bool(int argc, char** argv)>;

/// Our own options (those starting with "--"), taken out of the arguments before the ARIS
/// switches are read.
struct OwnOptions {
    bool batch = false;
    bool list = false;
    bool help = false;
    bool version = false;
    std::string output;
    std::string check;        ///< --check FILE: the definition file to check
    std::string preview;      ///< --preview FOLDER: where the preview goes
    std::string previewFile;  ///< the definition file after --preview FOLDER, "" with an export
    bool all = false;         ///< select every model --list would print
    bool types = false;       ///< print the type table in effect
    bool printRules = false;  ///< print the built-in rules in profile syntax
    std::string aml;          ///< an AML file read directly instead of /SVR and /DB
    std::string profile;      ///< the mapping profile to use
    std::string error;        ///< why the options are unusable, "" when they are fine
    std::string aris;         ///< the remaining arguments joined by single blanks
};

/// Separate our own options from the ARIS switches.
OwnOptions ParseOwnOptions(const std::vector<std::string>& args);

/// Run the whole program; returns the exit status.
int Main(int argc, char** argv, const DesktopInstaller& installDesktop = nullptr,
         const std::function<void()>& shutdownDesktop = nullptr);

/// Start-up: language library, service objects, registries, command line, selected models
/// (only the service objects and command line when listing). Returns false when the language
/// library is missing.
bool Setup(const OwnOptions& options);
/// The desktop windows were asked for but cannot be shown: the module's file name and why
/// ("" when the module is not installed). Told in one line on standard error once the language
/// library is loaded; the program goes on in batch mode.
void NoteDesktopUnavailable(const std::string& module, const std::string& why);
/// Release everything in reverse order.
void Shutdown();
/// For a process that ends right after Main: Shutdown leaves the database and the constructs
/// to the operating system instead of freeing them one by one (the program sets it; tests that
/// run Main in-process do not).
void LeaveDataToTheSystemAtExit(bool leave);

}  // namespace modMain
