// The AML reader: elements and attributes, locale forms, formatted values, type names, partial
// exports and malformed input.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "../support/TestEnv.h"
#include "ArisTestSupport.h"

using namespace aristest;

namespace {

// Everything a real export may hold around the items: a database element, users, font style
// sheets and free-form texts with attributes of their own, lanes, unions and free-form text
// occurrences inside models. None of it may leak into the items.
const std::string kNoise = R"(
<Database><AttrDef AttrDef.Type="AT_NAME"><AttrValue LocaleId="1033">Database attribute</AttrValue></AttrDef></Database>
<User User.ID="User.1" isSystem="NO"><GUID>user-guid</GUID><AttrDef AttrDef.Type="AT_NAME"><AttrValue LocaleId="1033">anna</AttrValue></AttrDef></User>
<FontStyleSheet FontSS.ID="FontSS.1"><AttrDef AttrDef.Type="AT_NAME"><AttrValue LocaleId="1033">Standard</AttrValue></AttrDef><FontNode LocaleId="&LocaleId.USen;" FaceName="Arial"/></FontStyleSheet>
<FFTextDef FFTextDef.ID="FFTextDef.1" IsModelAttr="TEXT"><AttrDef AttrDef.Type="AT_NAME"><AttrValue LocaleId="1033">Free text</AttrValue></AttrDef></FFTextDef>
)";

const std::string kRich = Aml(R"(
<Group Group.ID="Group.G1" TypeNum="OT_GROUP">
  <GUID> guid-g1 </GUID>
  )" + Names("Sales", "Vertrieb") +
                                  R"(
  <Group Group.ID="Group.G2">)" + Names("Inner") +
                                  R"(
    <Model Model.ID="Model.M2" Model.Type="MT_EEPC">)" +
                                  Names("Sub") + R"(
      <ObjOcc ObjOcc.ID="ObjOcc.9" ObjDef.IdRef="ObjDef.F1"><Position Pos.X="5" Pos.Y="6"/></ObjOcc>
    </Model>
  </Group>
  <Model Model.ID="Model.M1" Model.Type="MT_EEPC">
    <Flag>1004c0</Flag>
    <GUID>guid-m1</GUID>
    <Lane Lane.ID="Lane.1" Lane.Type="LT_DEFAULT">)" +
                                  Names("Lane name") + R"(</Lane>
    )" + Names("Main", "Haupt") + R"(
    <ObjOcc ObjOcc.ID="ObjOcc.1" ObjDef.IdRef="ObjDef.E1" SymbolNum="ST_EV"><Position Pos.X="100" Pos.Y="200"/>
      <CxnOcc CxnOcc.ID="CxnOcc.1" CxnDef.IdRef="CxnDef.EF" ToObjOcc.IdRef="ObjOcc.2"><Position Pos.X="7" Pos.Y="8"/><Position Pos.X="70" Pos.Y="80"/></CxnOcc>
    </ObjOcc>
    <ObjOcc ObjOcc.ID="ObjOcc.2" ObjDef.IdRef="ObjDef.F2" SymbolNum="42"><Size Size.dX="450" Size.dY="150"/><Position Pos.X="-300" Pos.Y="400"/></ObjOcc>
    <ObjOcc ObjOcc.ID="ObjOcc.3" ObjDef.IdRef="ObjDef.F1"><Position Pos.X="500" Pos.Y="600"/>
      <CxnOcc CxnOcc.ID="CxnOcc.2" CxnDef.IdRef="CxnDef.FE" ToObjOcc.IdRef="ObjOcc.1"/>
      <CxnOcc CxnOcc.ID="CxnOcc.3" CxnDef.IdRef="CxnDef.FF" ToObjOcc.IdRef="ObjOcc.2"/>
      <AttrOcc AttrTypeNum="AT_NAME" Port="CENTER"/>
    </ObjOcc>
    <ObjOcc ObjOcc.ID="ObjOcc.4" ObjDef.IdRef="ObjDef.F1" SymbolNum="ST_FUNC"><Position Pos.X="700" Pos.Y="800"/></ObjOcc>
    <ObjOcc ObjOcc.ID="ObjOcc.5" ObjDef.IdRef="ObjDef.F2"/>
    <ObjOcc ObjOcc.ID="ObjOcc.6" ObjDef.IdRef="ObjDef.F2"><CxnOcc CxnOcc.ID="CxnOcc.4" CxnDef.IdRef="CxnDef.SELF"/></ObjOcc>
    <FFTextOcc FFTextOcc.ID="FFTextOcc.1" FFTextDef.IdRef="FFTextDef.1"/>
    <Union ObjOccs.IdRefs="ObjOcc.1 ObjOcc.2" Flags="1"/>
  </Model>
  <ObjDef ObjDef.ID="ObjDef.F1" TypeNum="OT_FUNC" SymbolNum="ST_FUNC" LinkedModels.IdRefs="Model.M2 Model.M3 ">
    <GUID>guid-f1</GUID>
    <AttrDef AttrDef.Type="AT_NAME">
      <AttrValue LocaleId="&LocaleId.USen;"><StyledElement><SizeElement Value="8"/><StyledElement><Paragraph Alignment="UNDEFINED" Indent="0"/><StyledElement><PlainText TextValue="Check "/></StyledElement><StyledElement><Bold/><StyledElement><PlainText TextValue="order"/></StyledElement></StyledElement></StyledElement></StyledElement>
      </AttrValue>
      <AttrValue LocaleId="1031">Auftrag prüfen</AttrValue>
    </AttrDef>
    <AttrDef AttrDef.Type="AT_DESC">
      <AttrValue LocaleId="&LocaleId.USen;">
        <StyledElement>
          <Paragraph Alignment="UNDEFINED" Indent="0"/>
          <StyledElement><PlainText TextValue="First line"/></StyledElement>
          <StyledElement><LineBreak/></StyledElement>
          <StyledElement><PlainText TextValue="second line"/></StyledElement>
        </StyledElement>
        <StyledElement>
          <Paragraph Alignment="UNDEFINED" Indent="0"/>
          <StyledElement><PlainText TextValue="Next paragraph"/><SoftHyphen/></StyledElement>
        </StyledElement>
      </AttrValue>
      <AttrValue LocaleId="en-GB">British
text</AttrValue>
    </AttrDef>
    <AttrDef AttrDef.Type="AT_EXT_1">
      <AttrValue>every language</AttrValue>
      <AttrValue LocaleId="&LocaleId.DEde;">nur Deutsch</AttrValue>
    </AttrDef>
    <AttrDef AttrDef.Type="9999"><AttrValue LocaleId="1033">numbered</AttrValue></AttrDef>
    <AttrDef AttrDef.Type="AT_NOT_IN_TABLE"><AttrValue LocaleId="1033">unknown type</AttrValue></AttrDef>
    <CxnDef CxnDef.ID="CxnDef.FE" CxnDef.Type="CT_CRT_1" ToObjDef.IdRef="ObjDef.E1">
      <AttrDef AttrDef.Type="AT_DESC"><AttrValue LocaleId="1033">creates</AttrValue></AttrDef>
    </CxnDef>
    <CxnDef CxnDef.ID="CxnDef.FF" CxnDef.Type="118" ToObjDef.IdRef="ObjDef.F2" LinkedModels.IdRefs="Model.M2"><GUID>guid-ff</GUID></CxnDef>
    <ExtCxnDef ExtCxnDef.ID="ExtCxnDef.1"/>
  </ObjDef>
  <ObjDef ObjDef.ID="ObjDef.E1" TypeNum="OT_EVT">)" +
                                  Names("Checked", "Geprüft") + R"(
    <CxnDef CxnDef.ID="CxnDef.EF" CxnDef.Type="OT_EVT.CT_ACTIV_1.OT_FUNC" ToObjDef.IdRef="ObjDef.F2"/>
  </ObjDef>
  <ObjDef ObjDef.ID="ObjDef.F2" TypeNum="22" SymbolNum="ST_FUNC">)" +
                                  Names("Ship") + R"(
    <CxnDef CxnDef.ID="CxnDef.SELF" CxnDef.Type="CT_IS_PREDEC_OF_1" ToObjDef.IdRef="ObjDef.F2"/>
    <CxnDef CxnDef.ID="CxnDef.F2F1" CxnDef.Type="CT_IS_PREDEC_OF_1" ToObjDef.IdRef="ObjDef.F1"/>
  </ObjDef>
  <ObjDef ObjDef.ID="ObjDef.X" TypeNum="OT_MYSTERY">)" +
                                  Names("Mystery") + R"(</ObjDef>
