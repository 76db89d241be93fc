#include "app/clsWPX_Export.h"

#include "app/clsIOHandler.h"
#include "app/frmExportOptions.h"
#include "app/modExportSummary.h"
#include "constructs/modPROCESS_CATEGORY.h"
#include "data/modDATA_STRUCTURE.h"
#include "process/modPROCESS.h"
#include "process/modPROGRAM.h"
#include "runtime/modGlobals.h"
#include "runtime/modProgress.h"
#include "staff/modORGANIZATION.h"
#include "staff/modPERSON.h"
#include "staff/modROLE.h"
#include "writer/clsWPXWriter.h"

void clsWPX_Export::Run() {
    const ProcedureScope scope("clsWPX_Export.Run");
    ExportOptionsDialog().Show();
    CurrentExport().GeneratedNamePrefix = "DATA_STRUCTURE_";
    CurrentExport().GeneratedNameSuffix = CurrentExport().Options.FirstSuffixNumber;
    CurrentExport().IOHandler->FileSelectDialog();
    if (!MappingRulesLoaded) CurrentExport().IOHandler->ParseMappingFile();
    rounds_ = 0;
    modProgress::ExportStarted();
    // Only the properties of a process are written, and nothing changes them once it is set
    // up: its blocks are made at once, so that the export holds the text of its processes
    // rather than their activities and connectors.
    struct WriteAheadAfterSetup {
        WriteAheadAfterSetup() { PROCESS_AfterSetup(&clsWPX_Export::WriteAheadOnceSetUp); }
        ~WriteAheadAfterSetup() { PROCESS_AfterSetup(nullptr); }
    } const writeAheadAfterSetup;
    ModelCollection next = CreateWPXObjects(CurrentExport().ARIS_Interface->ColSelectedModels());
    while (!next.Empty()) next = CreateWPXObjects(next);
    modProgress::WritingStarted(CurrentExport().IOHandler->DefinitionFileName());
    CurrentExport().WPXWriter->SetHeaderValues(CurrentWPXHeaderValues());
    CurrentExport().WPXWriter->WriteAll();
    modProgress::ExportFinished();
    CollectExportSummary();
}

void clsWPX_Export::WriteAheadOnceSetUp(clsPROCESS& process) {
    // Every round visits every process; one set up in an earlier round is done.
    if (!process.SetupFinished || process.WrittenAhead.held) return;
    CurrentExport().WPXWriter->WriteProcessAhead(process);
}

ModelCollection clsWPX_Export::CreateWPXObjects(ModelCollection& models) {
    const ProcedureScope scope("clsWPX_Export.CreateWPXObjects");
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

WPXHeaderValues CurrentWPXHeaderValues() {
    WPXHeaderValues values;
    const clsIOHandler* io = CurrentExport().IOHandler;
    values.profileRules = io && io->MappingProfileFound && !io->DefaultMappingRulesUsed;
    const aris::Database* database =
        CurrentExport().ARIS_Interface ? CurrentExport().ARIS_Interface->Database() : nullptr;
    if (!database) return values;
    values.server = database->ServerName();
    values.database = database->Name(CurrentExport().LocaleId);
    values.user = database->LoginUserName(CurrentExport().LocaleId);
    return values;
}
