#include <iostream>
#include <memory>

#include <wx/app.h>
#include <wx/init.h>
#include <wx/log.h>

#include "app/ProgressWindow_wx.h"
#include "app/frmExportOptions_wx.h"
#include "platform/DesktopUi.h"
#include "platform/Desktop_wx.h"
#include "runtime/modGlobals.h"
#include "runtime/modUtilities.h"

namespace {

/// The toolkit's application object: no main window, no command line of its own (the
/// program's switches are not the toolkit's).
class DesktopApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

// Process-wide: the window toolkit is set up once per process.
// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables): process-wide, as said above
bool g_installed = false;

/// The message boxes' buttons in the language of the loaded library (the toolkit's own until
/// one is loaded).
platform::MessageBoxLabels ButtonCaptions() {
    if (!CurrentExport().LanguageLibrary.Loaded()) return {};
    auto text = [](int id) { return CurrentExport().LanguageLibrary.Text(id).value_or(""); };
    return {text(60506), text(60507), text(50029), text(50028)};
}

}  // namespace

bool InstallDesktopUi(int /*argc*/, char** argv) {
    if (g_installed) return true;
    // Only the program name goes to the toolkit, so that it takes none of our switches.
    static char* toolkitArgv[] = {argv ? argv[0] : nullptr, nullptr};
    int toolkitArgc = toolkitArgv[0] ? 1 : 0;
    wxApp::SetInstance(new DesktopApp);
    if (!wxEntryStart(toolkitArgc, toolkitArgv)) return false;
    wxTheApp->SetAppName("lumenport");
    // Toolkit reports go to standard error rather than into windows of their own.
    delete wxLog::SetActiveTarget(new wxLogStderr);
    platform::SetMessageBoxPresenter(std::make_unique<platform::WxMessageBox>(ButtonCaptions));
    platform::SetSaveFileDialogHook(platform::ShowSaveFileWindow);
    InstallExportOptionsWindow();
    InstallProgressWindow();
    g_installed = true;
    return true;
}

void ShutdownDesktopUi() {
    if (!g_installed) return;
    RemoveProgressWindow();
    RemoveExportOptionsWindow();
    platform::SetSaveFileDialogHook({});
    platform::SetMessageBoxPresenter(std::make_unique<platform::BatchMessageBox>(std::cerr));
    platform::ReleaseDesktopResources();
    wxEntryCleanup();
    g_installed = false;
}

// The entry points the program looks up when it loads the desktop module (app/main.cpp).
extern "C" __attribute__((visibility("default"))) bool lumenport_install_desktop_ui(int argc, char** argv) {
    return InstallDesktopUi(argc, argv);
}

extern "C" __attribute__((visibility("default"))) void lumenport_shutdown_desktop_ui() { ShutdownDesktopUi(); }
