#include "app/modMain.h"

#ifdef LUMENPORT_DESKTOP_MODULE
#include <dlfcn.h>

#include <iostream>
#include <string>

#include "platform/ProgramPath.h"

namespace {

// The desktop windows live in a module of their own (kvbrdesk.so), loaded only when the
// program starts with windows: a batch export or a listing neither loads nor pays for the
// window toolkit.
using InstallFunction = bool (*)(int, char**);
using ShutdownFunction = void (*)();

InstallFunction g_install = nullptr;
ShutdownFunction g_shutdown = nullptr;

// Beside the program (build tree), else in ../lib/lumenport (installed).
void* OpenDesktopModule() {
    const std::string dir = platform::ProgramDirectory();
    for (const std::string& path : {dir + "/" + LUMENPORT_DESKTOP_MODULE,
                                    dir + "/../lib/lumenport/" + LUMENPORT_DESKTOP_MODULE}) {
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

int main(int argc, char** argv) {
#ifdef LUMENPORT_DESKTOP_MODULE
    return modMain::Main(argc, argv, InstallDesktop, ShutdownDesktop);
#else
    return modMain::Main(argc, argv);
#endif
}
