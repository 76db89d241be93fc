#include "app/modMain.h"

#ifdef LUMENPORT_HAVE_WX
#include "platform/DesktopUi.h"
#endif

int main(int argc, char** argv) {
#ifdef LUMENPORT_HAVE_WX
    return modMain::Main(argc, argv, InstallDesktopUi, ShutdownDesktopUi);
#else
    return modMain::Main(argc, argv);
#endif
}
