#include "app/modMain.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

#ifdef LUMENPORT_DESKTOP_MODULE
#include <dlfcn.h>

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

void* OpenDesktopModule() {
    for (const std::string& path : platform::ProgramModulePaths(LUMENPORT_DESKTOP_MODULE)) {
        if (void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) return module;
    }
    return nullptr;
}

bool InstallDesktop(int argc, char** argv) {
    if (!g_install) {
        void* module = OpenDesktopModule();
        if (!module) {
            const char* why = dlerror();
            std::cerr << "kvbrars: the desktop windows (" << LUMENPORT_DESKTOP_MODULE
                      << ") cannot be loaded: " << (why ? why : "not found") << "; running in batch mode\n";
            return false;
        }
        g_install = reinterpret_cast<InstallFunction>(dlsym(module, "lumenport_install_desktop_ui"));
        g_shutdown = reinterpret_cast<ShutdownFunction>(dlsym(module, "lumenport_shutdown_desktop_ui"));
        if (!g_install || !g_shutdown) {
            std::cerr << "kvbrars: " << LUMENPORT_DESKTOP_MODULE << " is not a desktop module; running in batch mode\n";
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
    // The definition file and the log are complete (every line was written when it was made);
    // the database and the constructs go with the process, without freeing them block by block.
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    std::_Exit(status);
#endif
}
