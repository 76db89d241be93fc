#include <gtest/gtest.h>

#include "ConstructFixture.h"
#include "constructs/ConstructLifecycle.h"
#include "constructs/ConstructText.h"

using amltest::AmlBuilder;
using constructtest::ExportEnv;

namespace {

// A construct kind built only from the shared machinery: its rule, kind text and one property.
class clsSAMPLE : public GuardedSetup<clsSAMPLE> {
public:
    static constexpr const char* kKindName = "SAMPLE";
    static constexpr const char* kRuleName = "PROGRAM";
    static constexpr const char* kModuleName = "modSAMPLE";
    static constexpr const char* kSetupProcedure = "clsSAMPLE.SetupProperties";
    static ConstructRegistry<clsSAMPLE>& Registry() {
        static ConstructRegistry<clsSAMPLE> registry;
        return registry;
    }

    const aris::ObjDef* ARISObjectDefinition = nullptr;
    std::string ObjectName;
    int setups = 0;

    const std::string& NameProperty() const { return ObjectName; }
    void SetupPropertiesInOrder() {
        ++setups;
        SetQuotedAttributeProperty(ObjectName, ARISObjectDefinition, "PROGRAM_ObjectName", "6");
    }
};

using Sample = ObjDefLifecycle<clsSAMPLE>;

AmlBuilder TwoModels() {
    AmlBuilder b;
    b.Group("G", "Folder")
        .Model("M1", "G", 13, "First")
        .Model("M2", "G", 13, "Second")
        .Obj("P", "G", 6, "Billing")
        .Obj("P2", "G", 105, "Ledger")
        .Obj("P3", "G", 37, "Archive")
        .Obj("F", "G", 22, "Check order")
        .Place("M1", "P", 0, 0)
        .Place("M2", "P", 0, 0)
        .Place("M2", "P2", 0, 0)
        .Place("M2", "F", 0, 0)
        .Place("M2", "P3", 0, 0);
    return b;
}

const std::string k3060Billing =
    "KVB03060I The ARIS object 'Billing' of type 'Application system type' was mapped to a WPX construct of type 'SAMPLE'.";
const std::string k3060Ledger =
    "KVB03060I The ARIS object 'Ledger' of type 'IT function type' was mapped to a WPX construct of type 'SAMPLE'.";

const aris::ObjDef* ObjectIn(const aris::Model* model, const std::string& name) {
    for (const aris::Occurrence* occ : model->OccList())
        if (occ->ObjDef() && occ->ObjDef()->Name(1033) == name) return occ->ObjDef();
    throw std::runtime_error("no object " + name);
}

}  // namespace

TEST(ConstructLifecycle, FindRegistersOncePerKeyAndLogsEveryFind) {
    ExportEnv env(TwoModels());
    clsSAMPLE::Registry().Clear();
    Sample::Find_ARIS_Mapping(env.Models({"M1", "M2"}));
    ASSERT_EQ(clsSAMPLE::Registry().Count(), 3u);
    clsSAMPLE* first = clsSAMPLE::Registry().Item(1).get();
    EXPECT_EQ(first->ARISObjectDefinition->Name(1033), "Billing");
    // Found in both models of one round: one construct, one message (the result is keyed).
    auto log = env.LogLines();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0], k3060Billing);
    EXPECT_EQ(log[1], k3060Ledger);

    // A later round finds them again: the first constructs stay, the messages are written again.
    Sample::Find_ARIS_Mapping(env.Models({"M2"}));
    EXPECT_EQ(clsSAMPLE::Registry().Count(), 3u);
    EXPECT_EQ(clsSAMPLE::Registry().Item(1).get(), first);
    EXPECT_EQ(env.LogLines().size(), 6u);
}