</Group>
<Model Model.ID="Model.M3" Model.Type="MT_ORG_CHRT">)" +
                                  Names("Main") + R"(</Model>
<Model Model.ID="Model.M4" Model.Type="MT_EEPC">)" +
                                  Names("main", "Main") + R"(</Model>
)",
                              kNoise);

class RichExport : public ::testing::Test {
protected:
    void SetUp() override {
        db = Load(kRich, &report);
        ASSERT_TRUE(db);
        main = ModelNamed(*db, "Main");
        ASSERT_TRUE(main);
        for (const aris::ObjDef* def : main->ObjDefList(22, 1033)) defs[def->Name(1033)] = def;
        ASSERT_EQ(defs.size(), 2u);
        f1 = defs["Check order"];
        f2 = defs["Ship"];
        ASSERT_TRUE(f1 && f2);
    }
    std::unique_ptr<aris::Database> db;
    std::string report;
    const aris::Model* main = nullptr;
    std::map<std::string, const aris::ObjDef*> defs;
    const aris::ObjDef* f1 = nullptr;
    const aris::ObjDef* f2 = nullptr;
};

TEST_F(RichExport, GroupsModelsAndIdentity) {
    EXPECT_EQ(NamesOf(db->AllModels()), (std::vector<std::string>{"Sub", "Main", "Main", "main"}));
    EXPECT_EQ(main->Guid(), "guid-m1");
    EXPECT_EQ(main->TypeNum(), 13);
    EXPECT_EQ(main->TypeName(1031), "EPK (eEPK)");
    EXPECT_EQ(main->Name(1031), "Haupt");
    const aris::Group* sales = main->Group();
    ASSERT_TRUE(sales);
    EXPECT_EQ(sales->Guid(), "guid-g1");
    EXPECT_EQ(sales->Name(1031), "Vertrieb");
    ASSERT_TRUE(sales->Parent());
    EXPECT_EQ(sales->Parent()->Guid(), "Group.Root");
    EXPECT_EQ(sales->Parent()->Parent(), nullptr);
    const aris::Model* sub = ModelNamed(*db, "Sub");
    EXPECT_EQ(sub->Group()->Guid(), "Group.G2");  // no GUID element: the AML id
    EXPECT_EQ(sub->Group()->Parent(), sales);
    EXPECT_EQ(f1->Guid(), "guid-f1");
    EXPECT_EQ(f2->Guid(), "ObjDef.F2");
    EXPECT_EQ(f1->Group(), sales);
    EXPECT_EQ(db->Locales(), (std::vector<aris::LocaleId>{1033, 1031, 2057}));
    // Nothing from the database element, users, style sheets, free texts or lanes became an item
    // or an attribute of one.
    EXPECT_EQ(main->AttrList(1033).size(), 1u);
}

