// Persons, roles and organizations set up on small databases: references to further staff
// constructs, names that cannot be converted, texts and options, and the kind's rule.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "../constructs/ConstructFixture.h"
#include "../mapping/AmlFixture.h"
#include "platform/Error.h"
#include "staff/modORGANIZATION.h"
#include "staff/modPERSON.h"
#include "staff/modROLE.h"

namespace {

constexpr int kFunction = 22, kOrgUnit = 43, kPerson = 46, kRole = 78;
constexpr int kMemberOf = 6, kManages = 395, kSubstitutes = 318, kHoldsRole = 61, kComposedOf = 7;
constexpr int kUserId = 509, kFirstName = 1243, kPhone = 245, kDescription = 9, kOtherSettings = 985;

/// An export environment around a database of the rule-evaluation builder (texts for 1031),
/// with the object definitions found by their fixture ids.
class StaffEnv {
public:
    explicit StaffEnv(const amltest::AmlBuilder& builder) : env_(builder.Xml()) {
        CurrentExport().LocaleId = 1031;
        for (const aris::Model* model : env_.Database()->AllModels())
            for (const aris::Occurrence* occ : model->OccList())
                if (occ->ObjDef()) objects_[occ->ObjDef()->Guid().substr(5)] = occ->ObjDef();
    }
    const aris::ObjDef* Obj(const std::string& id) const { return objects_.at(id); }
    std::vector<std::string> Log() const { return env_.LogLines(); }
    const std::vector<std::string>& Boxes() const { return env_.Boxes(); }
    /// The log lines that begin with a message id ("KVB03000E").
    std::vector<std::string> LogOf(const std::string& id) const {
        std::vector<std::string> found;
        for (const std::string& line : Log())
            if (line.rfind(id, 0) == 0) found.push_back(line);
        return found;
    }

private:
    constructtest::ExportEnv env_;
    std::map<std::string, const aris::ObjDef*> objects_;
};

template <class C>
bool Registered(const aris::ObjDef* objDef) {
    return C::Registry().Contains(objDef->Guid());
}

// Miller with two substitutes, two organizations and three roles; a role with two
// coordinators; an organization with two managers and two parents.
amltest::AmlBuilder StaffDatabase() {
    amltest::AmlBuilder b(amltest::kGerman);
    b.Obj("Miller", kPerson, "Miller", {{kUserId, "jmiller@corp"}})
        .Obj("Smith", kPerson, "Smith")
        .Obj("Jones", kPerson, "Jones")
        .Obj("Adams", kPerson, "Adams")
        .Obj("Baker", kPerson, "Baker")
        .Obj("Clark", kPerson, "Clark")
        .Obj("Davis", kPerson, "Davis")
        .Obj("Reviewer", kRole, "Reviewer")
        .Obj("Approver", kRole, "Approver")
        .Obj("Buyer", kRole, "Buyer")
        .Obj("Clerk", kRole, "Clerk")
        .Obj("Sales", kOrgUnit, "Sales")
        .Obj("Audit", kOrgUnit, "Audit")
        .Obj("Board", kOrgUnit, "Board")
        .Obj("Holding", kOrgUnit, "Holding")
        .Obj("Group", kOrgUnit, "Group")
        .Cxn("Smith", kSubstitutes, "Miller")
        .Cxn("Jones", kSubstitutes, "Miller")
        .Cxn("Miller", kMemberOf, "Sales")
        .Cxn("Miller", kMemberOf, "Audit")
        .Cxn("Miller", kHoldsRole, "Approver")
        .Cxn("Miller", kHoldsRole, "Buyer")
        .Cxn("Miller", kHoldsRole, "Clerk")
        .Cxn("Adams", kManages, "Reviewer")
        .Cxn("Baker", kManages, "Reviewer")
        .Cxn("Clark", kManages, "Board")
        .Cxn("Davis", kManages, "Board")
        .Cxn("Holding", kComposedOf, "Board")
        .Cxn("Group", kComposedOf, "Board")
        .Model("M1", 1, "Chart",
               {"Miller", "Smith", "Jones", "Adams", "Baker", "Clark", "Davis", "Reviewer", "Approver", "Buyer",
                "Clerk", "Sales", "Audit", "Board", "Holding", "Group"});
    return b;
}

}  // namespace

