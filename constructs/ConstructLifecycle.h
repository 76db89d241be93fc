#pragma once
// The lifecycle every construct kind shares: registries, find and register, the set-up sweep,
// the set-up guard, on-demand creation and the membership test.
//
// How a kind of object-definition construct (PROGRAM, PERSON, ROLE, ORGANIZATION, ...) uses it:
//
//   class clsROLE : public GuardedSetup<clsROLE> {
//   public:
//       static constexpr const char* kKindName = "ROLE";       // messages 2120, 3060, 3090
//       static constexpr const char* kRuleName = "ROLE";       // the kind's object rule
//       static constexpr const char* kModuleName = "modROLE";  // error-path procedure names
//       static constexpr const char* kSetupProcedure = "clsROLE.SetupProperties";
//       static ConstructRegistry<clsROLE>& Registry() { return RegistryOf(CurrentExport().Col_ROLE); }
//
//       const aris::ObjDef* ARISObjectDefinition = nullptr;
//       std::string ObjectName;                                // ... the kind's properties
//       const std::string& NameProperty() const { return ObjectName; }  // for message 3090
//       void SetupPropertiesInOrder();                         // the SetupProperty_* steps
//   };
//
// and its module forwards to ObjDefLifecycle<clsROLE>:
//
//   void ROLE_Create(const ARISModelCollection& m) { ObjDefLifecycle<clsROLE>::Create(m); }
//   void ROLE_Find_ARIS_Mapping(...), ROLE_SetupProperties(), clsROLE& ROLE_Add_ARIS_Mapping(...)
//
// Kinds that register other ARIS items (PROCESS: models, PROCESS_CATEGORY: groups) or deviate
// (DATA_STRUCTURE, DATA_MEMBER) use the pieces directly: MakeConstruct, RegisterConstruct,
// LogObjectMapped, SetupSweep, GuardedSetup, ARIS_ObjDefIsMemberOfCollection.
#include <string>
#include <utility>

#include "aris/Automation.h"
#include "mapping/modMappingRule.h"
#include "platform/Error.h"
#include "platform/OrderedCollection.h"
#include "runtime/clsExceptionHandler.h"
#include "runtime/modGlobals.h"

/// A new construct owned through Owned<C> (deleted by the class it was made with).
template <class C, class... Args>
Owned<C> MakeConstruct(Args&&... args) {
    return Owned<C>(new C(std::forward<Args>(args)...), [](C* construct) { delete construct; });
}

/// The registry behind a global slot; a registry that was never created raises error 91.
template <class C>
ConstructRegistry<C>& RegistryOf(const std::unique_ptr<ConstructRegistry<C>>& slot) {
    if (!slot) throw platform::Error(91, "Object variable not set: the construct registries were not created");
    return *slot;
}

/// Write one log line: message id with severity (48 warning, 64 information) and its text.
void LogMessage(int severity, int id, const std::string& p1 = "", const std::string& p2 = "",
                const std::string& p3 = "", const std::string& p4 = "");
/// Message 3060: the ARIS item (name and type name in the ARIS language) became a construct of
/// the kind.
void LogObjectMapped(const aris::Item& item, const std::string& kindName);
/// Message 3090: the set-up of the construct of the kind with its (quoted) name is complete.
void LogSetupComplete(const std::string& kindName, const std::string& nameProperty);

/// Add a construct under a key. When the key is already registered the collection's
/// duplicate-key error is cleared: the construct registered first stays and the new one is
/// dropped. Returns the construct registered under the key.
template <class C>
C& RegisterConstruct(platform::OrderedCollection<Owned<C>>& registry, Owned<C> construct, const std::string& key) {
    if (Owned<C>* registered = registry.Find(key)) return **registered;
    C& added = *construct;
    registry.Add(std::move(construct), key);
    return added;
}

/// True when the collection holds an item under the object definition's Item.Guid (the lookup
/// runs under the step marker "Retrieve collection member", reset afterwards).
template <class Collection>
bool ARIS_ObjDefIsMemberOfCollection(const aris::ObjDef* objDef, const Collection& collection) {
    const ProcedureScope scope("modGlobals.ARIS_ObjDefIsMemberOfCollection");
    if (!objDef) return false;
    CurrentExport().CurrentStep = "Retrieve collection member";
    const bool member = collection.Contains(objDef->Guid());
    CurrentExport().CurrentStep.clear();
    return member;
}

/// The set-up sweep: SetupProperties of every construct of a registry, in registry order. A
/// construct registered during the sweep (on demand) is visited too.
template <class C>
void SetupSweep(platform::OrderedCollection<Owned<C>>& registry) {
    for (std::size_t position = 1; position <= registry.Count(); ++position) registry.Item(position)->SetupProperties();
}

