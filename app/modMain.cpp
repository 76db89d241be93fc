#include "app/modMain.h"

#include <cstdlib>
#include <iostream>
#include <new>

#include "app/clsARIS_Interface.h"
#include "app/clsExceptionHandler.h"
#include "app/clsIOHandler.h"
#include "app/clsWPX_Export.h"
#include "app/modGlobals.h"
#include "app/modProgress.h"
#include "app/modUtilities.h"
#include "mapping/ColMappingRules.h"
#include "writer/clsWPXWriter.h"
#include "platform/CodePage.h"
#include "platform/RegistryStore.h"
#include "platform/Text.h"
#include "platform/UiMode.h"

using namespace platform;

namespace modMain {

namespace {

const char* kUsage =
    "usage: kvbrars [--batch] [--output FILE] /SVR=server /DB=database /USR=user [/REG=value] /SEL=selection /LOC=locale\n"
    "       kvbrars --list /SVR=server /DB=database [/LOC=locale]\n"
    "       kvbrars --help | --version\n";

const char* kHelp =
    "Exports the selected ARIS models into one workflow definition file (.wpx) and its log (.log).\n"
    "\n"
    "ARIS switches (any order; separator \"=\", \":\" or a blank; a value ends before the next \"/\"):\n"
    "  /SVR=server     ARIS server: a folder of ARIS XML exports\n"
    "  /DB=database    database: the file database.xml in the server folder\n"
    "  /USR=user       ARIS user name\n"
    "  /REG=value      fourth login value\n"
    "  /SEL=selection  selected models: id,name,type items separated by \";\"\n"
    "  /LOC=locale     ARIS locale id, for example 1031 (German) or 1033 (English)\n"
    "\n"
    "Options:\n"
    "  --batch         show no windows: messages go to standard error\n"
    "  --output FILE   write the definition file FILE and its log beside it\n"
    "  --list          print the models of /SVR /DB as selection items guid,name,type\n"
    "  --help          print this text\n"
    "  --version       print the version\n"
    "\n"
    "Exit status: 0 export finished, 1 ended by a fatal error, 2 ended by an unknown error,\n"
    "3 ended at the user's request, 4 language library missing, 64 unusable options.\n";

// Registry lines that could not be read are reported once, so nothing is dropped silently.
void ReportSettingsProblems() {
    for (const std::string& line : RegistryHive::TakeReports())
        std::cerr << ForTerminal("kvbrars: warning: " + line) << "\n";
}

bool DisplayAvailable() {
    const char* x = std::getenv("DISPLAY");
    const char* w = std::getenv("WAYLAND_DISPLAY");
    return (x && *x) || (w && *w);
}

// The end of an unexpected failure: the error path with an unknown error number.
int EndWithUnknownError(int number, const std::string& description) {
    try {
        ExceptionHandler().MercyfulExit(modGlobals::CurrentProcedure, number, description);
    } catch (const ProgramEnd& end) {
        return end.exitStatus;
    }
}

int HandleAtTop(const Error& error) {
    try {
        ExceptionHandler().Handle(error);
    } catch (const ProgramEnd& end) {
        return end.exitStatus;
    }
    // A warning or a declined question that reached the top: nothing is left to go on with.
    return kExitMercyful;
}

bool HasListSeparator(const std::string& text) { return text.find_first_of(",;/") != std::string::npos; }

int ListModels() {
    ProcedureScope scope("modMain.ListModels");
    clsARIS_Interface& session = *modGlobals::ARIS_Interface;
    std::string loc = Trim(session.GetCommandLine("/LOC"));
    std::string server = Trim(session.GetCommandLine("/SVR"));
    std::string database = Trim(session.GetCommandLine("/DB"));
    if (server.empty() || database.empty()) {
        std::cerr << "kvbrars: --list needs /SVR and /DB\n" << kUsage;
        return kExitUsage;
    }
    session.SetCommandLine(session.CommandLine() + (loc.empty() ? " /LOC=0" : ""));
    session.SaveCommandlineArguments();
    session.OpenDatabase();
    const aris::Database* db = session.Database();
    std::vector<aris::LocaleId> locales = db->Locales();
    aris::LocaleId useLoc = modGlobals::LocaleId;
    if (loc.empty()) useLoc = locales.empty() ? 1033 : locales.front();
    for (const aris::Model* model : db->AllModels()) {
        std::string name = model->Name(useLoc);
        std::string guid = model->Guid();
        std::cout << ForTerminal(guid + "," + name + "," + std::to_string(model->TypeNum())) << "\n";
        if (HasListSeparator(name) || HasListSeparator(guid))
            std::cerr << ForTerminal("kvbrars: warning: model '" + name + "' (" + guid +
                                     ") contains \",\", \";\" or \"/\" and cannot be selected with /SEL")
                      << "\n";
    }
    std::string ids;
    for (aris::LocaleId l : locales) ids += (ids.empty() ? "" : ", ") + std::to_string(l);
    std::cerr << "kvbrars: locale ids in " << database << ": " << (ids.empty() ? "none" : ids) << " (listed for "
              << useLoc << ")\n";
    return kExitDone;
}

}  // namespace

OwnOptions ParseOwnOptions(const std::vector<std::string>& args) {
    OwnOptions o;
    std::string joined;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) != 0) {
            joined += (joined.empty() ? "" : " ") + a;
            continue;
        }
        if (a == "--batch") o.batch = true;
        else if (a == "--list") o.list = true;
        else if (a == "--help") o.help = true;
        else if (a == "--version") o.version = true;
        else if (a == "--output" || a.rfind("--output=", 0) == 0) {
            std::string value;
            if (a == "--output") {
                if (i + 1 >= args.size()) {
                    o.error = "--output needs a file name";
                    continue;
                }
                value = args[++i];
            } else {
                value = a.substr(9);
            }
            if (value.empty()) o.error = "--output needs a file name";
            o.output = value;
        } else {
            o.error = "unknown option " + a;
        }
    }
    o.aris = joined;
    return o;
}