TEST_F(RichExport, NamesAndAttributesPerLocale) {
    EXPECT_EQ(f1->Name(1033), "Check order");  // formatted text pieces joined
    EXPECT_EQ(f1->Name(1031), "Auftrag prüfen");
    EXPECT_EQ(f1->Name(1036), "");  // no fallback to another language
    aris::Attribute desc = f1->GetAttribute(9, 1033);
    ASSERT_TRUE(desc.IsMaintained());
    EXPECT_EQ(desc.GetValue(false), "First line\r\nsecond line\r\nNext paragraph");
    EXPECT_EQ(desc.GetValue(true), "First line second line Next paragraph");
    EXPECT_EQ(f1->GetAttribute(9, 2057).GetValue(false), "British\r\ntext");  // language tag form
    EXPECT_FALSE(f1->GetAttribute(9, 1031).IsMaintained());
    // A value without locale serves every locale without a value of its own.
    EXPECT_EQ(f1->GetAttribute(152, 1031).GetValue(false), "nur Deutsch");
    EXPECT_EQ(f1->GetAttribute(152, 1033).GetValue(false), "every language");
    EXPECT_EQ(f1->GetAttribute(152, 1040).GetValue(false), "every language");
    EXPECT_EQ(f1->GetAttribute(9999, 1033).GetValue(false), "numbered");
    EXPECT_FALSE(f1->GetAttribute(8, 1033).IsMaintained());
    // An attribute type without number is listed but matches no request, not even -1.
    EXPECT_FALSE(f1->GetAttribute(aris::kUnmappedType, 1033).IsMaintained());
    std::vector<int> types;
    for (const aris::Attribute& a : f1->AttrList(1033)) types.push_back(a.Type());
    EXPECT_EQ(types, (std::vector<int>{1, 9, 152, 9999, -1}));
    std::vector<int> germanTypes;
    for (const aris::Attribute& a : f1->AttrList(1031)) germanTypes.push_back(a.Type());
    EXPECT_EQ(germanTypes, (std::vector<int>{1, 152}));
}

TEST_F(RichExport, TypesByApiNameNumberAndUnknownName) {
    EXPECT_EQ(f1->TypeNum(), 22);
    EXPECT_EQ(f2->TypeNum(), 22);  // written as a number
    EXPECT_EQ(f1->TypeName(1033), "Function");
    EXPECT_EQ(f2->TypeName(1031), "Funktion");
    std::vector<const aris::CxnDef*> fromEvent = f2->CxnList(aris::kCxnIncoming, 1033, 43);
    ASSERT_EQ(fromEvent.size(), 1u);  // "From.Base.To" reads as the base type
    EXPECT_EQ(fromEvent[0]->SourceObjDef()->Name(1033), "Checked");
    // The unknown object type keeps its name, gets a number no rule uses, and is reported.
    EXPECT_TRUE(main->ObjDefList(aris::kUnmappedType, 1033).empty());
    EXPECT_NE(report.find("object type OT_MYSTERY (1 use)"), std::string::npos) << report;
    EXPECT_NE(report.find("attribute type AT_NOT_IN_TABLE (1 use)"), std::string::npos) << report;
    EXPECT_EQ(report.find("OT_FUNC"), std::string::npos) << report;
}

TEST_F(RichExport, ObjDefListInOrderOfFirstOccurrence) {
    EXPECT_EQ(NamesOf(main->ObjDefList(22, 1033)), (std::vector<std::string>{"Ship", "Check order"}));
    EXPECT_EQ(NamesOf(main->ObjDefList(18, 1033)), (std::vector<std::string>{"Checked"}));
    EXPECT_TRUE(main->ObjDefList(17, 1033).empty());
    const aris::Model* sub = ModelNamed(*db, "Sub");
    EXPECT_EQ(NamesOf(sub->ObjDefList(22, 1033)), (std::vector<std::string>{"Check order"}));
}