TEST(ConstructLifecycle, SetupSweepRunsEachConstructOnce) {
    ExportEnv env(TwoModels());
    clsSAMPLE::Registry().Clear();
    Sample::Create(env.Models({"M1"}));
    Sample::Create(env.Models({"M1"}));
    ASSERT_EQ(clsSAMPLE::Registry().Count(), 1u);
    const clsSAMPLE& sample = *clsSAMPLE::Registry().Item(1);
    EXPECT_EQ(sample.setups, 1);
    EXPECT_TRUE(sample.SetupFinished);
    EXPECT_EQ(sample.ObjectName, "'Billing'");
    std::vector<std::string> expected = {
        k3060Billing,
        "KVB03090I The mapping of the properties of the WPX construct of type 'SAMPLE' named 'Billing' is complete.",
        k3060Billing,
    };
    EXPECT_EQ(env.LogLines(), expected);
}

TEST(ConstructLifecycle, OnDemandCreationRegistersSetsUpAndLogsOnce) {
    ExportEnv env(TwoModels());
    clsSAMPLE::Registry().Clear();
    const aris::ObjDef* archive = ObjectIn(env.Model("M2"), "Archive");
    clsSAMPLE& created = Sample::Add_ARIS_Mapping(archive);
    clsSAMPLE& again = Sample::Add_ARIS_Mapping(archive);
    EXPECT_EQ(&created, &again);
    EXPECT_EQ(created.setups, 1);
    EXPECT_EQ(clsSAMPLE::Registry().Count(), 1u);
    std::vector<std::string> expected = {
        "KVB03090I The mapping of the properties of the WPX construct of type 'SAMPLE' named 'Archive' is complete.",
        "KVB03060I The ARIS object 'Archive' of type 'Module type' was mapped to a WPX construct of type 'SAMPLE'.",
    };
    EXPECT_EQ(env.LogLines(), expected);

    // Found later by its kind's find: the construct stays and is not set up again.
    Sample::Create(env.Models({"M2"}));
    EXPECT_EQ(clsSAMPLE::Registry().Count(), 3u);
    EXPECT_EQ(clsSAMPLE::Registry().Item(1).get(), &created);
    EXPECT_EQ(created.setups, 1);
}

TEST(ConstructLifecycle, OnDemandCreationAfterFindReturnsTheRegisteredConstruct) {
    ExportEnv env(TwoModels());
    clsSAMPLE::Registry().Clear();
    Sample::Find_ARIS_Mapping(env.Models({"M1"}));
    std::size_t lines = env.LogLines().size();
    clsSAMPLE& found = Sample::Add_ARIS_Mapping(ObjectIn(env.Model("M1"), "Billing"));
    EXPECT_EQ(&found, clsSAMPLE::Registry().Item(1).get());
    EXPECT_EQ(env.LogLines().size(), lines);
    EXPECT_EQ(CurrentExport().CurrentStep, "");
}

TEST(ConstructLifecycle, ObjectOfAnotherTypeIsErrorTwentyOneTwenty) {
    ExportEnv env(TwoModels());
    clsSAMPLE::Registry().Clear();
    try {
        Sample::Add_ARIS_Mapping(ObjectIn(env.Model("M2"), "Check order"));
        FAIL() << "no error";
    } catch (const platform::Error& e) {
        EXPECT_EQ(e.Number(), 2120);
        EXPECT_EQ(e.Description(),
                  "This ARIS object definition does not conform to the mapping rule: (object type = 'Function', "
                  "object name = 'Check order', mapping rule = 'PROGRAM')");
    }
    EXPECT_TRUE(clsSAMPLE::Registry().Empty());
}

TEST(ConstructLifecycle, RegistriesAreCreatedEmptyAndReleased) {
    modGlobals::CreateRegistries();
    EXPECT_TRUE(CurrentExport().Col_PROCESS && CurrentExport().Col_PROCESS->Empty());
    EXPECT_TRUE(CurrentExport().Col_DATA_MEMBER && CurrentExport().Col_ROLE);
    modGlobals::ReleaseRegistries();
    EXPECT_FALSE(CurrentExport().Col_PROCESS);
    try {
        RegistryOf(CurrentExport().Col_PROCESS);
        FAIL() << "no error";
    } catch (const platform::Error& e) {
        EXPECT_EQ(e.Number(), 91);
    }
}
