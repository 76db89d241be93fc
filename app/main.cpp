#include "app/modMain.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

#ifdef LUMENPORT_DESKTOP_MODULE
#include <dlfcn.h>

#include <filesystem>
#include <string>

#include "platform/ProgramPath.h"

namespace {

// The desktop windows live in a module of their own (kvbrdesk.so), loaded only when the
// program starts with windows: a batch export or a listing neither loads nor pays for the
// window toolkit.
using InstallFunction = bool (*)(int, char**);
using ShutdownFunction = void (*)();

// Process-wide: the desktop module is loaded at most once per process.
// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables): process-wide, as said above
InstallFunction g_install = nullptr;
// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables): process-wide, as said above
ShutdownFunction g_shutdown = nullptr;

/// The desktop module, or null with the reason in `why` ("" when it is not installed at all).
void* OpenDesktopModule(std::string& why) {
    bool present = false;
    for (const std::string& path : platform::ProgramModulePaths(LUMENPORT_DESKTOP_MODULE)) {
        std::error_code ec;
        if (!std::filesystem::exists(path, ec)) continue;
        present = true;
        if (void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) return module;
        const char* error = dlerror();
        why = error ? error : path;
    }
    if (!present) why.clear();
    return nullptr;
}

bool InstallDesktop(int argc, char** argv) {
    if (!g_install) {
        // The windows cannot be shown: the program says so once its language is known and goes
        // on in batch mode.
        std::string why;
        void* module = OpenDesktopModule(why);
        if (!module) {
            modMain::NoteDesktopUnavailable(LUMENPORT_DESKTOP_MODULE, why);
            return false;
        }
        g_install = reinterpret_cast<InstallFunction>(dlsym(module, "lumenport_install_desktop_ui"));
        g_shutdown = reinterpret_cast<ShutdownFunction>(dlsym(module, "lumenport_shutdown_desktop_ui"));
        if (!g_install || !g_shutdown) {
            modMain::NoteDesktopUnavailable(LUMENPORT_DESKTOP_MODULE, "no desktop entry points");
            g_install = nullptr;
            return false;
        }
    }
    return g_install(argc, argv);
}

void ShutdownDesktop() {
    if (g_shutdown) g_shutdown();
}

}  // namespace
#endif

// Checked builds free everything at the end, so that the leak check sees every block.
#if defined(__SANITIZE_ADDRESS__)
#define LP_FREE_AT_EXIT 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LP_FREE_AT_EXIT 1
#endif
#endif

int main(int argc, char** argv) {
#ifndef LP_FREE_AT_EXIT
    modMain::LeaveDataToTheSystemAtExit(true);
#endif
#ifdef LUMENPORT_DESKTOP_MODULE
    const int status = modMain::Main(argc, argv, InstallDesktop, ShutdownDesktop);
#else
    int status = modMain::Main(argc, argv);
#endif
#ifdef LP_FREE_AT_EXIT
    return status;
#else
    // The definition file and the log are complete (Main wrote out their buffered lines); the
    // database and the constructs go with the process, without freeing them block by block.
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    std::_Exit(status);
#endif
}