TEST_F(RichExport, OccurrencesWithPositionAndSymbol) {
    std::vector<const aris::Occurrence*> inMain = f1->OccListInModel(main);
    ASSERT_EQ(inMain.size(), 2u);
    EXPECT_EQ(inMain[0]->X(), 500);
    EXPECT_EQ(inMain[0]->Y(), 600);
    EXPECT_EQ(inMain[0]->SymbolNum(), 335);  // the definition's default symbol
    EXPECT_EQ(inMain[1]->X(), 700);
    EXPECT_EQ(inMain[1]->Model(), main);
    EXPECT_EQ(inMain[1]->ObjDef(), f1);
    EXPECT_EQ(f1->OccList().size(), 3u);  // also the one in "Sub"
    std::vector<const aris::Occurrence*> f2Occs = f2->OccListInModel(main);
    ASSERT_EQ(f2Occs.size(), 3u);
    EXPECT_EQ(f2Occs[0]->X(), -300);
    EXPECT_EQ(f2Occs[0]->SymbolNum(), 42);
    EXPECT_EQ(f2Occs[1]->X(), 0);  // no position
    EXPECT_EQ(main->OccList().size(), 6u);
    EXPECT_EQ(main->OccList()[0]->SymbolNum(), 1);  // ST_EV
    EXPECT_TRUE(f2->OccListInModel(ModelNamed(*db, "Sub")).empty());
}

TEST_F(RichExport, AssignedModelsFromLinkedModels) {
    EXPECT_EQ(NamesOf(f1->AssignedModels()), (std::vector<std::string>{"Sub", "Main"}));
    EXPECT_TRUE(f2->AssignedModels().empty());
}

TEST_F(RichExport, ConnectionListsByDirectionBitsAndType) {
    struct Row {
        const char* object;
        int direction;
        int type;
        std::vector<std::string> expected;  // "source>target"
    };
    const std::vector<Row> rows = {
        {"Check order", 4, 44, {"Check order>Checked"}},
        {"Check order", 2, 44, {}},
        {"Check order", 4, 118, {"Check order>Ship"}},
        {"Check order", 2, 118, {"Ship>Check order"}},
        {"Check order", 6, 118, {"Check order>Ship", "Ship>Check order"}},
        {"Ship", 2, 118, {"Check order>Ship", "Ship>Ship"}},
        {"Ship", 4, 118, {"Ship>Ship", "Ship>Check order"}},
        {"Ship", 6, 118, {"Check order>Ship", "Ship>Ship", "Ship>Check order"}},  // file order, loop once
        {"Ship", 2, 43, {"Checked>Ship"}},
        {"Ship", 0, 118, {}},
        {"Ship", 1, 118, {}},
        {"Ship", 6, 44, {}},
    };
    for (const Row& row : rows) {
        std::vector<std::string> got;
        for (const aris::CxnDef* c : defs[row.object]->CxnList(row.direction, 1033, row.type)) {
            got.push_back(c->SourceObjDef()->Name(1033) + ">" + c->TargetObjDef()->Name(1033));
        }
        EXPECT_EQ(got, row.expected) << row.object << " direction " << row.direction << " type " << row.type;
    }
    std::vector<const aris::CxnDef*> creates = f1->CxnList(4, 1033, 44);
    ASSERT_EQ(creates.size(), 1u);
    EXPECT_EQ(creates[0]->TypeNum(), 44);
    EXPECT_EQ(creates[0]->TypeName(1031), "erzeugt");
    EXPECT_EQ(creates[0]->GetAttribute(9, 1033).GetValue(false), "creates");
    EXPECT_EQ(creates[0]->Guid(), "CxnDef.FE");
    ASSERT_EQ(creates[0]->OccList().size(), 1u);
    EXPECT_EQ(creates[0]->OccList()[0]->Model(), main);
    EXPECT_EQ(creates[0]->OccList()[0]->ObjDef(), nullptr);
    // A connection without occurrence stays listed; the caller decides by its occurrence count.
    std::vector<const aris::CxnDef*> back = f2->CxnList(4, 1033, 118);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_TRUE(back[1]->OccList().empty());
    EXPECT_EQ(back[0]->OccList().size(), 1u);
}

TEST_F(RichExport, FindModelsByTypeAndExactNameInTheLocale) {
    EXPECT_EQ(db->FindModels(13, 1033, "Main").size(), 1u);
    EXPECT_EQ(db->FindModels(13, 1033, "Main")[0], main);
    EXPECT_EQ(db->FindModels(1, 1033, "Main").size(), 1u);
    EXPECT_EQ(db->FindModels(13, 1033, "main").size(), 1u);  // the other spelling is another model
    EXPECT_NE(db->FindModels(13, 1033, "main")[0], main);
    EXPECT_EQ(db->FindModels(13, 1031, "Main").size(), 1u);  // "main"'s German name
    EXPECT_EQ(db->FindModels(13, 1031, "Haupt")[0], main);
    EXPECT_TRUE(db->FindModels(13, 1033, "Haupt").empty());
    EXPECT_TRUE(db->FindModels(13, 1033, "Main ").empty());
    EXPECT_TRUE(db->FindModels(aris::kUnmappedType, 1033, "Main").empty());
}