namespace {
bool g_desktopUnavailable = false;
std::string g_desktopModule, g_desktopProblem;

void TellDesktopUnavailable() {
    if (!g_desktopUnavailable) return;
    g_desktopUnavailable = false;
    std::string line = g_desktopProblem.empty()
                           ? modUtilities::GetNLSString(60500, g_desktopModule)
                           : modUtilities::GetNLSString(60501, g_desktopModule, g_desktopProblem);
    std::cerr << ForTerminal("kvbrars: " + line) << "\n";
}
}  // namespace

void NoteDesktopUnavailable(const std::string& module, const std::string& why) {
    g_desktopUnavailable = true;
    g_desktopModule = module;
    g_desktopProblem = why;
}

bool Setup(const OwnOptions& options) {
    ProcedureScope scope("modMain.Setup");
    if (!modUtilities::LoadLocalizedResources()) return false;
    TellDesktopUnavailable();
    modGlobals::ExceptionHandler = new clsExceptionHandler();
    modGlobals::ARIS_Interface = new clsARIS_Interface();
    modGlobals::IOHandler = new clsIOHandler();
    modGlobals::WPX_Export = new clsWPX_Export();
    modGlobals::WPXWriter = new clsWPXWriter();
    modGlobals::CreateRegistries();
    modMappingRule::ResetMappingRules();
    modGlobals::ARIS_Interface->SetCommandLine(options.aris);
    modGlobals::IOHandler->CommandLineOutput = options.output;
    if (options.list) return true;
    modGlobals::ARIS_Interface->SaveCommandlineArguments();
    modGlobals::ARIS_Interface->RetrieveSelectedARISModels();
    return true;
}

namespace {
bool g_leaveDataAtExit = false;
}  // namespace

void LeaveDataToTheSystemAtExit(bool leave) { g_leaveDataAtExit = leave; }

void Shutdown() {
    ProcedureScope scope("modMain.Shutdown");
    modMappingRule::ResetMappingRules();
    // The constructs and the database of a large export are millions of blocks; when the
    // process ends next, they stay where they are (still referenced) and go with it.
    if (!g_leaveDataAtExit) modGlobals::ReleaseRegistries();
    delete modGlobals::WPXWriter;
    modGlobals::WPXWriter = nullptr;
    delete modGlobals::WPX_Export;
    modGlobals::WPX_Export = nullptr;
    delete modGlobals::IOHandler;
    modGlobals::IOHandler = nullptr;
    if (!g_leaveDataAtExit) {
        delete modGlobals::ARIS_Interface;
        modGlobals::ARIS_Interface = nullptr;
    }
    delete modGlobals::ExceptionHandler;
    modGlobals::ExceptionHandler = nullptr;
    modGlobals::LanguageLibrary.Free();
}

int Main(int argc, char** argv, const DesktopInstaller& installDesktop, const std::function<void()>& shutdownDesktop) {
    std::vector<std::string> args(argv + 1, argv + argc);
    OwnOptions own = ParseOwnOptions(args);
    if (!own.error.empty()) {
        std::cerr << "kvbrars: " << own.error << "\n" << kUsage;
        return kExitUsage;
    }
    if (own.help) {
        std::cout << kUsage << "\n" << kHelp;
        return kExitDone;
    }
    if (own.version) {
        std::cout << "kvbrars " << LUMENPORT_VERSION << "\n";
        return kExitDone;
    }

    bool desktop = false;
    if (!own.batch && !own.list && DisplayAvailable() && installDesktop) desktop = installDesktop(argc, argv);
    SetInteractive(desktop);

    ProcedureScope scope("modMain.Main");
    int status = kExitDone;
    try {
        if (!Setup(own)) {
            status = kExitNoLanguage;
        } else if (own.list) {
            status = ListModels();
            Shutdown();
        } else {
            modGlobals::WPX_Export->Run();
            Shutdown();
        }
    } catch (const ProgramEnd& end) {
        status = end.exitStatus;
    } catch (const Error& error) {
        status = HandleAtTop(error);
    } catch (const aris::ServerError& error) {
        status = HandleAtTop(Error(error.Number(), error.what()));
    } catch (const std::bad_alloc&) {
        status = EndWithUnknownError(7, "Out of memory");
    } catch (const std::exception& e) {
        status = EndWithUnknownError(51, std::string("Internal error: ") + e.what());
    }
    modProgress::ExportFinished();
    ReportSettingsProblems();
    if (desktop && shutdownDesktop) shutdownDesktop();
    return status;
}

}  // namespace modMain
