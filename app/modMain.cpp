#include "app/modMain.h"

#include "app/clsExceptionHandler.h"
#include "app/modGlobals.h"
#include "app/modUtilities.h"

namespace modMain {

int Main(int, char**) {
    ProcedureScope scope("modMain.Main");
    if (!modUtilities::LoadLocalizedResources()) return kExitNoLanguage;
    return kExitDone;
}

}  // namespace modMain
