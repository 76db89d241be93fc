// The equivalence search of structures: the indexed search must give exactly the structure that
// a walk over the registry in order gives, with the data-object stop rule, while structures are
// registered and their member lists grow between searches.
#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <string>
#include <vector>

#include "../constructs/FakeAris.h"
#include "data/clsDATA_MEMBER.h"
#include "data/clsDATA_STRUCTURE.h"
#include "data/modDATA_STRUCTURE.h"
#include "runtime/modGlobals.h"

namespace {

// Structures and members built directly in the registries, standing for fake data objects.
class EquivalenceSearch : public ::testing::Test {
protected:
    void SetUp() override { modGlobals::CreateRegistries(); }
    void TearDown() override { modGlobals::ReleaseRegistries(); }

    const aris::ObjDef* Object(const std::string& name) {
        for (const fakearis::ObjDef& object : objects_)
            if (object.Guid() == name) return &object;
        return &objects_.emplace_back(name);
    }
    // A structure of a data object, or a generated one (nullptr).
    clsDATA_STRUCTURE& Structure(const aris::ObjDef* dataObject) {
        Owned<clsDATA_STRUCTURE> structure = MakeConstruct<clsDATA_STRUCTURE>();
        structure->ARISObjectDefinition = dataObject;
        structure->IsGenerated = dataObject == nullptr;
        clsDATA_STRUCTURE& added = *structure;
        clsDATA_STRUCTURE::Registry().Add(std::move(structure), dataObject ? dataObject->Guid() : "");
        return added;
    }
    // The member of an object; `nested` when the object is a structure itself.
    clsDATA_MEMBER& Member(const aris::ObjDef* object, clsDATA_STRUCTURE* nested = nullptr) {
        auto& members = clsDATA_MEMBER::Registry();
        if (Owned<clsDATA_MEMBER>* found = members.Find(object->Guid())) return **found;
        Owned<clsDATA_MEMBER> member = MakeConstruct<clsDATA_MEMBER>();
        member->ARISObjectDefinition = object;
        member->DATA_STRUCTURE = nested;
        member->IsDataStructure = nested != nullptr;
        clsDATA_MEMBER& added = *member;
        members.Add(std::move(member), object->Guid());
        return added;
    }
    void AddMembers(clsDATA_STRUCTURE& structure, const std::vector<std::string>& names) {
        for (const std::string& name : names) structure.AddMember(Member(Object(name)));
    }
    ARISObjDefCollection Objects(const std::vector<std::string>& names) {
        ARISObjDefCollection objects;
        for (const std::string& name : names)
            if (!objects.Contains(name)) objects.Add(Object(name), name);
        return objects;
    }

    // The search as the registry walk states it.
    static bool Matches(const clsDATA_MEMBER& member, const aris::ObjDef* object) {
        if (!member.IsDataStructure) return member.ARISObjectDefinition->Guid() == object->Guid();
        return member.DATA_STRUCTURE && !member.DATA_STRUCTURE->IsGenerated &&
               member.DATA_STRUCTURE->ARISObjectDefinition->Guid() == object->Guid();
    }
    static clsDATA_STRUCTURE* WalkTheRegistry(const ARISObjDefCollection& members, const aris::ObjDef* dataObject) {
        for (Owned<clsDATA_STRUCTURE>& structure : clsDATA_STRUCTURE::Registry()) {
            if (dataObject && !structure->IsGenerated && structure->ARISObjectDefinition->Guid() != dataObject->Guid())
                return nullptr;
            if (members.Count() != structure->ColDATA_MEMBER().Count()) continue;
            bool allMatched = true;
            for (const aris::ObjDef* object : members) {
                bool matched = false;
                for (const clsDATA_MEMBER* member : structure->ColDATA_MEMBER())
                    matched = matched || Matches(*member, object);
                allMatched = allMatched && matched;
            }
            for (const clsDATA_MEMBER* member : structure->ColDATA_MEMBER()) {
                bool matched = false;
                for (const aris::ObjDef* object : members) matched = matched || Matches(*member, object);
                allMatched = allMatched && matched;
            }
            if (allMatched) return structure.get();
        }
        return nullptr;
    }

