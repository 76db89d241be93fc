#include "app/modMain.h"

#include <malloc.h>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <new>
#include <system_error>
#include <unordered_map>

#include "app/clsARIS_Interface.h"
#include "app/clsIOHandler.h"
#include "app/clsWPX_Export.h"
#include "app/modDefinitionCheck.h"
#include "app/modExportSummary.h"
#include "app/modModelListing.h"
#include "aris/LocalServer.h"
#include "aris/ServerLocator.h"
#include "mapping/ColMappingRules.h"
#include "mapping/modMappingRule.h"
#include "platform/BufferedFile.h"
#include "platform/CodePage.h"
#include "platform/RegistryStore.h"
#include "platform/Text.h"
#include "platform/UiMode.h"
#include "runtime/clsExceptionHandler.h"
#include "runtime/modGlobals.h"
#include "runtime/modProgress.h"
#include "runtime/modUtilities.h"
#include "writer/clsWPXWriter.h"

using namespace platform;

namespace modMain {

namespace {

// The usage when no language library can be loaded (a usage error is found before the library
// is loaded); the library holds it in the program's language.
constexpr const char* kUsage =
    "usage: kvbrars [--batch] [--output FILE] [--profile FILE] [--preview DIR] /SVR=server /DB=database /USR=user [/REG=value] /SEL=selection /LOC=locale\n"
    "       kvbrars [--batch] [--output FILE] [--profile FILE] [--preview DIR] --aml FILE --all /USR=user /LOC=locale\n"
    "       kvbrars --list [--profile FILE] (/SVR=server /DB=database | --aml FILE) [/LOC=locale]\n"
    "       kvbrars --types [/SVR=server /DB=database | --aml FILE]\n"
    "       kvbrars --check FILE.wpx | --preview DIR FILE.wpx\n"
    "       kvbrars --print-rules | --help | --version\n";

constexpr const char* kHelp =
    "Exports the selected ARIS models into one workflow definition file (.wpx) and its log (.log).\n"
    "\n"
    "ARIS switches (any order; separator \"=\", \":\" or a blank; a value ends before the next \"/\"):\n"
    "  /SVR=server     ARIS server: a folder of ARIS XML exports\n"
    "  /DB=database    database: the file database.xml (or .aml) in the server folder\n"
    "  /USR=user       ARIS user name\n"
    "  /REG=value      fourth login value\n"
    "  /SEL=selection  selected models: id,name,type items separated by \";\"\n"
    "  /LOC=locale     ARIS locale id, for example 1031 (German) or 1033 (English)\n"
    "\n"
    "Options:\n"
    "  --batch         show no windows: messages and the summary go to standard error\n"
    "  --output FILE   write the definition file FILE and its log beside it\n"
    "  --aml FILE      read the ARIS XML export FILE instead of /SVR and /DB\n"
    "  --list          print the selectable models as selection items guid,name,type;\n"
    "                  every other model with its reason on standard error\n"
    "  --all           export every model --list prints, instead of /SEL\n"
    "  --types         print the ARIS type numbers in effect, with the table of each row\n"
    "  --profile FILE  take the mapping rules from the profile FILE\n"
    "  --print-rules   print the built-in mapping rules in profile syntax\n"
    "  --check FILE    check a definition file: one line per finding, status 1 with an error\n"
    "  --preview DIR   write DIR/index.html and one SVG per process, of FILE.wpx or of the export\n"
    "  --help          print this text\n"
    "  --version       print the version\n"
    "\n"
    "Exit status: 0 export finished, 1 ended by a fatal error, 2 ended by an unknown error,\n"
    "3 ended at the user's request, 4 language library missing, 64 unusable options.\n";

// A text of the language library, loaded for it quietly; `fallback` when there is none.
std::string LibraryText(int id, const char* fallback) {
    if (!CurrentExport().LanguageLibrary.Loaded() && !modUtilities::LoadLocalizedResources(true)) return fallback;
    const std::string text = modUtilities::GetNLSString(id);
    return text.empty() ? fallback : text;
}

std::string UsageText() { return LibraryText(60200, kUsage); }

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
    modProgress::ExportFinished();  // the progress is gone before the report shows
    try {
        ExceptionHandler().MercyfulExit(CurrentExport().CurrentProcedure, number, description);
    } catch (const ProgramEnd& end) {
        return end.exitStatus;
    }
}

int HandleAtTop(const Error& error) {
    modProgress::ExportFinished();  // the progress is gone before the report shows
    try {
        ExceptionHandler().Handle(error);
    } catch (const ProgramEnd& end) {
        return end.exitStatus;
    }
    // A warning or a declined question that reached the top: nothing is left to go on with.
    return kExitMercyful;
}

// The locale a listing names models in: /LOC, else the database's first locale.
aris::LocaleId ListingLocale(const clsARIS_Interface& session, const std::string& loc) {
    if (!loc.empty()) return CurrentExport().LocaleId;
    std::vector<aris::LocaleId> locales = session.Database()->Locales();
    return locales.empty() ? 1033 : locales.front();
}

int ListModels() {
    const ProcedureScope scope("modMain.ListModels");
    clsARIS_Interface& session = *CurrentExport().ARIS_Interface;
    const std::string loc = Trim(session.GetCommandLine("/LOC"));
    const std::string server = Trim(session.GetCommandLine("/SVR"));
    const std::string database = Trim(session.GetCommandLine("/DB"));
    if (session.AmlFile().empty() && (server.empty() || database.empty())) {
        std::cerr << ForTerminal(modUtilities::GetNLSString(60218)) << "\n" << ForTerminal(UsageText());
        return kExitUsage;
    }
    session.SetCommandLine(session.CommandLine() + (loc.empty() ? " /LOC=0" : ""));
    session.SaveCommandlineArguments();
    session.OpenDatabase();
    // Only the models the rules in force can export are offered.
    CurrentExport().IOHandler->ParseMappingFile();
    const aris::Database* db = session.Database();
    const aris::LocaleId useLoc = ListingLocale(session, loc);
    int selectable = 0;
    for (const modModelListing::ListedModel& listed : modModelListing::ClassifyModels(*db, useLoc)) {
        if (listed.verdict == modModelListing::Verdict::Selectable) {
            std::cout << ForTerminal(modModelListing::SelectionItem(listed)) << "\n";
            ++selectable;
        } else {
            std::cerr << ForTerminal(modModelListing::RefusalLine(listed, useLoc)) << "\n";
        }
    }
    std::cout.flush();
    if (selectable == 0) std::cerr << ForTerminal(modUtilities::GetNLSString(60216, db->Name(useLoc))) << "\n";
    std::string ids;
    for (const aris::LocaleId l : db->Locales()) ids += (ids.empty() ? "" : ", ") + std::to_string(l);
    std::cerr << ForTerminal(modUtilities::GetNLSString(60217, db->Name(useLoc),
                                                        ids.empty() ? modUtilities::GetNLSString(60254) : ids,
                                                        std::to_string(useLoc)))
              << "\n";
    return kExitDone;
}

// After an export, once its files are written and its summary counted: the constructs, their
// registries and the ARIS repository are freed and the memory given back to the system, so the
// check of the file written (and what follows) does not add its peak on top of the export's.
// Nothing after this reads them: the summary holds texts, the preview and the check read the
// file written.
void ReleaseExportData() {
    modGlobals::ReleaseRegistries();
    CurrentExport().ARIS_Interface->ReleaseDatabase();
    malloc_trim(0);
}

// After an export: the check of the definition file written joins the end-of-run summary
// (never the log or the definition file).
void AddExportCheckToSummary() {
    const std::string& written = CurrentExport().IOHandler->DefinitionFileName();
    if (written.empty()) return;
    CurrentExport().IOHandler->FlushFiles();
    modProgress::CheckStarted(written);
    for (const std::string& line : modDefinitionCheck::ExportCheckSummaryLines(written))
        CurrentExportSummary().AddLine(line);
    modProgress::CheckFinished();
}

// The preview of the definition file an export wrote, when --preview asked for one.
void WriteExportPreview(const std::string& previewFolder) {
    const std::string& written = CurrentExport().IOHandler->DefinitionFileName();
    if (previewFolder.empty() || written.empty()) return;
    CurrentExport().IOHandler->FlushFiles();
    modDefinitionCheck::WriteExportPreview(previewFolder, written);
}

// --all: every model a listing would print becomes the selection, in file order. The rules
// are loaded for it here, before any file is created, so that an export with nothing to
// select ends as an invalid selection does.
void SelectAllModels() {
    const ProcedureScope scope("modMain.SelectAllModels");
    clsARIS_Interface& session = *CurrentExport().ARIS_Interface;
    session.OpenDatabase();
    CurrentExport().IOHandler->ParseMappingFile();
    CurrentExport().WPX_Export->MappingRulesLoaded = true;
    const aris::Database* db = session.Database();
    for (const modModelListing::ListedModel& listed : modModelListing::ClassifyModels(*db, CurrentExport().LocaleId)) {
        if (listed.verdict == modModelListing::Verdict::Selectable) {
            session.ColSelectedModels().Add(listed.model, listed.model->Guid());
        } else {
            std::cerr << ForTerminal(modModelListing::RefusalLine(listed, CurrentExport().LocaleId)) << "\n";
        }
    }
    if (session.ColSelectedModels().Empty()) {
        std::cerr << ForTerminal(modUtilities::GetNLSString(60216, db->Name(CurrentExport().LocaleId))) << "\n";
        RaiseError(2020, "--all");
    }
}

// --types: the rows in effect, each with the table it comes from; later tables win per row.
int PrintTypeTable(const OwnOptions& options, const clsARIS_Interface& session) {
    const ProcedureScope scope("modMain.PrintTypeTable");
    std::string serverTable;
    const std::string server = Trim(session.GetCommandLine("/SVR"));
    const std::string database = Trim(session.GetCommandLine("/DB"));
    std::string serverDirectory;
    if (!options.aml.empty()) serverDirectory = aris::AmlFileLocation(options.aml).serverDirectory;
    else if (!server.empty() && !database.empty())
        serverDirectory = aris::FindDatabase(server, database).serverDirectory;
    if (!serverDirectory.empty()) serverTable = aris::ServerTypeTablePath(serverDirectory);
    const aris::TypeTable& builtIn = aris::BuiltInTypeTable();
    const std::unique_ptr<aris::TypeTable> user = aris::LoadUserTypeTable(std::cerr);
    std::unique_ptr<aris::TypeTable> serverRows;
    if (!serverTable.empty()) {
        serverRows = std::make_unique<aris::TypeTable>();
        serverRows->LoadFile(serverTable, std::cerr);
    }
    const std::string none = modUtilities::GetNLSString(60254);
    const std::string userPath = aris::UserTypeTablePath();
    std::cout << ForTerminal(modUtilities::GetNLSString(60250)) << "\n"
              << ForTerminal(modUtilities::GetNLSString(60251, builtIn.Source())) << "\n"
              << ForTerminal(modUtilities::GetNLSString(60252, user ? userPath : userPath + " " + none)) << "\n"
              << ForTerminal(modUtilities::GetNLSString(60253, serverRows ? serverTable : none)) << "\n"
              << ForTerminal(modUtilities::GetNLSString(60255)) << "\n"
              << "kind\tnumber\tapi_name\tenglish_name\tgerman_name\tsource\n";
    // A row is known by kind and API name; a later table's row replaces an earlier one's.
    struct Effective {
        aris::TypeKind kind;
        const aris::TypeRow* row;
        const std::string* source;
    };
    std::vector<Effective> rows;
    std::unordered_map<std::string, std::size_t> byName;
    for (const aris::TypeTable* table : {&builtIn, static_cast<const aris::TypeTable*>(user.get()),
                                         static_cast<const aris::TypeTable*>(serverRows.get())}) {
        if (!table) continue;
        for (const auto& [kind, row] : table->Rows()) {
            const std::string key = std::string(aris::TypeKindWord(kind)) + "\t" + FoldAsciiCase(row->apiName);
            auto [it, added] = byName.emplace(key, rows.size());
            if (added) rows.push_back({kind, row, &table->Source()});
            else rows[it->second] = {kind, row, &table->Source()};
        }
    }
    std::stable_sort(rows.begin(), rows.end(), [](const Effective& a, const Effective& b) {
        if (a.kind != b.kind) return a.kind < b.kind;
        return a.row->number < b.row->number;
    });
    for (const Effective& e : rows) {
        std::cout << ForTerminal(std::string(aris::TypeKindWord(e.kind)) + "\t" + std::to_string(e.row->number) + "\t" +
                                 e.row->apiName + "\t" + e.row->english + "\t" + e.row->german + "\t" + *e.source)
                  << "\n";
    }
    return kExitDone;
}

// --print-rules: the built-in rules in the profile language.
int PrintBuiltInRules() {
    const ProcedureScope scope("modMain.PrintBuiltInRules");
    modMappingRule::ResetMappingRules();
    modMappingRule::CreateDefaultMappingRules();
    std::cout << modMappingRule::MappingRulesAsProfile(modMappingRule::ColMappingRules());
    modMappingRule::ResetMappingRules();
    return kExitDone;
}

// After the message of a profile's syntax error: the file and the line it stands on.
void ReportProfileErrorPlace(int number) {
    if (number < 2130 || number > 2200 || !CurrentExport().IOHandler ||
        CurrentExport().IOHandler->ProfileErrorLine == 0)
        return;
    std::cerr << ForTerminal(modUtilities::GetNLSString(60260, CurrentExport().IOHandler->MappingProfilePath(),
                                                        std::to_string(CurrentExport().IOHandler->ProfileErrorLine)))
              << "\n";
}

// Our own options that cannot go together, or with the ARIS switches; "" when they fit.
std::string ConflictingOptions(const OwnOptions& o) {
    clsARIS_Interface switches;
    switches.SetCommandLine(o.aris);
    auto given = [&](const char* switchText) { return !Trim(switches.GetCommandLine(switchText)).empty(); };
    if (!o.aml.empty() && (given("/SVR") || given("/DB")))
        return "--aml reads the file instead of /SVR and /DB: give one or the other";
    if (o.all && given("/SEL")) return "--all selects the models instead of /SEL: give one or the other";
    if (!o.profile.empty()) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(o.profile, ec))
            return "the mapping profile " + o.profile + " named with --profile is not there";
    }
    return "";
}

}  // namespace