TEST(AmlReader, LocaleIdForms) {
    std::string xml = Aml(R"(<ObjDef ObjDef.ID="ObjDef.1" TypeNum="OT_FUNC"><AttrDef AttrDef.Type="AT_NAME">
      <AttrValue LocaleId="&LocaleId.DEde;">entity</AttrValue>
      <AttrValue LocaleId=" 1029 ">number</AttrValue>
      <AttrValue LocaleId="en-us">tag</AttrValue></AttrDef></ObjDef>
      <Model Model.ID="Model.1" Model.Type="MT_EEPC"><ObjOcc ObjOcc.ID="ObjOcc.1" ObjDef.IdRef="ObjDef.1"/></Model>)");
    auto db = Load(xml);
    ASSERT_TRUE(db);
    const aris::ObjDef* def = db->AllModels()[0]->ObjDefList(22, 0)[0];
    EXPECT_EQ(def->Name(1031), "entity");
    EXPECT_EQ(def->Name(1029), "number");
    EXPECT_EQ(def->Name(1033), "tag");
}

TEST(AmlReader, EveryLineBreakOfANameOrValueIsCrLf) {
    struct Row {
        const char* written;  // the value as it stands in the file
        const char* read;
    };
    const std::vector<Row> rows = {
        {"one\ntwo", "one\r\ntwo"},          // a line end of the file
        {"one\r\ntwo", "one\r\ntwo"},        // the parser makes it LF first
        {"one&#13;&#10;two", "one\r\ntwo"},  // written out as characters
        {"one&#13;two&#10;three", "one\r\ntwo\r\nthree"},
        {"one&#13;&#13;&#10;&#10;", "one\r\n\r\n\r\n"},
        {"no break", "no break"},
    };
    std::string defs;
    std::string occs;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::string id = "ObjDef." + std::to_string(i);
        defs += "<ObjDef ObjDef.ID=\"" + id + "\" TypeNum=\"OT_FUNC\"><AttrDef AttrDef.Type=\"AT_NAME\"><AttrValue " +
                "LocaleId=\"1033\">" + rows[i].written + "</AttrValue></AttrDef><AttrDef AttrDef.Type=\"AT_DESC\">" +
                "<AttrValue LocaleId=\"1033\"><StyledElement><PlainText TextValue=\"a\"/><LineBreak/>" +
                "<PlainText TextValue=\"b\"/></StyledElement></AttrValue></AttrDef></ObjDef>";
        occs += "<ObjOcc ObjOcc.ID=\"ObjOcc." + std::to_string(i) + "\" ObjDef.IdRef=\"" + id + "\"/>";
    }
    auto db = Load(Aml(defs + "<Model Model.ID=\"Model.1\" Model.Type=\"MT_EEPC\">" + occs + "</Model>"));
    ASSERT_TRUE(db);
    std::vector<const aris::Occurrence*> placed = db->AllModels()[0]->OccList();
    ASSERT_EQ(placed.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(placed[i]->ObjDef()->Name(1033), rows[i].read) << rows[i].written;
        // A line break of formatted text as well.
        EXPECT_EQ(placed[i]->ObjDef()->GetAttribute(9, 1033).GetValue(false), "a\r\nb");
    }
}

TEST(AmlReader, TypeNamesByLocale) {
    struct Row {
        const char* written;
        int number;
        const char* english;
        const char* german;
    };
    const std::vector<Row> rows = {
        {"OT_FUNC", 22, "Function", "Funktion"},
        {"22", 22, "Function", "Funktion"},
        {"OT_CLST", 14, "Cluster/Data model", "Cluster/Datenmodell"},                // "*" marks of the source dropped
        {"OT_ORG_UNIT_CLST", 2, "Organizational unit cluster", "OT_ORG_UNIT_CLST"},  // no German name
        {"4242", 4242, "4242", "4242"},
        {"OT_NOBODY_KNOWS", aris::kUnmappedType, "OT_NOBODY_KNOWS", "OT_NOBODY_KNOWS"},
    };
    std::string defs;
    std::string occs;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::string id = "ObjDef." + std::to_string(i);
        defs += "<ObjDef ObjDef.ID=\"" + id + "\" TypeNum=\"" + rows[i].written + "\">" + Names(id) + "</ObjDef>";
        occs += "<ObjOcc ObjOcc.ID=\"ObjOcc." + std::to_string(i) + "\" ObjDef.IdRef=\"" + id + "\"/>";
    }
    auto db = Load(Aml(defs + "<Model Model.ID=\"Model.1\" Model.Type=\"MT_EEPC\">" + occs + "</Model>"));
    ASSERT_TRUE(db);
    std::vector<const aris::Occurrence*> placed = db->AllModels()[0]->OccList();
    ASSERT_EQ(placed.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const aris::ObjDef* def = placed[i]->ObjDef();
        EXPECT_EQ(def->TypeNum(), rows[i].number) << rows[i].written;
        EXPECT_EQ(def->TypeName(1033), rows[i].english) << rows[i].written;
        EXPECT_EQ(def->TypeName(1036), rows[i].english) << rows[i].written;
        EXPECT_EQ(def->TypeName(1031), rows[i].german) << rows[i].written;
    }
}