// A single-valued reference takes the first related object, pulls in its construct and reports
// each further one, which gets no construct.
TEST(StaffReferences, SingleValuedTakesTheFirstAndReportsTheOthers) {
    struct Row {
        const char* owner;
        std::function<std::string(const aris::ObjDef*)> setUp;  // the property after set-up
        const char* expected;
        const char* keyword;
        const char* kind;
        const char* first;
        const char* ignored;
        std::function<bool(const aris::ObjDef*)> hasConstruct;
    };
    auto person = [](const aris::ObjDef* o) { return Registered<clsPERSON>(o); };
    auto organization = [](const aris::ObjDef* o) { return Registered<clsORGANIZATION>(o); };
    const std::vector<Row> rows = {
        {"Miller", [](const aris::ObjDef* o) { return PERSON_Add_ARIS_Mapping(o).SUBSTITUTE; }, "'SMITH'", "SUBSTITUTE",
         "PERSON", "Smith", "Jones", person},
        {"Miller", [](const aris::ObjDef* o) { return PERSON_Add_ARIS_Mapping(o).RELATED_ORGANIZATION; }, "'Sales'",
         "RELATED_ORGANIZATION", "PERSON", "Sales", "Audit", organization},
        {"Reviewer", [](const aris::ObjDef* o) { return ROLE_Add_ARIS_Mapping(o).COORDINATOR; }, "'ADAMS'",
         "COORDINATOR", "ROLE", "Adams", "Baker", person},
        {"Board", [](const aris::ObjDef* o) { return ORGANIZATION_Add_ARIS_Mapping(o).MANAGER; }, "'CLARK'", "MANAGER",
         "ORGANIZATION", "Clark", "Davis", person},
        {"Board", [](const aris::ObjDef* o) { return ORGANIZATION_Add_ARIS_Mapping(o).PARENT_ORGANIZATION; },
         "'Holding'", "PARENT_ORGANIZATION", "ORGANIZATION", "Holding", "Group", organization},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.owner) + " " + row.keyword);
        StaffEnv env(StaffDatabase());
        EXPECT_EQ(row.setUp(env.Obj(row.owner)), row.expected);
        EXPECT_TRUE(row.hasConstruct(env.Obj(row.first)));
        EXPECT_FALSE(row.hasConstruct(env.Obj(row.ignored)));
        std::string warning = std::string("KVB03000E Warning: you must not assign more than one '") + row.keyword +
                              "' to a '" + row.kind + "'.";
        EXPECT_EQ(env.LogOf(warning).size(), 1u);
        EXPECT_EQ(env.LogOf(std::string("KVB03030I The ARIS object '") + row.ignored + "'").size(), 1u);
    }
}

TEST(StaffReferences, MultiValuedJoinsQuotedNamesAndPullsInEveryRole) {
    StaffEnv env(StaffDatabase());
    clsPERSON& miller = PERSON_Add_ARIS_Mapping(env.Obj("Miller"));
    EXPECT_EQ(miller.RELATED_ROLE, "'Approver' 'Buyer' 'Clerk'");
    ConstructRegistry<clsROLE>& roles = clsROLE::Registry();
    ASSERT_EQ(roles.Count(), 3u);
    EXPECT_EQ(roles.Item(1)->ObjectName, "'Approver'");
    EXPECT_EQ(roles.Item(2)->ObjectName, "'Buyer'");
    EXPECT_EQ(roles.Item(3)->ObjectName, "'Clerk'");
    // Each role names Miller as member; Miller, already registered, is not set up again.
    for (const Owned<clsROLE>& role : roles) EXPECT_EQ(role->RELATED_PERSON, "'JMILLER'");
    EXPECT_EQ(env.LogOf("KVB03090I The mapping of the properties of the WPX construct of type 'PERSON' named 'JMILLER'")
                  .size(),
              1u);
}

