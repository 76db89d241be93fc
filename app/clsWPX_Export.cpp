#include "app/clsWPX_Export.h"

#include "app/clsIOHandler.h"
#include "app/modGlobals.h"

void clsWPX_Export::Run() {
    ProcedureScope scope("clsWPX_Export.Run");
    modGlobals::GeneratedNamePrefix = "DATA_STRUCTURE_";
    modGlobals::GeneratedNameSuffix = modGlobals::Options.FirstSuffixNumber;
    modGlobals::IOHandler->FileSelectDialog();
    rounds_ = 0;
    ModelCollection next = CreateWPXObjects(modGlobals::ARIS_Interface->ColSelectedModels());
    while (!next.Empty()) next = CreateWPXObjects(next);
}

ModelCollection clsWPX_Export::CreateWPXObjects(ModelCollection& models) {
    ProcedureScope scope("clsWPX_Export.CreateWPXObjects");
    ++rounds_;
    (void)models;
    return ModelCollection();
}