    std::deque<fakearis::ObjDef> objects_;
};

TEST_F(EquivalenceSearch, FindsTheFirstStructureWithExactlyTheseMembers) {
    clsDATA_STRUCTURE& order = Structure(Object("order"));
    AddMembers(order, {"amount", "note"});
    clsDATA_STRUCTURE& first = Structure(nullptr);
    AddMembers(first, {"a", "b"});
    clsDATA_STRUCTURE& second = Structure(nullptr);
    AddMembers(second, {"b", "a"});
    clsDATA_STRUCTURE& withMore = Structure(nullptr);
    AddMembers(withMore, {"a", "b", "c"});

    struct Row {
        std::vector<std::string> members;
        const char* dataObject;
        clsDATA_STRUCTURE* expected;
    };
    const Row rows[] = {
        {{"a", "b"}, nullptr, &first},          // the first of two equal ones
        {{"b", "a"}, nullptr, &first},          // order does not matter
        {{"note", "amount"}, nullptr, &order},  // a structure of a data object counts too
        {{"a"}, nullptr, nullptr},              // fewer members
        {{"a", "c"}, nullptr, nullptr},         // as many members, other ones
        {{"a", "b", "c"}, nullptr, &withMore},
        {{}, nullptr, nullptr},          // no structure without members here
        {{"a", "b"}, "other", nullptr},  // stops at the structure of 'order'
        {{"a", "b"}, "order", &first},   // its own structure does not stop the search
        {{"amount", "note"}, "order", &order},
    };
    for (const Row& row : rows) {
        const aris::ObjDef* dataObject = row.dataObject ? Object(row.dataObject) : nullptr;
        EXPECT_EQ(DATA_STRUCTURE_FindEquivalentStructure(Objects(row.members), dataObject), row.expected)
            << ::testing::PrintToString(row.members) << " data object " << (row.dataObject ? row.dataObject : "none");
    }
}

TEST_F(EquivalenceSearch, StructureMembersMatchTheDataObjectOfTheirStructure) {
    clsDATA_STRUCTURE& position = Structure(Object("position"));
    AddMembers(position, {"quantity"});
    clsDATA_STRUCTURE& generated = Structure(nullptr);
    generated.AddMember(Member(Object("position"), &position));
    AddMembers(generated, {"note"});
    EXPECT_EQ(DATA_STRUCTURE_FindEquivalentStructure(Objects({"note", "position"}), nullptr), &generated);

    // A member standing for a generated structure matches no data object.
    clsDATA_STRUCTURE& loose = Structure(nullptr);
    AddMembers(loose, {"x"});
    clsDATA_STRUCTURE& holder = Structure(nullptr);
    holder.AddMember(Member(Object("x-holder"), &loose));
    EXPECT_EQ(DATA_STRUCTURE_FindEquivalentStructure(Objects({"x-holder"}), nullptr), nullptr);
}

TEST_F(EquivalenceSearch, FollowsStructuresThatGrowAndArriveBetweenSearches) {
    clsDATA_STRUCTURE& growing = Structure(nullptr);
    EXPECT_EQ(DATA_STRUCTURE_FindEquivalentStructure(Objects({}), nullptr), &growing);
    AddMembers(growing, {"a"});
    EXPECT_EQ(DATA_STRUCTURE_FindEquivalentStructure(Objects({}), nullptr), nullptr);
    EXPECT_EQ(DATA_STRUCTURE_FindEquivalentStructure(Objects({"a"}), nullptr), &growing);
    AddMembers(growing, {"b"});
    EXPECT_EQ(DATA_STRUCTURE_FindEquivalentStructure(Objects({"a"}), nullptr), nullptr);
    clsDATA_STRUCTURE& later = Structure(nullptr);
    AddMembers(later, {"a"});
    EXPECT_EQ(DATA_STRUCTURE_FindEquivalentStructure(Objects({"a"}), nullptr), &later);
    EXPECT_EQ(DATA_STRUCTURE_FindEquivalentStructure(Objects({"b", "a"}), nullptr), &growing);
}

TEST_F(EquivalenceSearch, StartsOverWithNewRegistries) {
    AddMembers(Structure(nullptr), {"a"});
    ASSERT_NE(DATA_STRUCTURE_FindEquivalentStructure(Objects({"a"}), nullptr), nullptr);
    modGlobals::ReleaseRegistries();
    modGlobals::CreateRegistries();
    EXPECT_EQ(DATA_STRUCTURE_FindEquivalentStructure(Objects({"a"}), nullptr), nullptr);
    clsDATA_STRUCTURE& again = Structure(nullptr);
    AddMembers(again, {"a"});
    EXPECT_EQ(DATA_STRUCTURE_FindEquivalentStructure(Objects({"a"}), nullptr), &again);
}

TEST_F(EquivalenceSearch, AgreesWithTheRegistryWalkOnRandomRegistries) {
    const std::vector<std::string> pool = {"a", "b", "c", "d", "e", "s1", "s2", "s3"};
    for (unsigned seed = 1; seed <= 60; ++seed) {
        modGlobals::ReleaseRegistries();
        modGlobals::CreateRegistries();
        std::mt19937 random(seed);
        auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
        std::vector<clsDATA_STRUCTURE*> structures;
        for (int step = 0; step < 120; ++step) {
            switch (pick(4)) {
                case 0: {  // register a structure: generated, or of a data object not registered yet
                    std::string name = pool[5 + pick(3)];
                    bool generated = pick(3) != 0 || clsDATA_STRUCTURE::Registry().Contains(name);
                    structures.push_back(&Structure(generated ? nullptr : Object(name)));
                    break;
                }
                case 1:  // a member grows some structure
                    if (!structures.empty()) {
                        clsDATA_STRUCTURE& target = *structures[pick(structures.size())];
                        std::string name = pool[pick(pool.size())];
                        clsDATA_STRUCTURE* nested = nullptr;
                        if (name[0] == 's' && !clsDATA_MEMBER::Registry().Contains(name))
                            if (Owned<clsDATA_STRUCTURE>* found = clsDATA_STRUCTURE::Registry().Find(name))
                                nested = found->get();
                        target.AddMember(Member(Object(name), nested));
                    }
                    break;
                default: {  // search, with or without a data object
                    std::vector<std::string> names;
                    for (std::size_t n = pick(4); n > 0; --n) names.push_back(pool[pick(pool.size())]);
                    ARISObjDefCollection members = Objects(names);
                    const aris::ObjDef* dataObject = pick(2) ? Object(pool[5 + pick(3)]) : nullptr;
                    ASSERT_EQ(DATA_STRUCTURE_FindEquivalentStructure(members, dataObject),
                              WalkTheRegistry(members, dataObject))
                        << "seed " << seed << " step " << step;
                }
            }
        }
    }
}

}  // namespace