/// The set-up guard shared by the construct classes: SetupProperties runs the class's own
/// steps once, logs message 3090 with the kind and the name property and sets SetupFinished.
/// Derived provides kKindName, kSetupProcedure, SetupPropertiesInOrder() and NameProperty().
template <class Derived>
class GuardedSetup {
public:
    /// True once the set-up has run.
    bool SetupFinished = false;

    /// Compute all properties in the class's order, at most once.
    void SetupProperties() {
        const ProcedureScope scope(Derived::kSetupProcedure);
        if (SetupFinished) return;
        Derived& self = static_cast<Derived&>(*this);
        self.SetupPropertiesInOrder();
        LogSetupComplete(Derived::kKindName, self.NameProperty());
        SetupFinished = true;
    }

protected:
    GuardedSetup() = default;
    ~GuardedSetup() = default;
};

/// A procedure name built at run time, kept for the life of the program (ProcedureScope keeps
/// only the pointer).
const char* InternProcedureName(const std::string& name);

/// The module procedures of a kind whose constructs stand for object definitions selected by
/// the kind's object rule and registered under their Item.Guid (see the header comment).
template <class C>
struct ObjDefLifecycle {
    /// One round: find the kind's objects in the models, then set up the registry.
    static void Create(const ARISModelCollection& models) {
        const ProcedureScope scope(Name("_Create"));
        Find_ARIS_Mapping(models);
        SetupProperties();
    }

    /// Register one construct per object definition the kind's rule selects in the models and
    /// log message 3060 for each (also for one already registered, which stays).
    static void Find_ARIS_Mapping(const ARISModelCollection& models) {
        const ProcedureScope scope(Name("_Find_ARIS_Mapping"));
        ARISObjDefCollection found;
        modMappingRule::Find_ARIS_ObjDef_Using_Mapping_Rule(models, found, C::kRuleName);
        for (const aris::ObjDef* objDef : found) {
            RegisterConstruct(C::Registry(), NewConstruct(objDef), objDef->Guid());
            LogObjectMapped(*objDef, C::kKindName);
        }
    }

    /// SetupProperties of every registered construct of the kind, in registry order.
    static void SetupProperties() {
        const ProcedureScope scope(Name("_SetupProperties"));
        SetupSweep(C::Registry());
    }

    /// The construct for an object definition met while another construct is set up: error
    /// 2120 when the kind's rule does not accept it; the registered one when there is one;
    /// otherwise a new one, registered, set up at once and logged with message 3060.
    static C& Add_ARIS_Mapping(const aris::ObjDef* objDef) {
        bool isNew = false;
        C& construct = Register_ARIS_Mapping(objDef, isNew);
        if (isNew) {
            construct.SetupProperties();
            Finish_ARIS_Mapping(*objDef);
        }
        return construct;
    }

    /// Add_ARIS_Mapping up to the set-up, for a caller that sets the construct up itself: the
    /// checks, then the registered construct, or a new one registered (`isNew`), which then
    /// needs SetupProperties and Finish_ARIS_Mapping.
    static C& Register_ARIS_Mapping(const aris::ObjDef* objDef, bool& isNew) {
        const ProcedureScope scope(Name("_Add_ARIS_Mapping"));
        isNew = false;
        if (!objDef)
            throw platform::Error(91, std::string("Object variable not set: no object definition for ") + C::kKindName);
        if (!modMappingRule::ARIS_ObjDef_Conforms_To_Mapping_Rule(objDef, C::kRuleName))
            RaiseError(2120, objDef->TypeName(CurrentExport().LocaleId), objDef->Name(CurrentExport().LocaleId),
                       C::kRuleName);
        auto& registry = C::Registry();
        if (ARIS_ObjDefIsMemberOfCollection(objDef, registry)) return *registry.Item(objDef->Guid());
        isNew = true;
        return RegisterConstruct(registry, NewConstruct(objDef), objDef->Guid());
    }

    /// The end of Add_ARIS_Mapping for a new construct once it is set up: message 3060.
    static void Finish_ARIS_Mapping(const aris::ObjDef& objDef) {
        const ProcedureScope scope(Name("_Add_ARIS_Mapping"));
        LogObjectMapped(objDef, C::kKindName);
    }

private:
    static Owned<C> NewConstruct(const aris::ObjDef* objDef) {
        Owned<C> construct = MakeConstruct<C>();
        construct->ARISObjectDefinition = objDef;
        return construct;
    }

    // "modROLE.ROLE_Create": the error path's name of a module procedure.
    static const char* Name(const char* suffix) {
        return InternProcedureName(std::string(C::kModuleName) + "." + C::kKindName + suffix);
    }
};
