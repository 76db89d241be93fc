// Structures and members over small databases: properties, data types, generation, the container
// choice, on-demand creation and the STRUCTURE block.
#include <gtest/gtest.h>

#include <pthread.h>

#include <cstdint>
#include <functional>
#include <limits>

#include "DataFixture.h"
#include "data/modContainer.h"
#include "data/modDATA_MEMBER.h"
#include "data/modDATA_STRUCTURE.h"
#include "process/modPROGRAM.h"
#include "writer/clsWPXWriter.h"

namespace {

using namespace datatest;

// Order (entity type) with the members Amount and Note; Order copy shares Amount; Quantity has a
// type attribute and a domain type; Enter is a function.
amltest::AmlBuilder OrderDatabase() {
    amltest::AmlBuilder b(amltest::kGerman);
    b.Obj("order", kEntityType, "Order", {{kDescription, "An order"}, {kDocumentation, "See the manual"}})
        .Obj("copy", kEntityType, "Order copy")
        .Obj("amount", kErmAttribute, "Amount",
             {{kMemberType, "Integer"}, {kSizeOfArray, "10"}, {kDescription, "Total"}, {kDocumentation, "In cents"}})
        .Obj("note", kErmAttribute, "Note", {{kSizeOfArray, "ten"}, {kDescription, "   "}})
        .Obj("quantity", kErmAttribute, "Quantity", {{kMemberType, "Float"}})
        .Obj("count", kDomain, "Count", {{kDomainType, "Smallint"}})
        .Obj("enter", kFunction, "Enter")
        .Cxn("amount", kIsDescribingFor, "order")
        .Cxn("note", 80, "order")
        .Cxn("amount", kIsDescribingFor, "copy")
        .Cxn("quantity", kHasDomain, "count")
        .Model("M1", kDataModel, "Data", {"order", "copy", "amount", "note", "quantity", "count", "enter"});
    return b;
}

ARISObjDefCollection Objects(const DataEnv& env, const std::vector<std::string>& ids) {
    ARISObjDefCollection objects;
    for (const std::string& id : ids) objects.Add(env.Obj(id), env.Obj(id)->Guid());
    return objects;
}

std::vector<std::string> MemberNames(const clsDATA_STRUCTURE& structure) {
    std::vector<std::string> names;
    for (const clsDATA_MEMBER* member : structure.ColDATA_MEMBER()) names.push_back(member->MemberName);
    return names;
}

TEST(DataStructure, StructureBlockWithMemberTypesSizesAndTexts) {
    DataEnv env(OrderDatabase());
    CurrentExport().Options.UseOtherSettings = true;
    clsDATA_STRUCTURE& order = DATA_STRUCTURE_Add_ARIS_Mapping(env.Obj("order"));
    clsWPXWriter().WriteDataStructure(order);
    // A blank description converts to nothing and gives no line; "ten" is no array size.
    EXPECT_EQ(env.FileLines(), (std::vector<std::string>{"", "STRUCTURE 'Order'", "\tDESCRIPTION 'An order'",
                                                         "\tDOCUMENTATION 'See the manual'", "\t'Amount': LONG (10)",
                                                         "\t\tDESCRIPTION 'Total'", "\t\tDOCUMENTATION 'In cents';",
                                                         "\t'Note': STRING ;", "END 'Order'"}));
}

TEST(DataStructure, OptionsSwitchArraySizesTextsAndTheSourceOfTheType) {
    struct Row {
        bool useOtherSettings, texts, typeFromAttribute;
        const char* amountSize;
        const char* amountDescription;
        const char* quantityType;
    };
    const Row rows[] = {
        {true, true, true, "(10)", "'Total'", "FLOAT"},
        {false, false, false, "", "", "LONG"},
    };
    for (const Row& row : rows) {
        DataEnv env(OrderDatabase());
        CurrentExport().Options.UseOtherSettings = row.useOtherSettings;
        CurrentExport().Options.UseDescriptionAttr = row.texts;
        CurrentExport().Options.UseDocumentationAttr = row.texts;
        CurrentExport().Options.DataTypeFromAttribute = row.typeFromAttribute;
        clsDATA_MEMBER& amount = DATA_MEMBER_Add_ARIS_Mapping(env.Obj("amount"));
        clsDATA_MEMBER& quantity = DATA_MEMBER_Add_ARIS_Mapping(env.Obj("quantity"));
        EXPECT_EQ(amount.SizeOfArray, row.amountSize);
        EXPECT_EQ(amount.DESCRIPTION, row.amountDescription);
        EXPECT_EQ(amount.DOCUMENTATION.empty(), !row.texts);
        EXPECT_EQ(quantity.DataType, row.quantityType) << "type attribute first: " << row.typeFromAttribute;
        EXPECT_TRUE(env.LogLinesWith("KVB03000").empty());  // one domain type is no ambiguity
    }
}

TEST(DataStructure, OneMemberPerDataObjectSharedByItsStructures) {
    DataEnv env(OrderDatabase());
    clsDATA_STRUCTURE& order = DATA_STRUCTURE_Add_ARIS_Mapping(env.Obj("order"));
    clsDATA_STRUCTURE& copy = DATA_STRUCTURE_Add_ARIS_Mapping(env.Obj("copy"));
    EXPECT_EQ(&DATA_STRUCTURE_Add_ARIS_Mapping(env.Obj("order")), &order);
    EXPECT_EQ(order.ColDATA_MEMBER().Item(1), copy.ColDATA_MEMBER().Item(1));
    EXPECT_EQ(clsDATA_MEMBER::Registry().Count(), 2u);
    EXPECT_EQ(clsDATA_STRUCTURE::Registry().Count(), 2u);
    int amountMapped = 0, orderMapped = 0;
    for (const std::string& line : env.LogLinesWith("KVB03060I")) {
        amountMapped += line.find("'Amount'") != std::string::npos;
        orderMapped += line.find("'Order'") != std::string::npos;
    }
    EXPECT_EQ(amountMapped, 1);
    EXPECT_EQ(orderMapped, 1);
}

TEST(DataStructure, ObjectsOfOtherKindsAreRejectedWith2120) {
    DataEnv env(OrderDatabase());
    struct Row {
        const char* rule;
        void (*create)(const aris::ObjDef*);
    };
    const Row rows[] = {
        {"DATA_OBJECT", [](const aris::ObjDef* o) { DATA_STRUCTURE_Add_ARIS_Mapping(o); }},
        {"DATA_OBJECT", [](const aris::ObjDef* o) { DATA_MEMBER_Add_ARIS_Mapping(o); }},
        {"PROGRAM", [](const aris::ObjDef* o) { PROGRAM_Add_ARIS_Mapping(o); }},
    };
    for (const Row& row : rows) {
        try {
            row.create(env.Obj("enter"));
            ADD_FAILURE() << "no error for rule " << row.rule;
        } catch (const platform::Error& e) {
            EXPECT_EQ(e.Number(), 2120);
            EXPECT_NE(e.Description().find("object name = 'Enter', mapping rule = '" + std::string(row.rule) + "'"),
                      std::string::npos)
                << e.Description();
        }
    }
    EXPECT_TRUE(clsDATA_STRUCTURE::Registry().Empty());
}

TEST(DataStructure, GeneratedStructuresAreSharedAndNumbered) {
    DataEnv env(OrderDatabase());
    CurrentExport().GeneratedNameSuffix = 5;
    clsDATA_STRUCTURE& empty = DATA_STRUCTURE_Generate(ARISObjDefCollection());
    EXPECT_EQ(empty.ObjectName, "'Default Data Structure'");
    EXPECT_TRUE(empty.IsGenerated);
    EXPECT_TRUE(empty.ColDATA_MEMBER().Empty());
    clsDATA_STRUCTURE& first = DATA_STRUCTURE_Generate(Objects(env, {"amount", "note"}));
    EXPECT_EQ(&DATA_STRUCTURE_Generate(Objects(env, {"note", "amount"})), &first);
    clsDATA_STRUCTURE& second = DATA_STRUCTURE_Generate(Objects(env, {"quantity"}));
    EXPECT_EQ(first.ObjectName, "'DATA_STRUCTURE_5'");
    EXPECT_EQ(second.ObjectName, "'DATA_STRUCTURE_6'");
    EXPECT_EQ(MemberNames(first), (std::vector<std::string>{"'Amount'", "'Note'"}));
    EXPECT_TRUE(first.DESCRIPTION.empty());
    EXPECT_EQ(clsDATA_STRUCTURE::Registry().Count(), 3u);
    // An empty collection finds the structure without members again.
    EXPECT_EQ(&DATA_STRUCTURE_Generate(ARISObjDefCollection()), &empty);

    CurrentExport().GeneratedNameSuffix = std::numeric_limits<std::int32_t>::max();
    try {
        DATA_STRUCTURE_GenerateName();
        ADD_FAILURE() << "the counter passed the 32-bit range";
    } catch (const platform::Error& e) {
        EXPECT_EQ(e.Number(), platform::kErrOverflow);
    }
}

TEST(DataStructure, ContainerChoice) {
    DataEnv env(OrderDatabase());
    struct Row {
        std::vector<std::string> objects;
        const char* name;  // nullptr: the default structure is kept
        bool generated;
        std::vector<std::string> members;
    };
    const Row rows[] = {
        {{}, nullptr, false, {}},
        {{"enter"}, nullptr, false, {}},  // neither a structure nor a data object
        {{"order"}, "'Order'", false, {"'Amount'", "'Note'"}},
        {{"quantity"}, "'DATA_STRUCTURE_0'", true, {"'Quantity'"}},
        {{"order", "note"}, "'DATA_STRUCTURE_1'", true, {"'Order'", "'Note'"}},
        {{"note", "order"}, "'DATA_STRUCTURE_1'", true, {"'Order'", "'Note'"}},
    };
    for (const Row& row : rows) {
        const clsDATA_STRUCTURE* container = ChooseContainer(Objects(env, row.objects));
        if (!row.name) {
            EXPECT_EQ(container, nullptr) << ::testing::PrintToString(row.objects);
            continue;
        }
        ASSERT_NE(container, nullptr) << ::testing::PrintToString(row.objects);
        EXPECT_EQ(container->ObjectName, row.name);
        EXPECT_EQ(container->IsGenerated, row.generated);
        EXPECT_EQ(MemberNames(*container), row.members);
    }
    // The structure member is typed by the structure's name.
    const clsDATA_MEMBER& orderMember = *clsDATA_MEMBER::Registry().Item(env.Obj("order")->Guid());
    EXPECT_TRUE(orderMember.IsDataStructure);
    EXPECT_EQ(orderMember.DataType, "'Order'");
}

TEST(DataStructure, FoundOncePerDataObjectAcrossRounds) {
    DataEnv env(OrderDatabase());
    ARISModelCollection models = env.Models({"M1"});
    DATA_STRUCTURE_Create(models);
    DATA_STRUCTURE_Create(models);
    // Order and its copy have members; the attributes and the domain have none.
    ASSERT_EQ(clsDATA_STRUCTURE::Registry().Count(), 2u);
    EXPECT_TRUE(clsDATA_STRUCTURE::Registry().Item(1)->SetupFinished);
    EXPECT_EQ(clsDATA_STRUCTURE::Registry().Item(2)->ObjectName, "'Order copy'");
    EXPECT_EQ(env.LogLinesWith("KVB03090I").size(), 2u);
    EXPECT_TRUE(DATA_STRUCTURE_Is_DATA_STRUCTURE(env.Obj("order")));
    EXPECT_FALSE(DATA_STRUCTURE_Is_DATA_STRUCTURE(env.Obj("amount")));
    EXPECT_FALSE(DATA_STRUCTURE_Is_DATA_STRUCTURE(env.Obj("enter")));
}

TEST(DataStructure, TwoDomainTypesWarnAndTakeTheFirst) {
    amltest::AmlBuilder b(amltest::kGerman);
    b.Obj("size", kErmAttribute, "Size")
        .Obj("d1", kDomain, "Count", {{kDomainType, "Smallint"}})
        .Obj("d2", kDomain, "Measure", {{kDomainType, "Float"}})
        .Obj("d3", kDomain, "Flag", {{kDomainType, "Boolean"}})
        .Cxn("size", kHasDomain, "d1")
        .Cxn("size", kHasDomain, "d2")
        .Cxn("size", kHasDomain, "d3")
        .Model("M1", kDataModel, "Data", {"size", "d1", "d2", "d3"});
    DataEnv env(b);
    EXPECT_EQ(DATA_MEMBER_Add_ARIS_Mapping(env.Obj("size")).DataType, "LONG");
    EXPECT_EQ(env.LogLinesWith("KVB03000"),
              (std::vector<std::string>{
                  "KVB03000E Warning: you must not assign more than one 'DOMAINTYPE' to a 'DATA_MEMBER'."}));
    std::vector<std::string> ignored = env.LogLinesWith("KVB03030I");
    ASSERT_EQ(ignored.size(), 2u);
    EXPECT_NE(ignored[0].find("'Measure'"), std::string::npos);
    EXPECT_NE(ignored[1].find("'Flag'"), std::string::npos);
}

// A chain of clusters K0 ... K(n-1), each the only member of the one before; K(n-1) has none.
amltest::AmlBuilder ClusterChain(int n) {
    amltest::AmlBuilder b(amltest::kGerman);
    std::vector<std::string> placed;
    for (int i = 0; i < n; ++i) {
        std::string id = "k" + std::to_string(i);
        b.Obj(id, 14, "K" + std::to_string(i));
        if (i + 1 < n) b.Cxn(id, 85, "k" + std::to_string(i + 1));
        placed.push_back(id);
    }
    b.Model("M1", kDataModel, "Data", placed);
    return b;
}

// Run `work` on a thread of its own with a small stack.
void RunWithStack(std::size_t bytes, const std::function<void()>& work) {
    pthread_attr_t attributes;
    ASSERT_EQ(pthread_attr_init(&attributes), 0);
    ASSERT_EQ(pthread_attr_setstacksize(&attributes, bytes), 0);
    pthread_t thread;
    auto run = [](void* argument) -> void* {
        (*static_cast<const std::function<void()>*>(argument))();
        return nullptr;
    };
    ASSERT_EQ(pthread_create(&thread, &attributes, run, const_cast<std::function<void()>*>(&work)), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
}

TEST(DataStructure, NestedStructuresAreSetUpInnermostFirstWithTheirMessagesInOrder) {
    DataEnv env(ClusterChain(3));
    clsDATA_STRUCTURE& outer = DATA_STRUCTURE_Add_ARIS_Mapping(env.Obj("k0"));
    EXPECT_EQ(MemberNames(outer), (std::vector<std::string>{"'K1'"}));
    std::vector<std::string> messages;
    for (const std::string& line : env.LogLines())
        if (line.rfind("KVB03060I", 0) == 0 || line.rfind("KVB03090I", 0) == 0) messages.push_back(line);
    const std::string mapped = "KVB03060I The ARIS object '";
    const std::string complete =
        "KVB03090I The mapping of the properties of the WPX construct of type 'DATA_STRUCTURE' named ";
    EXPECT_EQ(messages,
              (std::vector<std::string>{
                  mapped + "K2' of type 'Cluster/Datenmodell' was mapped to a WPX construct of type 'DATA_MEMBER'.",
                  complete + "'K1' is complete.",
                  mapped + "K1' of type 'Cluster/Datenmodell' was mapped to a WPX construct of type 'DATA_STRUCTURE'.",
                  mapped + "K1' of type 'Cluster/Datenmodell' was mapped to a WPX construct of type 'DATA_MEMBER'.",
                  complete + "'K0' is complete.",
                  mapped + "K0' of type 'Cluster/Datenmodell' was mapped to a WPX construct of type 'DATA_STRUCTURE'.",
              }));
}

TEST(DataStructure, StructuresNestedToAnyDepthNeedNoDeepCalls) {
    // Set up on a stack of 128 kB, which nested calls for each of the levels would overflow
    // many times over.
    const int chain = 10000;
    DataEnv env(ClusterChain(chain));
    std::string failure;
    RunWithStack(128 * 1024, [&] {
        try {
            DATA_STRUCTURE_Add_ARIS_Mapping(env.Obj("k0"));
        } catch (const platform::Error& e) {
            failure = std::to_string(e.Number()) + " " + e.Description();
        }
    });
    ASSERT_EQ(failure, "");
    auto& registry = clsDATA_STRUCTURE::Registry();
    ASSERT_EQ(registry.Count(), static_cast<std::size_t>(chain - 1));
    for (int i = 0; i + 1 < chain; ++i) {
        const clsDATA_STRUCTURE& structure = *registry.Item(static_cast<std::size_t>(i + 1));
        ASSERT_TRUE(structure.SetupFinished) << i;
        // Registered outermost first; each has the next one as its member.
        ASSERT_EQ(structure.ObjectName, "'K" + std::to_string(i) + "'");
        ASSERT_EQ(MemberNames(structure), (std::vector<std::string>{"'K" + std::to_string(i + 1) + "'"}));
    }
    EXPECT_EQ(env.LogLinesWith("KVB03090I").size(), static_cast<std::size_t>(chain - 1));
}

}  // namespace
