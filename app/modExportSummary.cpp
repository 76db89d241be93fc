#include "app/modExportSummary.h"

#include "app/clsARIS_Interface.h"
#include "app/clsIOHandler.h"
#include "constructs/ConstructLifecycle.h"
#include "platform/MessageBox.h"
#include "process/clsCONTROL_CONNECTOR.h"
#include "process/clsPROCESS.h"
#include "runtime/clsExceptionHandler.h"
#include "runtime/modGlobals.h"
#include "runtime/modUtilities.h"

namespace {

// The message ids of the kinds' names, in the order of the definition file's sections (the
// processes' own constructs after them).
enum : int {
    kProcesses = 60226,
    kActivities,
    kControlConnectors,
    kDataConnectors,
    kDataStructures,
    kPrograms,
    kPersons,
    kRoles,
    kOrganizations,
    kCategories,
};

template <class Registry>
int CountOf(const std::unique_ptr<Registry>& registry) {
    return registry ? static_cast<int>(registry->Count()) : 0;
}

}  // namespace

void CollectExportSummary() {
    ExportSummary& summary = CurrentExportSummary();
    if (const clsIOHandler* io = CurrentExport().IOHandler) {
        summary.definitionFile = io->DefinitionFileName();
        summary.logFile = io->LogFileName();
        summary.profileFile = io->MappingProfileFound && !io->DefaultMappingRulesUsed ? io->MappingProfilePath() : "";
    }

    // What the writer prints: every construct of the registries, a process with its activities
    // and connectors, except the control connectors that close a loop (they leave no block).
    int activities = 0, controlConnectors = 0, dataConnectors = 0;
    if (CurrentExport().Col_PROCESS) {
        for (const Owned<clsPROCESS>& process : *CurrentExport().Col_PROCESS) {
            activities += process->ActivityCount();
            dataConnectors += process->DataConnectorCount();
            controlConnectors += process->ControlConnectorWithBlockCount();
        }
    }
    summary.constructs = {
        {kProcesses, CountOf(CurrentExport().Col_PROCESS)},
        {kActivities, activities},
        {kControlConnectors, controlConnectors},
        {kDataConnectors, dataConnectors},
        {kDataStructures, CountOf(CurrentExport().Col_DATA_STRUCTURE)},
        {kPrograms, CountOf(CurrentExport().Col_PROGRAM)},
        {kPersons, CountOf(CurrentExport().Col_PERSON)},
        {kRoles, CountOf(CurrentExport().Col_ROLE)},
        {kOrganizations, CountOf(CurrentExport().Col_ORGANIZATION)},
        {kCategories, CountOf(CurrentExport().Col_PROCESS_CATEGORY)},
    };

    summary.selectedModels = 0;
    summary.processModels = 0;
    summary.notProcesses.clear();
    summary.unnumberedTypes.clear();
    if (clsARIS_Interface* session = CurrentExport().ARIS_Interface) {
        for (const aris::Model* model : session->ColSelectedModels()) {
            ++summary.selectedModels;
            if (CurrentExport().Col_PROCESS && CurrentExport().Col_PROCESS->Contains(model->Guid()))
                ++summary.processModels;
            else summary.notProcesses.push_back(model->Name(CurrentExport().LocaleId));
        }
        if (const aris::Database* database = session->Database()) {
            for (const aris::Database::UnnumberedType& type : database->UnnumberedTypes())
                summary.unnumberedTypes.emplace_back(type.kind + " " + type.name, type.uses);
        }
    }
}

void ShowExportSummary() {
    platform::CurrentMessageBox().Show(CurrentExportSummary().Text(), platform::kMbOkOnly + platform::kMbInformation,
                                       "Lumenport");
}