OwnOptions ParseOwnOptions(const std::vector<std::string>& args) {
    OwnOptions o;
    std::string joined;
    // An option with a value: "--name VALUE" or "--name=VALUE"; returns false when `a` is not it.
    auto takeValue = [&](std::size_t& i, const std::string& name, std::string& field) {
        const std::string& a = args[i];
        std::string value;
        if (a == name) {
            if (i + 1 >= args.size()) {
                o.error = name + " needs a file name";
                return true;
            }
            value = args[++i];
        } else if (a.rfind(name + "=", 0) == 0) {
            value = a.substr(name.size() + 1);
        } else {
            return false;
        }
        if (value.empty()) o.error = name + " needs a file name";
        field = value;
        return true;
    };
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
        else if (a == "--all") o.all = true;
        else if (a == "--types") o.types = true;
        else if (a == "--print-rules") o.printRules = true;
        else if (takeValue(i, "--aml", o.aml)) continue;
        else if (takeValue(i, "--profile", o.profile)) continue;
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
        } else if (a == "--check" || a == "--preview") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                o.error = a + (a == "--check" ? " needs a definition file" : " needs a folder");
                continue;
            }
            (a == "--check" ? o.check : o.preview) = args[++i];
            // A definition file right after the folder is previewed without an export.
            if (a == "--preview" && i + 1 < args.size() && args[i + 1].size() > 4 &&
                EqualsIgnoringCase(args[i + 1].substr(args[i + 1].size() - 4), ".wpx"))
                o.previewFile = args[++i];
        } else {
            o.error = "unknown option " + a;
        }
    }
    o.aris = joined;
    if (o.error.empty() && !o.check.empty() && !o.aris.empty()) o.error = "--check takes no ARIS switches";
    if (o.error.empty() && !o.preview.empty() && o.previewFile.empty() && o.aris.empty() && o.check.empty())
        o.error = "--preview needs a definition file (FILE.wpx) or an export";
    return o;
}