TEST(AmlReader, AttributesOfOneTypeJoin) {
    std::string attrs;
    for (int type = 1001; type <= 1020; ++type) {
        attrs += "<AttrDef AttrDef.Type=\"" + std::to_string(type) + "\"><AttrValue LocaleId=\"1033\">v" +
                 std::to_string(type) + "</AttrValue></AttrDef>";
    }
    attrs +=
        R"(<AttrDef AttrDef.Type="1005"><AttrValue LocaleId="1033">replaced</AttrValue><AttrValue LocaleId="1031">neu</AttrValue></AttrDef>
      <AttrDef AttrDef.Type="1002"><AttrValue>common</AttrValue><AttrValue>common again</AttrValue></AttrDef>)";
    auto db = Load(Aml("<ObjDef ObjDef.ID=\"ObjDef.1\" TypeNum=\"OT_FUNC\">" + attrs + R"(</ObjDef>
      <Model Model.ID="Model.1" Model.Type="MT_EEPC"><ObjOcc ObjOcc.ID="ObjOcc.1" ObjDef.IdRef="ObjDef.1"/></Model>)"));
    ASSERT_TRUE(db);
    const aris::ObjDef* def = db->AllModels()[0]->OccList()[0]->ObjDef();
    EXPECT_EQ(def->AttrList(1033).size(), 20u);
    EXPECT_EQ(def->AttrList(1033)[4].GetValue(false), "replaced");
    EXPECT_EQ(def->GetAttribute(1005, 1031).GetValue(false), "neu");
    EXPECT_EQ(def->GetAttribute(1020, 1033).GetValue(false), "v1020");
    EXPECT_EQ(def->GetAttribute(1002, 1033).GetValue(false), "v1002");
    EXPECT_EQ(def->GetAttribute(1002, 1031).GetValue(false), "common again");
    std::vector<int> german;
    for (const aris::Attribute& a : def->AttrList(1031)) german.push_back(a.Type());
    EXPECT_EQ(german, (std::vector<int>{1002, 1005}));
}

TEST(AmlReader, ServerTypeTableAddsAndOverrides) {
    testenv::TempDir dir;
    std::string tsv = dir.File("types.tsv");
    testenv::WriteFile(tsv,
                       "# server types\nkind\tnumber\tapi_name\tenglish_name\tgerman_name\n"
                       "object\t70000\tOT_MYSTERY\tMystery object\tRätselobjekt\n"
                       "attribute\t70001\td7f4c491-b203-11ea-06c4-0050568bc76d\tCustom\tEigen\n"
                       "symbol\t65871\t0ab1c2d3-0000-11ea-0000-000000000001\tDerived function\t\n"
                       "model\t13\tMT_EEPC\tProcess chain\tProzesskette\n"
                       "object\tnot-a-number\tOT_BAD\n");
    std::string xml = Aml(R"(
      <ObjDef ObjDef.ID="ObjDef.1" TypeNum="OT_MYSTERY" SymbolNum="ST_FUNC">)" +
                          Names("M") + R"(
        <AttrDef AttrDef.Type="D7F4C491-B203-11EA-06C4-0050568BC76D"><AttrValue LocaleId="1033">custom value</AttrValue></AttrDef>
      </ObjDef>
      <Model Model.ID="Model.1" Model.Type="MT_EEPC">)" +
                          Names("P") + R"(
        <ObjOcc ObjOcc.ID="ObjOcc.1" ObjDef.IdRef="ObjDef.1" SymbolNum="ST_FUNC"><SymbolGUID>0ab1c2d3-0000-11ea-0000-000000000001</SymbolGUID></ObjOcc>
        <ObjOcc ObjOcc.ID="ObjOcc.2" ObjDef.IdRef="ObjDef.1" SymbolNum="ST_FUNC"><SymbolGUID>unknown-guid</SymbolGUID></ObjOcc>
      </Model>)");
    std::string report;
    auto db = Load(xml, &report, tsv);
    ASSERT_TRUE(db);
    const aris::Model* model = db->AllModels()[0];
    EXPECT_EQ(model->TypeName(1033), "Process chain");
    EXPECT_EQ(model->TypeNum(), 13);
    ASSERT_EQ(model->ObjDefList(70000, 1033).size(), 1u);
    const aris::ObjDef* def = model->ObjDefList(70000, 1033)[0];
    EXPECT_EQ(def->TypeName(1031), "Rätselobjekt");
    EXPECT_EQ(def->GetAttribute(70001, 1033).GetValue(false), "custom value");
    EXPECT_EQ(model->OccList()[0]->SymbolNum(), 65871);
    EXPECT_EQ(model->OccList()[1]->SymbolNum(), 335);
    EXPECT_EQ(report.find("OT_MYSTERY"), std::string::npos) << report;
    EXPECT_NE(report.find("types.tsv, line 7"), std::string::npos) << report;

    // Without the server table the same export loads with the names reported.
    std::string plainReport;
    auto plain = Load(xml, &plainReport);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->AllModels()[0]->TypeName(1033), "EPC (eEPC)");
    EXPECT_NE(plainReport.find("object type OT_MYSTERY (1 use)"), std::string::npos) << plainReport;
    EXPECT_NE(plainReport.find("attribute type D7F4C491-B203-11EA-06C4-0050568BC76D (1 use)"), std::string::npos);
}

