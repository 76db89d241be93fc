#pragma once
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "platform/LanguageLibrary.h"
#include "platform/OrderedCollection.h"
#include "runtime/ExportSummary.h"

class clsExceptionHandler;
class clsARIS_Interface;
class clsIOHandler;
class ExportFiles;
class clsWPX_Export;
class clsWPXWriter;
class clsDATA_MEMBER;
class clsDATA_STRUCTURE;
class clsORGANIZATION;
class clsPERSON;
class clsPROCESS;
class clsPROCESS_CATEGORY;
class clsPROGRAM;
class clsROLE;

/// A construct owned by its registry or its process. The deleter is fixed where the construct
/// is made (constructs/ConstructLifecycle.h, MakeConstruct), so a holder of the collection need
/// not see the construct's class.
template <class C>
using Owned = std::unique_ptr<C, void (*)(C*)>;
/// A construct registry: ordered, keyed by the ARIS identity text, owning its constructs.
template <class C>
using ConstructRegistry = platform::OrderedCollection<Owned<C>>;

/// The fifteen export options, with the defaults used when the settings store has none.
struct ExportOptions {
    bool ConvertNames = true;
    bool RemoveLineBreaks = true;
    std::int32_t FirstSuffixNumber = 0;
    bool UseDataConBendPoints = true;
    bool UseCtrlConBendPoints = true;
    bool UseDescriptionAttr = true;
    bool UseDocumentationAttr = true;
    bool UseOtherSettings = false;
    bool DynamicStaffAssignment = true;
    bool FindDataFlowLoops = true;
    bool FindControlFlowLoops = true;
    bool StartConditions = false;
    bool ExitConditions = false;
    bool TransitionConditions = false;
    bool DataTypeFromAttribute = true;
};

/// The name of the procedure now running, read as a string. Procedure scopes set it from their
/// names, which last as long as the program: entering and leaving a procedure then copies no
/// text, and the string is made only when someone reads it.
class ProcedureName {
public:
    ProcedureName& operator=(const std::string& name) {
        text_ = name;
        lasting_ = nullptr;
        return *this;
    }
    ProcedureName& operator=(const char* name) { return *this = std::string(name); }
    void clear() { *this = std::string(); }

    /// The name as a string.
    operator const std::string&() const { return Text(); }
    const std::string& Text() const {
        if (lasting_) {
            text_.assign(lasting_);
            lasting_ = nullptr;
        }
        return text_;
    }
    bool empty() const { return lasting_ ? *lasting_ == '\0' : text_.empty(); }

    /// Set a name that lasts as long as the program (a procedure scope's name), without a copy.
    void SetLasting(const char* name) { lasting_ = name; }
    /// The lasting name now in force, nullptr when the name is a text of its own.
    const char* Lasting() const { return lasting_; }
    /// Exchange the text of the name (a name set by other means) with `text`.
    void SwapText(std::string& text) {
        Text();
        text_.swap(text);
    }

    friend bool operator==(const ProcedureName& a, const std::string& b) { return a.Text() == b; }
    friend bool operator==(const ProcedureName& a, const char* b) { return a.Text() == b; }
    friend std::ostream& operator<<(std::ostream& out, const ProcedureName& name) { return out << name.Text(); }

private:
    mutable std::string text_;
    mutable const char* lasting_ = nullptr;
};

/// The state of one export, in one place: made at start-up (modMain.Main), ended at shutdown.
/// While it lives it is the current export (CurrentExport); the export that was current before
/// is current again when it ends, so a test builds one and leaves nothing behind. The members
/// keep the names the program gives them.
class ExportContext {
public:
    ExportContext();
    ~ExportContext();
    ExportContext(const ExportContext&) = delete;
    ExportContext& operator=(const ExportContext&) = delete;

    /// Qualified name of the procedure now running ("modMain.Main"), read by the error path.
    ProcedureName CurrentProcedure;
    /// Marker of a step that is expected to fail ("Open file", "Retrieve rule"), or "".
    std::string CurrentStep;
    /// Locale id of the ARIS session (/LOC), passed with every localized ARIS read.
    std::int16_t LocaleId = 0;
    /// The loaded language library.
    platform::LanguageLibrary LanguageLibrary;
    /// Language code in use ("ENU", "DEU") and the help book that goes with it.
    std::string LanguageCode;
    std::string HelpFile;

    /// The export options in force for this export.
    ExportOptions Options;
    /// Prefix and running suffix counter of generated data-structure names.
    std::string GeneratedNamePrefix;
    std::int64_t GeneratedNameSuffix = 0;

