#include "runtime/modGlobals.h"

#include <exception>
#include <string>
#include <vector>

namespace {

// The innermost export context alive; nullptr before start-up and after shutdown. One value
// for the whole process: the program runs one export at a time.
// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables): process-wide, as said above
ExportContext* g_currentExport = nullptr;

}  // namespace

ExportContext::ExportContext() : previous_(g_currentExport), installed_(true) { g_currentExport = this; }

ExportContext::ExportContext(FallbackTag) {}

ExportContext::~ExportContext() {
    // Still the current export while what it holds ends: a construct that ends may report to
    // the parts of its own export.
    if (leaveData_) {
        // What the export built stays where it is (still referenced) and goes with the process.
        (void)Col_DATA_MEMBER.release();
        (void)Col_DATA_STRUCTURE.release();
        (void)Col_ORGANIZATION.release();
        (void)Col_PERSON.release();
        (void)Col_PROCESS.release();
        (void)Col_PROCESS_CATEGORY.release();
        (void)Col_PROGRAM.release();
        (void)Col_ROLE.release();
    } else {
        EndWhatItHolds();
    }
    if (installed_) g_currentExport = previous_;
}

void ExportContext::EndWhatItHolds() {
    // The constructs first (they refer to the parts' rules), then the parts, last made first.
    Col_DATA_MEMBER.reset();
    Col_DATA_STRUCTURE.reset();
    Col_ORGANIZATION.reset();
    Col_PERSON.reset();
    Col_PROCESS.reset();
    Col_PROCESS_CATEGORY.reset();
    Col_PROGRAM.reset();
    Col_ROLE.reset();
    for (auto slot = partOrder_.rbegin(); slot != partOrder_.rend(); ++slot) {
        PartHolder& part = parts_[*slot];
        part.destroy(part.object);
        part.object = nullptr;
    }
}

std::size_t ExportContext::NextPartSlot() {
    // Slots are handed out once per part type, while the types' first uses run.
    static std::size_t next = 0;
    return next++;
}

ExportContext& CurrentExport() {
    if (g_currentExport) return *g_currentExport;
    // Never destroyed: scopes may still open in destructors of other static objects at exit.
    // NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables)
    static ExportContext* const fallback = new ExportContext(ExportContext::FallbackTag{});
    return *fallback;
}

namespace modGlobals {

void Reset() {
    ExportContext& context = CurrentExport();
    context.CurrentProcedure.clear();
    context.CurrentStep.clear();
    context.LocaleId = 0;
    context.LanguageLibrary.Free();
    context.LanguageCode.clear();
    context.HelpFile.clear();
    context.Options = ExportOptions{};
    context.GeneratedNamePrefix.clear();
    context.GeneratedNameSuffix = 0;
    context.ExceptionHandler = nullptr;
    context.ARIS_Interface = nullptr;
    context.IOHandler = nullptr;
    context.WPX_Export = nullptr;
    context.WPXWriter = nullptr;
    context.Files = nullptr;
}

}  // namespace modGlobals

ProcedureScope::ProcedureScope(const char* name)
    : context_(CurrentExport()),
      name_(name),
      callerName_(context_.CurrentProcedure.Lasting()),
      uncaught_(std::uncaught_exceptions()) {
    depth_ = context_.CallerDepth++;
    if (!callerName_) {
        if (context_.CallerNames.size() <= depth_) context_.CallerNames.resize(depth_ + 1);
        context_.CurrentProcedure.SwapText(context_.CallerNames[depth_]);
    }
    context_.CurrentProcedure.SetLasting(name);
}

ProcedureScope::~ProcedureScope() {
    context_.CallerDepth = depth_;
    // While an error unwinds, the failing procedure's name stays recorded.
    if (std::uncaught_exceptions() > uncaught_) return;
    if (callerName_) {
        context_.CurrentProcedure.SetLasting(callerName_);
    } else {
        context_.CurrentProcedure.SwapText(context_.CallerNames[depth_]);
    }
}

void ProcedureScope::Reassert() const { context_.CurrentProcedure.SetLasting(name_); }