TEST(AmlReader, ReferencesToMissingIdsAreDroppedAndReportedOnce) {
    std::string xml = Aml(R"(
      <ObjDef ObjDef.ID="ObjDef.1" TypeNum="OT_FUNC" LinkedModels.IdRefs="Model.gone Model.1">)" +
                          Names("F") + R"(
        <CxnDef CxnDef.ID="CxnDef.1" CxnDef.Type="CT_CRT_1" ToObjDef.IdRef="ObjDef.gone"/>
        <CxnDef CxnDef.ID="CxnDef.2" CxnDef.Type="CT_CRT_1" ToObjDef.IdRef="ObjDef.2"/>
      </ObjDef>
      <ObjDef ObjDef.ID="ObjDef.2" TypeNum="OT_EVT">)" +
                          Names("E") + R"(</ObjDef>
      <Model Model.ID="Model.1" Model.Type="MT_EEPC">)" +
                          Names("P") + R"(
        <ObjOcc ObjOcc.ID="ObjOcc.1" ObjDef.IdRef="ObjDef.1">
          <CxnOcc CxnOcc.ID="CxnOcc.1" CxnDef.IdRef="CxnDef.1"/>
          <CxnOcc CxnOcc.ID="CxnOcc.2" CxnDef.IdRef="CxnDef.2"/>
          <CxnOcc CxnOcc.ID="CxnOcc.3" CxnDef.IdRef="CxnDef.gone"/>
        </ObjOcc>
        <ObjOcc ObjOcc.ID="ObjOcc.2" ObjDef.IdRef="ObjDef.also-gone"/>
        <ObjOcc ObjOcc.ID="ObjOcc.3" ObjDef.IdRef="ObjDef.2"/>
      </Model>)");
    std::string report;
    auto db = Load(xml, &report);
    ASSERT_TRUE(db);
    const aris::Model* model = db->AllModels()[0];
    EXPECT_EQ(model->OccList().size(), 2u);
    const aris::ObjDef* f = model->ObjDefList(22, 1033)[0];
    EXPECT_EQ(NamesOf(f->AssignedModels()), (std::vector<std::string>{"P"}));
    std::vector<const aris::CxnDef*> out = f->CxnList(4, 1033, 44);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0]->TargetObjDef()->Name(1033), "E");
    EXPECT_EQ(out[0]->OccList().size(), 1u);
    EXPECT_NE(report.find("Test.xml: 4 references name ids not in the file"), std::string::npos) << report;
    EXPECT_NE(report.find("the first: LinkedModels.IdRefs=\"Model.gone\" at line 13"), std::string::npos) << report;
    EXPECT_EQ(report.find("\n", report.find("references")), report.size() - 1) << "reported once: " << report;
}

TEST(AmlReader, DeeplyNestedGroupsAreReadWithoutRecursion) {
    constexpr int kDepth = 10000;
    std::string open;
    std::string close;
    for (int i = 0; i < kDepth; ++i) {
        open += "<Group Group.ID=\"Group." + std::to_string(i) + "\">";
        close += "</Group>";
    }
    std::string xml = Aml(open + R"(<ObjDef ObjDef.ID="ObjDef.1" TypeNum="OT_FUNC"/>
        <Model Model.ID="Model.1" Model.Type="MT_EEPC"><ObjOcc ObjOcc.ID="ObjOcc.1" ObjDef.IdRef="ObjDef.1"/></Model>)" +
                          close);
    auto db = Load(xml);
    ASSERT_TRUE(db);
    const aris::Group* group = db->AllModels()[0]->ObjDefList(22, 1033)[0]->Group();
    EXPECT_EQ(group->Guid(), "Group." + std::to_string(kDepth - 1));
    int depth = 0;
    for (; group; group = group->Parent()) ++depth;
    EXPECT_EQ(depth, kDepth + 1);
}