// A related object whose name cannot be converted counts as nameless: it is skipped and gets
// no construct, after the warning for its name; a nameless manager leaves the default.
TEST(StaffReferences, NamelessRelatedObjectsAreSkipped) {
    amltest::AmlBuilder b(amltest::kGerman);
    b.Obj("Miller", kPerson, "Miller")
        .Obj("Nameless", kRole, "")
        .Obj("Buyer", kRole, "Buyer")
        .Obj("Ghost", kPerson, "")
        .Obj("Board", kOrgUnit, "Board")
        .Cxn("Miller", kHoldsRole, "Nameless")
        .Cxn("Miller", kHoldsRole, "Buyer")
        .Cxn("Ghost", kManages, "Board")
        .Cxn("Ghost", kMemberOf, "Board")
        .Model("M1", 1, "Chart", {"Miller", "Nameless", "Buyer", "Ghost", "Board"});
    StaffEnv env(b);

    EXPECT_EQ(PERSON_Add_ARIS_Mapping(env.Obj("Miller")).RELATED_ROLE, "'Buyer'");
    EXPECT_FALSE(Registered<clsROLE>(env.Obj("Nameless")));
    ASSERT_EQ(env.Boxes().size(), 1u);
    EXPECT_NE(env.Boxes()[0].find("Invalid object name"), std::string::npos) << env.Boxes()[0];

    clsORGANIZATION& board = ORGANIZATION_Add_ARIS_Mapping(env.Obj("Board"));
    EXPECT_EQ(board.MANAGER, "'ADMIN'");
    EXPECT_EQ(board.RELATED_PERSON, "");
    EXPECT_FALSE(Registered<clsPERSON>(env.Obj("Ghost")));
    EXPECT_EQ(env.Boxes().size(), 1u) << "a person without any name is skipped silently: it has no name to convert";
}

// A person, role or organization without a name is still set up and written, but not silently.
TEST(StaffTexts, NamelessConstructIsReportedWithItsProcedure) {
    amltest::AmlBuilder b(amltest::kGerman);
    b.Obj("Person", kPerson, "")
        .Obj("Role", kRole, "")
        .Obj("Unit", kOrgUnit, "")
        .Model("M1", 1, "Chart", {"Person", "Role", "Unit"});
    const std::vector<std::pair<const char*, std::function<std::string(const aris::ObjDef*)>>> kinds = {
        {"clsPERSON.SetupProperty_PersonName",
         [](const aris::ObjDef* o) { return PERSON_Add_ARIS_Mapping(o).PersonName; }},
        {"clsROLE.SetupProperty_ObjectName", [](const aris::ObjDef* o) { return ROLE_Add_ARIS_Mapping(o).ObjectName; }},
        {"clsORGANIZATION.SetupProperty_ObjectName",
         [](const aris::ObjDef* o) { return ORGANIZATION_Add_ARIS_Mapping(o).ObjectName; }},
    };
    const char* ids[] = {"Person", "Role", "Unit"};
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        SCOPED_TRACE(kinds[i].first);
        StaffEnv env(b);
        EXPECT_EQ(kinds[i].second(env.Obj(ids[i])), "");
        ASSERT_EQ(env.Boxes().size(), 1u);
        EXPECT_NE(env.Boxes()[0].find("Invalid object name"), std::string::npos) << env.Boxes()[0];
        EXPECT_NE(env.Boxes()[0].find(kinds[i].first), std::string::npos) << env.Boxes()[0];
    }
}

