#include "app/clsWPX_Export.h"

#include "app/ExportSummary.h"
#include "app/clsIOHandler.h"
#include "app/frmExportOptions.h"
#include "app/modGlobals.h"
#include "app/modProgress.h"
#include "constructs/modPROCESS.h"
#include "constructs/modPROCESS_CATEGORY.h"
#include "constructs/modPROGRAM.h"
#include "data/modDATA_STRUCTURE.h"
#include "staff/modORGANIZATION.h"
#include "staff/modPERSON.h"
#include "staff/modROLE.h"
#include "writer/clsWPXWriter.h"

void clsWPX_Export::Run() {
    ProcedureScope scope("clsWPX_Export.Run");
    ExportOptionsDialog().Show();
    modGlobals::GeneratedNamePrefix = "DATA_STRUCTURE_";
    modGlobals::GeneratedNameSuffix = modGlobals::Options.FirstSuffixNumber;
    modGlobals::IOHandler->FileSelectDialog();
    if (!MappingRulesLoaded) modGlobals::IOHandler->ParseMappingFile();
    rounds_ = 0;
    modProgress::ExportStarted();
    // Only the properties of a process are written: its working data goes once it is set up.
    struct ReleaseAfterSetup {
        ReleaseAfterSetup() { PROCESS_ReleaseWorkingDataAfterSetup(true); }
        ~ReleaseAfterSetup() { PROCESS_ReleaseWorkingDataAfterSetup(false); }
    } releaseAfterSetup;
    ModelCollection next = CreateWPXObjects(modGlobals::ARIS_Interface->ColSelectedModels());
    while (!next.Empty()) next = CreateWPXObjects(next);
    modProgress::ExportFinished();
    modGlobals::WPXWriter->WriteAll();
    CollectExportSummary();
}

ModelCollection clsWPX_Export::CreateWPXObjects(ModelCollection& models) {
    ProcedureScope scope("clsWPX_Export.CreateWPXObjects");
    ++rounds_;
    modProgress::RoundStarted(rounds_);
    PROCESS_CATEGORY_Create(models);
    ORGANIZATION_Create(models);
    ROLE_Create(models);
    PERSON_Create(models);
    DATA_STRUCTURE_Create(models);
    PROGRAM_Create(models);
    return PROCESS_Create(models);
}