TEST(AmlReader, MalformedExportsAreRefusedWithThePlace) {
    const std::string bomb = R"(<?xml version="1.0"?>
<!DOCTYPE AML [
 <!ENTITY a "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa">
 <!ENTITY b "&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;">
 <!ENTITY c "&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;">
 <!ENTITY d "&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;">
 <!ENTITY e "&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;">
 <!ENTITY f "&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;">
 <!ENTITY g "&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;">
]>
<AML><Group Group.ID="Group.Root"><ObjDef ObjDef.ID="ObjDef.1" TypeNum="OT_FUNC"><AttrDef AttrDef.Type="AT_NAME"><AttrValue LocaleId="1033">&g;</AttrValue></AttrDef></ObjDef></Group></AML>)";
    struct Row {
        const char* what;
        std::string xml;
        std::string expected;  // part of the message after the place
    };
    const std::vector<Row> rows = {
        {"plain text", "this is not XML", "line 1, column 1: not a well-formed XML document"},
        {"unclosed element", Aml("<Group Group.ID=\"Group.1\">"), "not a well-formed XML document: mismatched tag"},
        {"empty file", "", "not a well-formed XML document: no element found"},
        {"other root", "<?xml version=\"1.0\"?>\n<Process/>",
         "line 2, column 1: not an ARIS export: the document element is <Process>"},
        {"duplicate id", Aml(R"(<ObjDef ObjDef.ID="ObjDef.1" TypeNum="OT_FUNC"/>
<Model Model.ID="ObjDef.1" Model.Type="MT_EEPC"/>)"),
         "duplicate id 'ObjDef.1' in Model.ID"},
        {"duplicate occurrence id",
         Aml(R"(<Model Model.ID="Model.1" Model.Type="MT_EEPC"><ObjOcc ObjOcc.ID="O"/><ObjOcc ObjOcc.ID="O"/></Model>)"),
         "duplicate id 'O' in ObjOcc.ID"},
        {"invalid UTF-8",
         Aml("<ObjDef ObjDef.ID=\"ObjDef.1\" TypeNum=\"OT_FUNC\">" + Names("bad \xff\xfe byte") + "</ObjDef>"),
         "not a well-formed XML document"},
        {"entity bomb", bomb, "amplification"},
        {"undeclared entity",
         Aml("<ObjDef ObjDef.ID=\"ObjDef.1\" TypeNum=\"OT_FUNC\">" + Names("&nowhere;") + "</ObjDef>"),
         "entity '&nowhere;' is not declared"},
        {"unknown locale",
         Aml(R"(<ObjDef ObjDef.ID="ObjDef.1" TypeNum="OT_FUNC"><AttrDef AttrDef.Type="AT_NAME"><AttrValue LocaleId="klingon">x</AttrValue></AttrDef></ObjDef>)"),
         "LocaleId 'klingon' is neither a locale number nor a known language tag"},
        {"bad position",
         Aml(R"(<Model Model.ID="Model.1" Model.Type="MT_EEPC"><ObjOcc ObjOcc.ID="O" ObjDef.IdRef="x"><Position Pos.X="12.5" Pos.Y="1"/></ObjOcc></Model>)"),
         "Pos.X '12.5' is not a whole number"},
        {"definition without id", Aml(R"(<ObjDef TypeNum="OT_FUNC"/>)"), "<ObjDef> without ObjDef.ID"},
        {"definition without type", Aml(R"(<ObjDef ObjDef.ID="ObjDef.1"/>)"), "<ObjDef> without TypeNum"},
    };
    for (const Row& row : rows) {
        std::string message = LoadError(row.xml);
        EXPECT_NE(message.find("ARIS export Bad.xml, line "), std::string::npos) << row.what << ": " << message;
        EXPECT_NE(message.find(row.expected), std::string::npos) << row.what << ": " << message;
    }
}

TEST(AmlReader, ExternalEntitiesAreNeverRead) {
    testenv::TempDir dir;
    std::string secret = dir.File("secret.txt");
    testenv::WriteFile(secret, "TOP-SECRET");
    std::string dtd = dir.File("evil.dtd");
    testenv::WriteFile(dtd, "<!ENTITY leak \"TOP-SECRET\">");
    std::string body = "<ObjDef ObjDef.ID=\"ObjDef.1\" TypeNum=\"OT_FUNC\">" + Names("&xxe;") + "</ObjDef>";

    // A general entity naming a local file, used in content.
    std::string general =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE AML [ <!ENTITY LocaleId.USen \"1033\"> <!ENTITY xxe SYSTEM \"file://" +
        secret + "\"> ]>\n<AML><Group Group.ID=\"Group.Root\">" + body + "</Group></AML>";
    std::string message = LoadError(general);
    EXPECT_NE(message.find("external entity"), std::string::npos) << message;
    EXPECT_EQ(message.find("TOP-SECRET"), std::string::npos);

    // A parameter entity naming a file with declarations: never read, so its entity stays unknown.
    std::string parameter =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE AML [ <!ENTITY LocaleId.USen \"1033\"> <!ENTITY % ext SYSTEM \"file://" +
        dtd +
        "\"> %ext; ]>\n<AML><Group Group.ID=\"Group.Root\"><ObjDef ObjDef.ID=\"ObjDef.1\" "
        "TypeNum=\"OT_FUNC\">" +
        Names("&leak;") + "</ObjDef></Group></AML>";
    message = LoadError(parameter);
    EXPECT_NE(message.find("entity '&leak;' is not declared"), std::string::npos) << message;

    // The external DTD named by an ordinary export is not needed and not looked for.
    std::string external = "<?xml version=\"1.0\"?>\n<!DOCTYPE AML SYSTEM \"file://" + dtd +
                           "\">\n<AML><Group Group.ID=\"Group.Root\"/></AML>";
    EXPECT_EQ(LoadError(external), "");
}

TEST(AmlReader, Windows1252Exports) {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n<!DOCTYPE AML [ <!ENTITY LocaleId.USen \"1033\"> ]>\n<AML><Group Group.ID=\"Group.Root\">"
        "<Model Model.ID=\"Model.1\" Model.Type=\"MT_EEPC\">" +
        Names(
            "Pr\xfc"
            "fung \x80") +
        "</Model></Group></AML>";
    auto db = Load(xml);
    ASSERT_TRUE(db);
    EXPECT_EQ(db->AllModels()[0]->Name(1033),
              "Pr\xc3\xbc"
              "fung \xe2\x82\xac");
}

}  // namespace