namespace {
// Process-wide: whether the desktop module could be loaded is found once, at start-up.
// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables)
bool g_desktopUnavailable = false;
// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables)
std::string g_desktopModule, g_desktopProblem;

void TellDesktopUnavailable() {
    if (!g_desktopUnavailable) return;
    g_desktopUnavailable = false;
    const std::string line = g_desktopProblem.empty()
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
    const ProcedureScope scope("modMain.Setup");
    if (!modUtilities::LoadLocalizedResources()) return false;
    TellDesktopUnavailable();
    CurrentExport().ExceptionHandler = new clsExceptionHandler();
    CurrentExport().ARIS_Interface = new clsARIS_Interface();
    CurrentExport().IOHandler = new clsIOHandler();
    CurrentExport().Files = CurrentExport().IOHandler;
    CurrentExport().WPX_Export = new clsWPX_Export();
    CurrentExport().WPXWriter = new clsWPXWriter();
    modGlobals::CreateRegistries();
    modMappingRule::ResetMappingRules();
    CurrentExport().ARIS_Interface->SetCommandLine(options.aris);
    CurrentExport().IOHandler->CommandLineOutput = options.output;
    CurrentExport().IOHandler->MappingProfileOverride = options.profile;
    CurrentExport().ARIS_Interface->SetAmlFile(options.aml);
    CurrentExportSummary().Reset();
    if (options.list || options.types || options.printRules) return true;
    CurrentExport().IOHandler->CheckOutputCodePage();
    CurrentExport().ARIS_Interface->SaveCommandlineArguments();
    if (options.all) SelectAllModels();
    else CurrentExport().ARIS_Interface->RetrieveSelectedARISModels();
    return true;
}

namespace {
// Process-wide: set by the program's entry before the export starts; the process ends right
// after Main returns.
// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables): process-wide, as said above
bool g_leaveDataAtExit = false;
}  // namespace

void LeaveDataToTheSystemAtExit(bool leave) { g_leaveDataAtExit = leave; }

void Shutdown() {
    const ProcedureScope scope("modMain.Shutdown");
    if (CurrentExport().IOHandler) CurrentExport().IOHandler->FlushFiles();
    modMappingRule::ResetMappingRules();
    // The constructs and the database of a large export are millions of blocks; when the
    // process ends next, they stay where they are (still referenced) and go with it.
    if (!g_leaveDataAtExit) modGlobals::ReleaseRegistries();
    delete CurrentExport().WPXWriter;
    CurrentExport().WPXWriter = nullptr;
    delete CurrentExport().WPX_Export;
    CurrentExport().WPX_Export = nullptr;
    delete CurrentExport().IOHandler;
    CurrentExport().IOHandler = nullptr;
    CurrentExport().Files = nullptr;
    if (!g_leaveDataAtExit) {
        delete CurrentExport().ARIS_Interface;
        CurrentExport().ARIS_Interface = nullptr;
    }
    delete CurrentExport().ExceptionHandler;
    CurrentExport().ExceptionHandler = nullptr;
    CurrentExport().LanguageLibrary.Free();
}

namespace {

// However the export ended: the lines still buffered go into the definition file and the log.
// A failure to write them is reported like any failed write; the program ends with that error
// unless an earlier one already ends it.
int WriteOutFiles(int status) {
    if (!CurrentExport().IOHandler) return status;
    try {
        CurrentExport().IOHandler->FlushFiles();
    } catch (const Error& error) {
        const int failed = HandleAtTop(error);
        return status == kExitDone ? failed : status;
    }
    return status;
}

// The service objects an export that ended early (an error, the user's request) still holds.
void ReleaseServiceObjects() {
    ExportContext& context = CurrentExport();
    delete context.WPXWriter;
    context.WPXWriter = nullptr;
    delete context.WPX_Export;
    context.WPX_Export = nullptr;
    context.Files = nullptr;
    delete context.IOHandler;
    context.IOHandler = nullptr;
    delete context.ARIS_Interface;
    context.ARIS_Interface = nullptr;
    delete context.ExceptionHandler;
    context.ExceptionHandler = nullptr;
}

}  // namespace

int Main(int argc, char** argv, const DesktopInstaller& installDesktop, const std::function<void()>& shutdownDesktop) {
    // The export's state, from start-up to shutdown.
    ExportContext context;
    if (g_leaveDataAtExit) context.LeaveDataAtExit();
    const std::vector<std::string> args(argv + 1, argv + argc);
    // Started with nothing at all: a person at a terminal, not ARIS, who needs the usage.
    if (args.empty()) {
        std::cerr << ForTerminal(UsageText());
        return kExitUsage;
    }
    OwnOptions own = ParseOwnOptions(args);
    if (own.error.empty()) own.error = ConflictingOptions(own);
    if (!own.error.empty()) {
        std::cerr << "kvbrars: " << own.error << "\n" << ForTerminal(UsageText());
        return kExitUsage;
    }
    if (own.help) {
        std::cout << ForTerminal(UsageText() + "\n" + LibraryText(60201, kHelp));
        return kExitDone;
    }
    if (own.version) {
        std::cout << "kvbrars " << LUMENPORT_VERSION << "\n";
        return kExitDone;
    }

    if (!own.check.empty() || !own.previewFile.empty()) {
        SetInteractive(false);
        if (!modUtilities::LoadLocalizedResources()) return kExitNoLanguage;
        const int checked = modDefinitionCheck::CheckAndPreview(own.check, own.preview, own.previewFile);
        CurrentExport().LanguageLibrary.Free();
        ReportSettingsProblems();
        return checked;
    }

    bool desktop = false;
    const bool printsOnly = own.list || own.types || own.printRules;
    if (!own.batch && !printsOnly && DisplayAvailable() && installDesktop) desktop = installDesktop(argc, argv);
    SetInteractive(desktop);

    // A signal that ends the program (Ctrl+C, kill, a crash) still leaves every line written so
    // far in the definition file and the log.
    FlushBufferedFilesOnSignals();
    const ProcedureScope scope("modMain.Main");
    int status = kExitDone;
    try {
        if (!Setup(own)) {
            status = kExitNoLanguage;
        } else if (own.printRules) {
            status = PrintBuiltInRules();
            Shutdown();
        } else if (own.types) {
            status = PrintTypeTable(own, *CurrentExport().ARIS_Interface);
            Shutdown();
        } else if (own.list) {
            status = ListModels();
            Shutdown();
        } else {
            CurrentExport().WPX_Export->Run();
            ReleaseExportData();
            AddExportCheckToSummary();
            ShowExportSummary();
            WriteExportPreview(own.preview);
            Shutdown();
        }
    } catch (const ProgramEnd& end) {
        status = end.exitStatus;
    } catch (const Error& error) {
        status = HandleAtTop(error);
        ReportProfileErrorPlace(error.Number());
    } catch (const aris::ServerError& error) {
        status = HandleAtTop(Error(error.Number(), error.what()));
    } catch (const std::bad_alloc&) {
        status = EndWithUnknownError(7, "Out of memory");
    } catch (const std::exception& e) {
        status = EndWithUnknownError(51, std::string("Internal error: ") + e.what());
    }
    status = WriteOutFiles(status);
    modProgress::ExportFinished();
    ReportSettingsProblems();
    if (desktop && shutdownDesktop) shutdownDesktop();
    // A checked build frees them with the export; an ordinary one leaves them to the process's
    // end, as it does the constructs.
    if (!g_leaveDataAtExit) ReleaseServiceObjects();
    return status;
}

}  // namespace modMain