    /// The service objects, created by Setup and released by Shutdown (not owned here).
    clsExceptionHandler* ExceptionHandler = nullptr;
    clsARIS_Interface* ARIS_Interface = nullptr;
    clsIOHandler* IOHandler = nullptr;
    clsWPX_Export* WPX_Export = nullptr;
    clsWPXWriter* WPXWriter = nullptr;
    /// The files of the export as the layers below the program see them (the IOHandler).
    ExportFiles* Files = nullptr;

    /// The eight construct registries, created empty by CreateRegistries and released by
    /// ReleaseRegistries (both in runtime/Registries.cpp), or when the export ends.
    std::unique_ptr<ConstructRegistry<clsDATA_MEMBER>> Col_DATA_MEMBER;
    std::unique_ptr<ConstructRegistry<clsDATA_STRUCTURE>> Col_DATA_STRUCTURE;
    std::unique_ptr<ConstructRegistry<clsORGANIZATION>> Col_ORGANIZATION;
    std::unique_ptr<ConstructRegistry<clsPERSON>> Col_PERSON;
    std::unique_ptr<ConstructRegistry<clsPROCESS>> Col_PROCESS;
    std::unique_ptr<ConstructRegistry<clsPROCESS_CATEGORY>> Col_PROCESS_CATEGORY;
    std::unique_ptr<ConstructRegistry<clsPROGRAM>> Col_PROGRAM;
    std::unique_ptr<ConstructRegistry<clsROLE>> Col_ROLE;

    /// What the export did, told to the user when it ends.
    ExportSummary Summary;

    /// The callers' names of the open procedure scopes that are texts of their own (set by other
    /// means than a scope), innermost last; kept by ProcedureScope, the strings reused.
    std::vector<std::string> CallerNames;
    std::size_t CallerDepth = 0;

    /// The state an upper layer keeps for the export (the rule registry, the data-structure
    /// index, the loop search, ...): made empty on first use, ended with the export, in the
    /// reverse order of first use. T is the layer's own type; this layer need not know it.
    template <class T>
    T& Part() {
        const std::size_t slot = PartSlot<T>();
        if (slot >= parts_.size()) parts_.resize(slot + 1);
        PartHolder& part = parts_[slot];
        if (!part.object) {
            part.object = new T();
            part.destroy = [](void* object) { delete static_cast<T*>(object); };
            partOrder_.push_back(slot);
        }
        return *static_cast<T*>(part.object);
    }

    /// Leave the registries, the parts and what they hold to the end of the process, without
    /// freeing them block by block (a large export that ends the process next).
    void LeaveDataAtExit() { leaveData_ = true; }

private:
    struct FallbackTag {};
    explicit ExportContext(FallbackTag);
    friend ExportContext& CurrentExport();

    struct PartHolder {
        void* object = nullptr;
        void (*destroy)(void*) = nullptr;
    };
    /// A slot per part type, numbered in the order the types are first used in the process.
    static std::size_t NextPartSlot();
    /// End the registries, then the parts, last made first.
    void EndWhatItHolds();
    template <class T>
    static std::size_t PartSlot() {
        static const std::size_t slot = NextPartSlot();
        return slot;
    }

    std::vector<PartHolder> parts_;
    std::vector<std::size_t> partOrder_;
    ExportContext* previous_ = nullptr;
    bool installed_ = false;
    bool leaveData_ = false;
};

/// The export now running: the innermost ExportContext alive, else one that lasts as long as
/// the program (for what runs before start-up or after shutdown).
ExportContext& CurrentExport();

namespace modGlobals {

/// Create the eight registries empty (DATA_MEMBER, DATA_STRUCTURE, ORGANIZATION, PERSON,
/// PROCESS, PROCESS_CATEGORY, PROGRAM, ROLE); registries left from before are released first.
void CreateRegistries();
/// Release the registries, with their constructs, in the same order.
void ReleaseRegistries();

/// Back to the state of a program that has not started: the current export's values as a new
/// export has them (the registries and parts stay).
void Reset();

}  // namespace modGlobals

/// Records a procedure's qualified name as the current procedure name on entry and restores
/// the caller's on exit. While an error unwinds, the failing procedure's name stays recorded,
/// so the error path reports where the error arose.
class ProcedureScope {
public:
    explicit ProcedureScope(const char* name);
    ~ProcedureScope();
    ProcedureScope(const ProcedureScope&) = delete;
    ProcedureScope& operator=(const ProcedureScope&) = delete;
    /// Record this procedure's name again (after handling an error raised in a callee).
    void Reassert() const;

private:
    ExportContext& context_;  ///< the export the scope was opened in
    const char* name_;
    const char* callerName_;  ///< the caller's name when it is a lasting one, else nullptr
    std::size_t depth_;       ///< where the caller's name is kept otherwise (CallerNames)
    int uncaught_;
};