// Texts are quoted only when their conversion is not empty; descriptions follow
// UseDescriptionAttr, other settings UseOtherSettings; empty texts give no property.
TEST(StaffTexts, QuotedWhenConvertedAndReadOnlyUnderTheirOptions) {
    amltest::AmlBuilder b(amltest::kGerman);
    b.Obj("Neil", kPerson, "O'Neil",
          {{kFirstName, "   "}, {kPhone, "+1 555"}, {kDescription, "Night shift"}, {kOtherSettings, "NOTIFY 'ops'"}})
        .Obj("Clerk", kRole, "Clerk", {{kDescription, "Desk work"}})
        .Obj("Sales", kOrgUnit, "Sales", {{kDescription, "All sales"}})
        .Obj("Task", kFunction, "Task")
        .Model("M1", 1, "Chart", {"Neil", "Clerk", "Sales", "Task"});
    struct Row {
        bool description, otherSettings;
        const char *personDescription, *roleDescription, *organizationDescription, *personOther;
    };
    for (const Row& row : std::vector<Row>{{true, false, "'Night shift'", "'Desk work'", "'All sales'", ""},
                                           {false, true, "", "", "", "NOTIFY 'ops'"}}) {
        SCOPED_TRACE(row.description ? "descriptions on" : "descriptions off");
        StaffEnv env(b);
        CurrentExport().Options.UseDescriptionAttr = row.description;
        CurrentExport().Options.UseOtherSettings = row.otherSettings;
        clsPERSON& neil = PERSON_Add_ARIS_Mapping(env.Obj("Neil"));
        EXPECT_EQ(neil.PersonName, "'O''NEIL'");
        EXPECT_EQ(neil.FIRST_NAME, "") << "a blank first name converts to nothing";
        EXPECT_EQ(neil.LAST_NAME, "'O''Neil'");
        EXPECT_EQ(neil.PHONE, "'+1 555'");
        EXPECT_EQ(neil.SECOND_PHONE, "");
        EXPECT_EQ(neil.DESCRIPTION, row.personDescription);
        EXPECT_EQ(neil.OtherSettings, row.personOther);
        EXPECT_EQ(ROLE_Add_ARIS_Mapping(env.Obj("Clerk")).DESCRIPTION, row.roleDescription);
        EXPECT_EQ(ORGANIZATION_Add_ARIS_Mapping(env.Obj("Sales")).DESCRIPTION, row.organizationDescription);
    }
}

// An object definition of another type reached as a person, role or organization ends the
// export with error 2120 naming its type, its name and the kind's rule; nothing is registered.
TEST(StaffLifecycle, ObjectOfAnotherTypeIsRejectedWith2120) {
    amltest::AmlBuilder b(amltest::kGerman);
    b.Obj("Task", kFunction, "Task").Model("M1", 13, "Process", {"Task"});
    const std::vector<std::pair<const char*, std::function<void(const aris::ObjDef*)>>> kinds = {
        {"PERSON", [](const aris::ObjDef* o) { PERSON_Add_ARIS_Mapping(o); }},
        {"ROLE", [](const aris::ObjDef* o) { ROLE_Add_ARIS_Mapping(o); }},
        {"ORGANIZATION", [](const aris::ObjDef* o) { ORGANIZATION_Add_ARIS_Mapping(o); }},
    };
    for (const auto& [rule, add] : kinds) {
        SCOPED_TRACE(rule);
        StaffEnv env(b);
        try {
            add(env.Obj("Task"));
            ADD_FAILURE() << "no error";
        } catch (const platform::Error& e) {
            EXPECT_EQ(e.Number(), 2120);
            EXPECT_NE(e.Description().find("'Task'"), std::string::npos) << e.Description();
            EXPECT_NE(e.Description().find(std::string("'") + rule + "'"), std::string::npos) << e.Description();
        }
        EXPECT_TRUE(clsPERSON::Registry().Empty() && clsROLE::Registry().Empty() &&
                    clsORGANIZATION::Registry().Empty());
    }
}

// A unit pulled in on demand that names its puller as parent takes the puller's name without
// setting it up again: the cycle ends, each unit is set up once.
TEST(StaffLifecycle, ParentCycleEndsAndEachUnitIsSetUpOnce) {
    amltest::AmlBuilder b(amltest::kGerman);
    b.Obj("North", kOrgUnit, "North")
        .Obj("South", kOrgUnit, "South")
        .Cxn("North", kComposedOf, "South")
        .Cxn("South", 3, "North")
        .Model("M1", 1, "Chart", {"North", "South"});
    StaffEnv env(b);
    clsORGANIZATION& north = ORGANIZATION_Add_ARIS_Mapping(env.Obj("North"));
    ORGANIZATION_SetupProperties();
    ASSERT_EQ(clsORGANIZATION::Registry().Count(), 2u);
    clsORGANIZATION& south = *clsORGANIZATION::Registry().Item(2);
    EXPECT_EQ(north.PARENT_ORGANIZATION, "'South'");
    EXPECT_EQ(south.PARENT_ORGANIZATION, "'North'");
    EXPECT_EQ(env.LogOf("KVB03090I").size(), 2u);
    EXPECT_EQ(env.LogOf("KVB03060I").size(), 2u);
}
