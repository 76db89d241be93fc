// amlgen: writes a synthetic ARIS database as an AML export of a requested size, for
// benchmarks and end-to-end tests. The same seed and size always give the same bytes.
//
//   amlgen --objdefs N --seed S --out FILE.xml [--sel FILE.sel] [--name DBNAME] [--shape SHAPE]
//
// Two shapes of database. The default shape holds eEPC process models grouped in areas. Each area has an overview model
// whose functions call the top models of process families; each family nests sub-processes
// two levels deep, so an export of the overview models runs several rounds. The models carry
// functions, events and rules (AND, XOR and OR, splits and joins), data objects with members
// and domains, loose data objects, information flows, programs and staff (organizational units,
// positions, persons, roles) connected the way the built-in mapping rules follow them.
//
// The "dense" shape is connection-dense and log-heavy: each area's overview model calls large
// eEPC models of about a hundred functions each, and every function has several data objects
// (an input of its own, data structures with members that earlier functions write), events,
// AND, XOR and OR rules, a role, a person and often an organizational unit. Names carry blanks,
// dots, quotes, umlauts and leading digits, so the export converts and logs most of them, and
// its log comes out several times the size of the definition file.
//
// The selection of the overview models ("guid,name,13" items joined by ";") is printed to
// standard output, or written to the --sel file.
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

// ---------------------------------------------------------------------------------------------
// Deterministic random numbers (splitmix64): the same on every platform and library.

class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    /// A number in [0, n).
    int Below(int n) { return n <= 1 ? 0 : static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }
    /// True with the given chance in percent.
    bool Chance(int percent) { return Below(100) < percent; }
    template <class T>
    const T& Pick(const std::vector<T>& items) {
        return items[static_cast<std::size_t>(Below(static_cast<int>(items.size())))];
    }

private:
    std::uint64_t state_;
};

// ---------------------------------------------------------------------------------------------
// ARIS type names as the export writes them: the API name where the type table knows it,
// else the decimal type number.

namespace ot {
constexpr const char* kFunc = "OT_FUNC";
constexpr const char* kEvent = "OT_EVT";
constexpr const char* kRule = "OT_RULE";
constexpr const char* kEntity = "OT_ENT_TYPE";
constexpr const char* kRelation = "OT_RELSHP_TYPE";
constexpr const char* kErmAttr = "OT_ERM_ATTR";
constexpr const char* kCluster = "OT_CLST";
constexpr const char* kAttrGroup = "OT_ATTR_TYPE_GRP";
constexpr const char* kInfoFlow = "OT_INFO_FLW";
constexpr const char* kOrgUnit = "OT_ORG_UNIT";
constexpr const char* kPosition = "OT_POS";
constexpr const char* kPerson = "OT_PERS";
constexpr const char* kRole = "OT_PERS_TYPE";
constexpr const char* kDomain = "OT_ERM_DOM";
constexpr const char* kUnitNum = "OT_UNIT_NUM";
constexpr const char* kApplSys = "OT_APPL_SYS_TYPE";
constexpr const char* kItFunc = "OT_DP_FUNC_TYPE";
constexpr const char* kModule = "OT_MOD_TYPE";
}  // namespace ot

namespace st {
constexpr const char* kFunc = "ST_FUNC";
constexpr const char* kEvent = "ST_EV";
constexpr const char* kAnd = "ST_OPR_AND_1";  // symbol 42
constexpr const char* kOr = "ST_OPR_OR_1";    // symbol 43
constexpr const char* kXor = "ST_OPR_XOR_1";  // symbol 44
constexpr const char* kEntity = "ST_ENT_TYPE";
constexpr const char* kRelation = "ST_RELSHP_TYPE";
constexpr const char* kErmAttr = "ST_ERM_ATTR";
constexpr const char* kKeyAttr = "ST_KEY_ATTR";
constexpr const char* kCluster = "ST_CLST";
constexpr const char* kAttrGroup = "ST_ATTR_TYPE_GRP";
constexpr const char* kInfoFlow = "ST_INFO_FLW";
constexpr const char* kOrgUnit = "ST_ORG_UNIT_2";
constexpr const char* kPosition = "ST_POS";
constexpr const char* kPerson = "ST_PERS_INT";
constexpr const char* kRole = "ST_EMPL_TYPE";
constexpr const char* kDomain = "ST_EERM_DOM";
constexpr const char* kApplSys = "ST_APPL_SYS_TYPE";
constexpr const char* kItFunc = "ST_DP_FUNC_TYPE";
constexpr const char* kModule = "41";
}  // namespace st

namespace ct {
constexpr const char* kOrgParentTech = "3";
constexpr const char* kMemberOfOrg = "6";  // person -> org unit
constexpr const char* kComposedOf = "7";
constexpr const char* kTechSuperior = "8";
constexpr const char* kDiscSuperior = "9";
constexpr const char* kTechResp = "10";
constexpr const char* kActivates = "CT_ACTIV_1";         // 43
constexpr const char* kCreates = "CT_CRT_1";             // 44
constexpr const char* kEvaluatedBy = "CT_IS_EVAL_BY_1";  // 48
constexpr const char* kInputFor = "CT_IS_INP_FOR";       // 49
constexpr const char* kHasOutput = "CT_HAS_OUT";         // 50
constexpr const char* kLinks = "CT_LNK_2";               // 54
constexpr const char* kItUses = "60";
constexpr const char* kHasRole = "61";
constexpr const char* kExecutes = "CT_EXEC_1";  // 65
constexpr const char* kComparedWith = "75";
constexpr const char* kDescribes = "78";
constexpr const char* kForeignKey = "79";
constexpr const char* kPrimaryKey = "80";
constexpr const char* kClusterHas = "85";
constexpr const char* kLeadsTo1 = "CT_LEADS_TO_1";         // 116
constexpr const char* kLeadsTo2 = "CT_LEADS_TO_2";         // 117
constexpr const char* kPredecessor = "CT_IS_PREDEC_OF_1";  // 118
constexpr const char* kHasDomain = "121";
constexpr const char* kCanUse = "125";
constexpr const char* kSupportsIt = "147";
constexpr const char* kOccupies = "210";
constexpr const char* kOrgParentOther = "211";
constexpr const char* kCarriesOut = "CT_EXEC_2";  // 218
constexpr const char* kLaneStep = "220";
constexpr const char* kSupports = "221";
constexpr const char* kGroupMember = "269";
constexpr const char* kGroupOf = "270";
constexpr const char* kProgramReads = "317";
constexpr const char* kSubstitutes = "318";
constexpr const char* kComparedWith2 = "319";
constexpr const char* kComparedWith3 = "322";
constexpr const char* kManages = "395";
constexpr const char* kSends = "CT_SENDS_2";         // 407
constexpr const char* kReceived = "CT_IS_RECEIVED";  // 408
}  // namespace ct

namespace at {
constexpr const char* kName = "AT_NAME";
constexpr const char* kDesc = "AT_DESC";  // 9
constexpr const char* kDoc = "8";
constexpr const char* kDomType = "123";
constexpr const char* kPhone = "245";
constexpr const char* kPhone2 = "246";
constexpr const char* kDataType = "494";
constexpr const char* kCompareOp = "497";
constexpr const char* kCompareValue = "498";
constexpr const char* kLogin = "AT_EMAIL_ADDR";  // 509
constexpr const char* kOther = "985";
constexpr const char* kExitCond = "986";
constexpr const char* kStartMode = "1207";
constexpr const char* kExitMode = "1208";
constexpr const char* kOtherAct = "1209";
constexpr const char* kFirstName = "AT_FIRST_NAME";  // 1243
}  // namespace at

// ---------------------------------------------------------------------------------------------
// The database held in memory until it is written.

/// A text in English (1033) and German (1031); language-independent values repeat the text.
struct Text {
    std::string en;
    std::string de;
    bool styled = false;  ///< written as a formatted StyledElement tree
};

struct Attr {
    const char* type;
    Text value;
};

struct GroupRec {
    int parent = -1;
    std::uint64_t guid[2] = {0, 0};
    std::vector<Attr> attrs;
    std::vector<int> children, objDefs, models;
};

struct ObjDefRec {
    const char* type;
    const char* symbol;
    int group;
    std::uint64_t guid[2] = {0, 0};
    std::vector<Attr> attrs;
    std::vector<int> out;     ///< connection definitions leaving this object
    std::vector<int> in;      ///< connection definitions arriving here
    std::vector<int> linked;  ///< assigned models
};

struct CxnDefRec {
    const char* type;
    int source;
    int target;
};

struct CxnOccRec {
    int cxnDef;
    int sourceOcc;  ///< occurrence indexes inside the model
    int targetOcc;
};

struct OccRec {
    int objDef;
    int x, y;
    std::vector<int> out;  ///< connection occurrences (model indexes) leaving this occurrence
    std::vector<int> in;
};

struct ModelRec {
    int group;
    const char* type;
    std::uint64_t guid[2] = {0, 0};
    std::vector<Attr> attrs;
    std::vector<OccRec> occs;
    std::vector<CxnOccRec> cxnOccs;
    std::unordered_map<int, int> occOfDef;  ///< object definition -> its occurrence here
    int occBase = 0;                        ///< number of the first occurrence in the file
    int cxnOccBase = 0;
    int sideRows[8] = {0, 0, 0, 0, 0, 0, 0, 0};
};

/// A connection's identity: source, target and type.
struct CxnKey {
    int source;
    int target;
    const char* type;
    bool operator==(const CxnKey&) const = default;
};
struct CxnKeyHash {
    std::size_t operator()(const CxnKey& k) const {
        std::uint64_t h = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(k.source)) << 32) ^
                          static_cast<std::uint32_t>(k.target);
        h ^= std::hash<const void*>()(k.type) + 0x9E3779B97F4A7C15ULL + (h << 6) + (h >> 2);
        return std::hash<std::uint64_t>()(h);
    }
};

struct Database {
    std::vector<GroupRec> groups;
    std::vector<ObjDefRec> objDefs;
    std::vector<CxnDefRec> cxnDefs;
    std::vector<ModelRec> models;
    std::unordered_map<CxnKey, int, CxnKeyHash> cxnIndex;
    int occCount = 0;
    int cxnOccCount = 0;
};

// Layout grid of a process model: staff, left branch, main line, right branch, data, programs.
constexpr int kColStaff = 0, kColLeft = 1, kColMain = 2, kColRight = 3, kColData = 4, kColProgram = 5;
constexpr int kCellWidth = 700, kCellHeight = 300, kMargin = 200;
constexpr int kBoxWidth = 450, kBoxHeight = 150;

// ---------------------------------------------------------------------------------------------
// Word lists for names in both languages.

struct Word {
    const char* en;
    const char* de;
};

const std::vector<Word> kVerbs = {{"Check", "prüfen"},        {"Approve", "genehmigen"},   {"Record", "erfassen"},
                                  {"Create", "anlegen"},      {"Send", "versenden"},       {"Review", "begutachten"},
                                  {"Archive", "archivieren"}, {"Plan", "planen"},          {"Release", "freigeben"},
                                  {"Post", "buchen"},         {"Update", "aktualisieren"}, {"Calculate", "berechnen"}};
const std::vector<Word> kParticiples = {
    {"checked", "geprüft"},      {"approved", "genehmigt"},   {"recorded", "erfasst"},     {"created", "angelegt"},
    {"sent", "versendet"},       {"reviewed", "begutachtet"}, {"archived", "archiviert"},  {"planned", "geplant"},
    {"released", "freigegeben"}, {"posted", "gebucht"},       {"updated", "aktualisiert"}, {"calculated", "berechnet"}};
const std::vector<Word> kNouns = {{"order", "Auftrag"},   {"invoice", "Rechnung"},   {"contract", "Vertrag"},
                                  {"claim", "Schaden"},   {"delivery", "Lieferung"}, {"offer", "Angebot"},
                                  {"payment", "Zahlung"}, {"request", "Anfrage"},    {"report", "Bericht"},
                                  {"account", "Konto"},   {"shipment", "Sendung"},   {"budget", "Budget"}};
const std::vector<Word> kFields = {{"amount", "Betrag"}, {"number", "Nummer"},    {"date", "Datum"},
                                   {"status", "Status"}, {"currency", "Währung"}, {"note", "Notiz"}};
const std::vector<const char*> kFieldTypes = {"Decimal (10,2)", "Integer", "Text", "Smallint", "Text", "Text"};
const std::vector<Word> kDomains = {{"Money", "Geld"}, {"Counter", "Zähler"}, {"Rate", "Satz"}, {"Code", "Kennung"}};
const std::vector<const char*> kDomainTypes = {"Number (12,2)", "Number (8)", "Float", "Hex"};
const std::vector<Word> kDepartments = {{"Sales", "Vertrieb"},         {"Purchasing", "Einkauf"},
                                        {"Finance", "Finanzen"},       {"Logistics", "Logistik"},
                                        {"Production", "Produktion"},  {"Human resources", "Personal"},
                                        {"IT services", "IT-Service"}, {"Quality", "Qualität"}};
const std::vector<Word> kRoles = {{"Clerk", "Sachbearbeiter"}, {"Approver", "Genehmiger"}, {"Controller", "Controller"},
                                  {"Dispatcher", "Disponent"}, {"Buyer", "Einkäufer"},     {"Auditor", "Prüfer"}};
const std::vector<const char*> kLastNames = {"Miller", "Schmidt", "Becker",   "Novak",  "Svoboda", "Fischer",
                                             "Weber",  "Wagner",  "Hoffmann", "Schulz", "Keller",  "Brown"};
const std::vector<const char*> kFirstNames = {"Anna",  "Jan", "Petra", "Karel", "Maria",
                                              "Lukas", "Eva", "Tomas", "Julia", "Martin"};

std::string Capitalized(const char* word) {
    std::string s = word;
    if (!s.empty() && s[0] >= 'a' && s[0] <= 'z') s[0] = static_cast<char>(s[0] - 'a' + 'A');
    return s;
}

std::string Num(long n) { return std::to_string(n); }

// ---------------------------------------------------------------------------------------------
// The shape of one process model, decided before it is built so that its size is known.

struct ModelPlan {
    int functions = 0;
    int andAt = -1;            ///< first function of the AND split/join block
    int xorAt = -1;            ///< first function of the XOR split/join block
    bool xorChain = false;     ///< the XOR join reaches its function through an OR rule
    bool loop = false;         ///< the last function loops back to the second one
    bool selfLoop = false;     ///< one function reads the data object it writes
    bool readsShared = false;  ///< the first function reads a shared structure
    int members = 0;           ///< members of the model's own entity type
    int variant = 0;           ///< 1: cluster with attribute type group; 2: relationship type
    std::vector<char> direct;  ///< per step i -> i+1: direct connection instead of an event
    int cost = 0;              ///< object definitions the model adds
};

/// Parameters of the database as a whole, scaled by the requested size.
struct Scale {
    int orgUnits, persons, roles, programs, sharedStructures, domains, unitNums;
    explicit Scale(long n)
        : orgUnits(static_cast<int>(std::max(6L, n / 400))),
          persons(static_cast<int>(std::max(6L, n / 100))),
          roles(static_cast<int>(std::max(3L, n / 300))),
          programs(static_cast<int>(std::max(3L, n / 250))),
          sharedStructures(static_cast<int>(std::max(2L, n / 500))),
          domains(static_cast<int>(std::max(2L, n / 5000))),
          unitNums(static_cast<int>(std::max(1L, n / 20000))) {}
};

constexpr int kFamiliesPerArea = 8;
constexpr int kModelsPerFamily = 4;  // top, two children, one grandchild
constexpr int kSharedMembers = 3;    // members of each shared structure

// The dense shape.
constexpr int kDenseModelsPerArea = 10;  // process models an area's overview model calls
constexpr int kDenseMinFunctions = 80;   // functions of one process model: 80 to 120
constexpr int kDenseMaxFunctions = 120;
constexpr int kDenseMembers = 3;  // members of each data structure of a process model

enum class Shape { Default, Dense };

/// The control flow of a dense process model, decided before it is built so that its size is known.
struct DensePlan {
    int functions = 0;
    /// Per function i, how it leads on: 'E' through an event to i + 1, 'D' directly to i + 1,
    /// 'A', 'X' or 'O' through an AND, XOR or OR split to i + 1 and i + 2, joined before i + 3;
    /// '.' for the branches of a split and the last function.
    std::string step;
    int cost = 0;  ///< object definitions the model adds
};

/// Partners named in the dense shape's names, with umlauts and sharp s.
const std::vector<const char*> kPartners = {"Müller", "Größe", "Süd", "Öztürk", "Bäcker", "Zürich", "Jörg", "Straße"};

// ---------------------------------------------------------------------------------------------

class Generator {
public:
    Generator(std::uint64_t seed, long objDefs, std::string dbName, Shape shape = Shape::Default)
        : rng_(seed),
          guidRng_(seed ^ 0x5EEDF00DCAFEULL),
          target_(objDefs),
          scale_(objDefs),
          dbName_(std::move(dbName)),
          shape_(shape) {}

    /// The smallest size that holds the shared objects and one overview model.
    long MinimumSize() const;
    /// Build the whole database in memory.
    void Build();
    void WriteAml(std::ostream& out) const;
    /// The selection of the overview models: "guid,name,13" items joined by ";".
    std::string Selection() const;
    const Database& Db() const { return db_; }
    std::size_t SelectedCount() const { return selected_.size(); }

private:
    // Items.
    int NewGroup(int parent, Text name, bool describe);
    int NewObjDef(const char* type, const char* symbol, int group, Text name);
    int NewModel(int group, Text name);
    void AddAttr(std::vector<Attr>& attrs, const char* type, Text value) { attrs.push_back({type, std::move(value)}); }
    void AddAttr(int objDef, const char* type, const std::string& value) {
        AddAttr(db_.objDefs[objDef].attrs, type, Text{value, value, false});
    }
    int Connect(int source, int target, const char* type);
    int Place(int model, int objDef, int col, int row);
    int PlaceSide(int model, int objDef, int col);
    /// Connect two objects and show the connection in the model (placing them when needed).
    void Flow(int model, int source, int target, const char* type);
    void NewGuid(std::uint64_t guid[2]);

    // Content.
    Text Description(const std::string& en, const std::string& de);
    void BuildGroups();
    void BuildStaff();
    void BuildPrograms();
    void BuildSharedData();
    int NewMember(int group, long serial, bool shared);
    ModelPlan MakePlan(int minFunctions);
    int BuildProcessModel(const ModelPlan& plan, int group, Text name);
    int NewFunction(int group);
    int NewEvent(int group);
    int NewRule(int group, const char* symbol);
    void AttachData(int model, int group, const ModelPlan& plan, const std::vector<int>& f);
    void AttachStaffAndPrograms(int model, const std::vector<int>& f);
    void BuildOrgChart();
    void BuildProcesses();
    void PadWithLooseData();
    void NumberOccurrences();

    // The dense shape.
    void Rename(int objDef, Text name) {
        db_.objDefs[static_cast<std::size_t>(objDef)].attrs.at(0).value = std::move(name);
    }
    Text DenseName(long serial, const std::string& en, const std::string& de);
    void RenameSharedObjectsDensely();
    DensePlan MakeDensePlan(int functions);
    int BuildDenseModel(const DensePlan& plan, int group, Text name);
    void AttachDenseData(int model, int group, const std::vector<int>& f);
    void AttachDenseStaff(int model, const std::vector<int>& f);
    void BuildDenseProcesses();

    Rng rng_;
    Rng guidRng_;
    long target_;
    Scale scale_;
    std::string dbName_;
    Shape shape_;
    Database db_;

    int root_ = 0, processesGroup_ = 0, orgGroup_ = 0, appGroup_ = 0, dataGroup_ = 0, looseGroup_ = 0;
    std::vector<int> orgUnits_, positions_, persons_, roles_, programs_, structures_, domains_, unitNums_;
    std::vector<int> selected_;                            ///< overview models
    std::vector<std::vector<int>> modelFunctions_;         ///< functions of each model, in flow order
    long serial_ = 0;                                      ///< running number in generated names
    long processModels_ = 0;                               ///< process models built so far
    long personLinks_ = 0, roleLinks_ = 0, orgLinks_ = 0;  ///< staff assignments made so far
    std::vector<int> denseFirstMembers_;                   ///< first member of each structure of the current model
};

void Generator::NewGuid(std::uint64_t guid[2]) {
    guid[0] = guidRng_.Next();
    guid[1] = guidRng_.Next();
}

int Generator::NewGroup(int parent, Text name, bool describe) {
    GroupRec g;
    g.parent = parent;
    NewGuid(g.guid);
    if (parent >= 0) {
        Text descr = Description("Folder " + name.en, "Ordner " + name.de);
        AddAttr(g.attrs, at::kName, std::move(name));
        if (describe) {
            AddAttr(g.attrs, at::kDesc, descr);
            AddAttr(g.attrs, at::kDoc, Text{"Maintained by the process office.", "Gepflegt vom Prozessbüro.", false});
        }
    }
    db_.groups.push_back(std::move(g));
    int id = static_cast<int>(db_.groups.size()) - 1;
    if (parent >= 0) db_.groups[parent].children.push_back(id);
    return id;
}

int Generator::NewObjDef(const char* type, const char* symbol, int group, Text name) {
    ObjDefRec d;
    d.type = type;
    d.symbol = symbol;
    d.group = group;
    NewGuid(d.guid);
    if (!name.en.empty()) AddAttr(d.attrs, at::kName, std::move(name));
    db_.objDefs.push_back(std::move(d));
    int id = static_cast<int>(db_.objDefs.size()) - 1;
    db_.groups[group].objDefs.push_back(id);
    return id;
}

int Generator::NewModel(int group, Text name) {
    ModelRec m;
    m.group = group;
    m.type = "MT_EEPC";
    NewGuid(m.guid);
    Text descr = Description("Process " + name.en, "Prozess " + name.de);
    AddAttr(m.attrs, at::kName, std::move(name));
    if (rng_.Chance(70)) AddAttr(m.attrs, at::kDesc, descr);
    if (rng_.Chance(40)) AddAttr(m.attrs, at::kDoc, Text{"See the process handbook.", "Siehe Prozesshandbuch.", false});
    if (rng_.Chance(10)) AddAttr(m.attrs, at::kOther, Text{"PRIORITY 3", "PRIORITY 3", false});
    db_.models.push_back(std::move(m));
    int id = static_cast<int>(db_.models.size()) - 1;
    db_.groups[group].models.push_back(id);
    modelFunctions_.emplace_back();
    return id;
}

int Generator::Connect(int source, int target, const char* type) {
    CxnKey key{source, target, type};
    auto it = db_.cxnIndex.find(key);
    if (it != db_.cxnIndex.end()) return it->second;
    db_.cxnDefs.push_back({type, source, target});
    int id = static_cast<int>(db_.cxnDefs.size()) - 1;
    db_.objDefs[source].out.push_back(id);
    db_.objDefs[target].in.push_back(id);
    db_.cxnIndex.emplace(key, id);
    return id;
}

int Generator::Place(int model, int objDef, int col, int row) {
    ModelRec& m = db_.models[model];
    auto it = m.occOfDef.find(objDef);
    if (it != m.occOfDef.end()) return it->second;
    OccRec o;
    o.objDef = objDef;
    o.x = kMargin + col * kCellWidth;
    o.y = kMargin + row * kCellHeight;
    m.occs.push_back(std::move(o));
    int id = static_cast<int>(m.occs.size()) - 1;
    m.occOfDef.emplace(objDef, id);
    return id;
}

int Generator::PlaceSide(int model, int objDef, int col) {
    ModelRec& m = db_.models[model];
    auto it = m.occOfDef.find(objDef);
    if (it != m.occOfDef.end()) return it->second;
    return Place(model, objDef, col, m.sideRows[col]++);
}

void Generator::Flow(int model, int source, int target, const char* type) {
    int cxn = Connect(source, target, type);
    ModelRec& m = db_.models[model];
    auto s = m.occOfDef.find(source);
    auto t = m.occOfDef.find(target);
    if (s == m.occOfDef.end() || t == m.occOfDef.end()) {
        std::fprintf(stderr, "amlgen: internal error: connection between objects not placed\n");
        std::exit(70);
    }
    m.cxnOccs.push_back({cxn, s->second, t->second});
    int id = static_cast<int>(m.cxnOccs.size()) - 1;
    m.occs[s->second].out.push_back(id);
    m.occs[t->second].in.push_back(id);
}

Text Generator::Description(const std::string& en, const std::string& de) {
    // Every fourth description is formatted text of two paragraphs, as ARIS 10 writes it.
    bool styled = rng_.Chance(25);
    if (styled) return Text{en + "\nOwner: process office", de + "\nVerantwortlich: Prozessbüro", true};
    return Text{en + ".", de + ".", false};
}

// ---------------------------------------------------------------------------------------------

void Generator::BuildGroups() {
    root_ = NewGroup(-1, {}, false);
    processesGroup_ = NewGroup(root_, {"Processes", "Prozesse"}, true);
    orgGroup_ = NewGroup(root_, {"Organization", "Organisation"}, true);
    appGroup_ = NewGroup(root_, {"Applications", "Anwendungen"}, true);
    dataGroup_ = NewGroup(root_, {"Data", "Daten"}, true);
    looseGroup_ = NewGroup(dataGroup_, {"Unused fields", "Ungenutzte Felder"}, false);
}

void Generator::BuildStaff() {
    for (int i = 0; i < scale_.orgUnits; ++i) {
        const Word& dep = kDepartments[static_cast<std::size_t>(i) % kDepartments.size()];
        std::string n = Num(i + 1);
        int o = NewObjDef(ot::kOrgUnit, st::kOrgUnit, orgGroup_,
                          {std::string(dep.en) + " " + n, std::string(dep.de) + " " + n});
        if (rng_.Chance(50))
            AddAttr(db_.objDefs[o].attrs, at::kDesc,
                    Description(std::string("Department ") + dep.en, std::string("Abteilung ") + dep.de));
        orgUnits_.push_back(o);
    }
    for (int i = 0; i < scale_.orgUnits; ++i) {
        const Word& dep = kDepartments[static_cast<std::size_t>(i) % kDepartments.size()];
        std::string n = Num(i + 1);
        positions_.push_back(
            NewObjDef(ot::kPosition, st::kPosition, orgGroup_,
                      {"Head of " + std::string(dep.en) + " " + n, "Leitung " + std::string(dep.de) + " " + n}));
    }
    for (int i = 0; i < scale_.persons; ++i) {
        const char* last = kLastNames[static_cast<std::size_t>(i) % kLastNames.size()];
        const char* first = kFirstNames[static_cast<std::size_t>(i / 3) % kFirstNames.size()];
        std::string n = Num(i + 1);
        std::string name = std::string(last) + " " + first + " " + n;
        int p = NewObjDef(ot::kPerson, st::kPerson, orgGroup_, {name, name});
        std::string login = std::string(1, static_cast<char>(first[0] - 'A' + 'a')) + last + n;
        for (char& c : login) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        if (rng_.Chance(70)) AddAttr(p, at::kLogin, login + "@example.com");
        AddAttr(p, at::kFirstName, first);
        AddAttr(p, at::kPhone, "+49 30 " + Num(1000000 + i));
        if (rng_.Chance(30)) AddAttr(p, at::kPhone2, "+49 171 " + Num(2000000 + i));
        if (rng_.Chance(30))
            AddAttr(db_.objDefs[p].attrs, at::kDesc, Description("Employee " + name, "Mitarbeiter " + name));
        if (rng_.Chance(10)) AddAttr(p, at::kOther, "LEVEL 3");
        persons_.push_back(p);
    }
    for (int i = 0; i < scale_.roles; ++i) {
        const Word& r = kRoles[static_cast<std::size_t>(i) % kRoles.size()];
        std::string n = Num(i + 1);
        int o = NewObjDef(ot::kRole, st::kRole, orgGroup_, {std::string(r.en) + " " + n, std::string(r.de) + " " + n});
        if (rng_.Chance(40))
            AddAttr(db_.objDefs[o].attrs, at::kDesc,
                    Description(std::string("Role ") + r.en, std::string("Rolle ") + r.de));
        roles_.push_back(o);
    }

    // Organization tree: each unit below a parent, through the various superior connections.
    const char* parentTypes[] = {ct::kDiscSuperior, ct::kTechSuperior, ct::kOrgParentOther, ct::kOrgParentTech,
                                 ct::kComposedOf};
    for (int i = 1; i < scale_.orgUnits; ++i)
        Connect(orgUnits_[static_cast<std::size_t>((i - 1) / 3)], orgUnits_[static_cast<std::size_t>(i)],
                parentTypes[i % 5]);
    // Members, managers (directly or through an occupied position), roles, coordinators, substitutes.
    for (int j = 0; j < scale_.persons; ++j) {
        int person = persons_[static_cast<std::size_t>(j)];
        Connect(person, orgUnits_[static_cast<std::size_t>(j % scale_.orgUnits)], ct::kMemberOfOrg);
        Connect(person, roles_[static_cast<std::size_t>(j % scale_.roles)], ct::kHasRole);
        if (j % 5 == 0) Connect(person, roles_[static_cast<std::size_t>((j / 5) % scale_.roles)], ct::kHasRole);
        if (j % 4 == 0 && j + 1 < scale_.persons)
            Connect(person, persons_[static_cast<std::size_t>(j + 1)], ct::kSubstitutes);
    }
    for (int i = 0; i < scale_.orgUnits; ++i) {
        int org = orgUnits_[static_cast<std::size_t>(i)];
        int pos = positions_[static_cast<std::size_t>(i)];
        int occupant = persons_[static_cast<std::size_t>((i * 7) % scale_.persons)];
        Connect(occupant, pos, ct::kOccupies);
        if (i % 2 == 0) {
            Connect(pos, org, ct::kDiscSuperior);
        } else {
            Connect(pos, org, ct::kTechSuperior);
            Connect(occupant, org, ct::kManages);
        }
        if (i % 7 == 3) Connect(persons_[static_cast<std::size_t>((i * 7 + 1) % scale_.persons)], org, ct::kManages);
    }
    for (int i = 0; i < scale_.roles; i += 2)
        Connect(persons_[static_cast<std::size_t>((i * 3 + 2) % scale_.persons)], roles_[static_cast<std::size_t>(i)],
                ct::kManages);
}

void Generator::BuildPrograms() {
    for (int i = 0; i < scale_.programs; ++i) {
        const Word& noun = kNouns[static_cast<std::size_t>(i) % kNouns.size()];
        std::string n = Num(i + 1);
        int kind = i % 3;
        int p;
        if (kind == 0)
            p = NewObjDef(ot::kApplSys, st::kApplSys, appGroup_,
                          {Capitalized(noun.en) + " system " + n, std::string("System ") + noun.de + " " + n});
        else if (kind == 1)
            p = NewObjDef(
                ot::kItFunc, st::kItFunc, appGroup_,
                {Capitalized(noun.en) + " transaction " + n, std::string("Transaktion ") + noun.de + " " + n});
        else
            p = NewObjDef(ot::kModule, st::kModule, appGroup_,
                          {Capitalized(noun.en) + " module " + n, std::string("Modul ") + noun.de + " " + n});
        if (rng_.Chance(50))
            AddAttr(db_.objDefs[p].attrs, at::kDesc,
                    Description("Application for " + std::string(noun.en), "Anwendung für " + std::string(noun.de)));
        if (rng_.Chance(30)) AddAttr(p, at::kDoc, "Operated by IT services.");
        if (rng_.Chance(10)) AddAttr(p, at::kOther, "PATH 'bin/app" + n + "'");
        programs_.push_back(p);
    }
}

int Generator::NewMember(int group, long serial, bool shared) {
    std::size_t f = static_cast<std::size_t>(rng_.Below(static_cast<int>(kFields.size())));
    const Word& noun = kNouns[static_cast<std::size_t>(serial) % kNouns.size()];
    std::string n = Num(serial);
    int m = NewObjDef(
        ot::kErmAttr, f == 1 ? st::kKeyAttr : st::kErmAttr, group,
        {Capitalized(noun.en) + " " + kFields[f].en + " " + n, std::string(kFields[f].de) + " " + noun.de + " " + n});
    int kind = rng_.Below(10);
    if (kind < 5) AddAttr(m, at::kDataType, kFieldTypes[f]);
    else if (kind < 8 && !domains_.empty()) Connect(m, rng_.Pick(domains_), ct::kHasDomain);
    else if (!unitNums_.empty()) Connect(m, rng_.Pick(unitNums_), ct::kHasDomain);
    if (rng_.Chance(10)) AddAttr(m, at::kOther, rng_.Chance(80) ? "10" : "ten");
    if (rng_.Chance(40))
        AddAttr(db_.objDefs[m].attrs, at::kDesc,
                Description("Field " + std::string(kFields[f].en), "Feld " + std::string(kFields[f].de)));
    if (shared && rng_.Chance(20)) AddAttr(m, at::kDoc, "Shared field.");
    return m;
}

void Generator::BuildSharedData() {
    for (int i = 0; i < scale_.domains; ++i) {
        std::size_t k = static_cast<std::size_t>(i) % kDomains.size();
        std::string n = Num(i + 1);
        int d = NewObjDef(
            ot::kDomain, st::kDomain, dataGroup_,
            {std::string("Domain ") + kDomains[k].en + " " + n, std::string("Domäne ") + kDomains[k].de + " " + n});
        AddAttr(d, at::kDomType, kDomainTypes[k]);
        domains_.push_back(d);
    }
    for (int i = 0; i < scale_.unitNums; ++i) {
        std::string n = Num(i + 1);
        int u = NewObjDef(ot::kUnitNum, nullptr, dataGroup_, {"Unit EUR " + n, "Einheit EUR " + n});
        Connect(u, domains_[static_cast<std::size_t>(i) % domains_.size()], ct::kHasDomain);
        unitNums_.push_back(u);
    }
    const char* memberTypes[] = {ct::kPrimaryKey, ct::kDescribes, ct::kForeignKey};
    for (int i = 0; i < scale_.sharedStructures; ++i) {
        const Word& noun = kNouns[static_cast<std::size_t>(i) % kNouns.size()];
        std::string n = Num(i + 1);
        int s = NewObjDef(ot::kEntity, st::kEntity, dataGroup_,
                          {Capitalized(noun.en) + " master " + n, std::string("Stammdaten ") + noun.de + " " + n});
        AddAttr(db_.objDefs[s].attrs, at::kDesc,
                Description("Master data of " + std::string(noun.en), "Stammdaten " + std::string(noun.de)));
        for (int k = 0; k < kSharedMembers; ++k) Connect(NewMember(dataGroup_, ++serial_, true), s, memberTypes[k % 3]);
        structures_.push_back(s);
    }
    // Programs read and write the shared structures.
    for (std::size_t i = 0; i < programs_.size(); ++i) {
        int p = programs_[i];
        int s = structures_[i % structures_.size()];
        const char* type = db_.objDefs[p].type;
        if (type == ot::kItFunc) Connect(p, s, ct::kItUses);
        else Connect(p, s, ct::kCanUse);
        if (type == ot::kApplSys && i % 4 == 0)
            Connect(structures_[(i + 1) % structures_.size()], p, ct::kProgramReads);
    }
}

// ---------------------------------------------------------------------------------------------
// Process models.

ModelPlan Generator::MakePlan(int minFunctions) {
    // The first three process models carry every variant, so that even the smallest database
    // shows each construct; later models draw them at random.
    const int ordinal = static_cast<int>(processModels_);
    ModelPlan p;
    p.functions = std::max(ordinal == 0 ? 9 : minFunctions, 6 + rng_.Below(7));
    const int F = p.functions;
    p.andAt = rng_.Below(2);
    if (F >= 9 && (ordinal == 0 || rng_.Chance(60))) {
        int first = p.andAt + 3, last = F - 4;
        if (first <= last) p.xorAt = ordinal == 0 ? first : first + rng_.Below(last - first + 1);
    }
    p.xorChain = p.xorAt >= 0 && (ordinal == 0 || rng_.Chance(50));
    p.loop = ordinal == 1 || rng_.Chance(12);
    p.selfLoop = ordinal == 2 || rng_.Chance(6);
    p.readsShared = ordinal == 0 || rng_.Chance(50);
    p.members = 2 + rng_.Below(3);
    p.variant = ordinal < 3 ? ordinal : rng_.Below(3);
    p.direct.assign(static_cast<std::size_t>(F), 0);
    for (int i = 0; i < F; ++i) p.direct[static_cast<std::size_t>(i)] = rng_.Chance(10) ? 1 : 0;
    if (ordinal == 0) p.direct[static_cast<std::size_t>(F - 2)] = 1;

    int events = 2 + (p.loop ? 1 : 0);
    int rules = 0;
    for (int i = 0; i < F - 1;) {
        if (i == p.andAt) {
            events += 2;
            rules += 2;
            i += 3;
            continue;
        }
        if (i == p.xorAt) {
            events += 4;
            rules += 2 + (p.xorChain ? 1 : 0);
            i += 3;
            continue;
        }
        if (!p.direct[static_cast<std::size_t>(i)]) ++events;
        ++i;
    }
    int data = 1 /*input*/ + 1 /*entity*/ + p.members + 1 /*output*/ + (F >= 4 ? 1 : 0) + (p.selfLoop ? 1 : 0);
    if (p.variant == 1) data += 4;  // cluster, attribute type group and its two members
    if (p.variant == 2) data += 3;  // relationship type and its two members
    p.cost = F + events + rules + data;
    return p;
}

int Generator::NewFunction(int group) {
    const Word& verb = rng_.Pick(kVerbs);
    const Word& noun = rng_.Pick(kNouns);
    std::string n = Num(++serial_);
    int f = NewObjDef(ot::kFunc, st::kFunc, group,
                      {std::string(verb.en) + " " + noun.en + " " + n, std::string(noun.de) + " " + verb.de + " " + n});
    ObjDefRec& d = db_.objDefs[f];
    if (rng_.Chance(60))
        AddAttr(d.attrs, at::kDesc,
                Description(std::string(verb.en) + " the " + noun.en, std::string(noun.de) + " " + verb.de));
    if (rng_.Chance(30)) AddAttr(f, at::kDoc, "Work instruction " + n + ".");
    if (rng_.Chance(5)) AddAttr(f, at::kOther, "ALL CONNECTORS");
    if (rng_.Chance(5)) AddAttr(f, at::kExitCond, "RC = 0");
    if (rng_.Chance(10)) AddAttr(f, at::kStartMode, "AUTOMATIC");
    if (rng_.Chance(10)) AddAttr(f, at::kExitMode, "MANUAL");
    if (rng_.Chance(5)) AddAttr(f, at::kOtherAct, "PRIORITY 5");
    return f;
}

int Generator::NewEvent(int group) {
    const Word& part = rng_.Pick(kParticiples);
    const Word& noun = rng_.Pick(kNouns);
    std::string n = Num(++serial_);
    int e = NewObjDef(ot::kEvent, st::kEvent, group,
                      {Capitalized(noun.en) + " " + part.en + " " + n, std::string(noun.de) + " " + part.de + " " + n});
    if (rng_.Chance(30))
        AddAttr(db_.objDefs[e].attrs, at::kDesc,
                Description(Capitalized(noun.en) + " is " + part.en, std::string(noun.de) + " ist " + part.de));
    return e;
}

int Generator::NewRule(int group, const char* symbol) {
    // ARIS rules carry no name.
    int r = NewObjDef(ot::kRule, symbol, group, {});
    if (rng_.Chance(10))
        AddAttr(db_.objDefs[r].attrs, at::kDesc, Text{"Joins the branches.", "Führt die Zweige zusammen.", false});
    return r;
}

int Generator::BuildProcessModel(const ModelPlan& plan, int group, Text name) {
    const std::size_t before = db_.objDefs.size();
    int model = NewModel(group, std::move(name));
    const int F = plan.functions;
    std::vector<int> f(static_cast<std::size_t>(F), -1);
    auto fn = [&](int i) -> int& { return f[static_cast<std::size_t>(i)]; };
    int row = 0;

    int start = NewEvent(group);
    Place(model, start, kColMain, row++);
    fn(0) = NewFunction(group);
    Place(model, fn(0), kColMain, row++);
    Flow(model, start, fn(0), ct::kActivates);

    for (int i = 0; i < F - 1;) {
        if (i == plan.andAt) {
            // AND split and AND join: the joining function waits for both branches.
            int split = NewRule(group, st::kAnd);
            Place(model, split, kColMain, row++);
            Flow(model, fn(i), split, ct::kLeadsTo1);
            fn(i + 1) = NewFunction(group);
            fn(i + 2) = NewFunction(group);
            Place(model, fn(i + 1), kColLeft, row);
            Place(model, fn(i + 2), kColRight, row++);
            Flow(model, split, fn(i + 1), ct::kActivates);
            Flow(model, split, fn(i + 2), ct::kActivates);
            int e1 = NewEvent(group), e2 = NewEvent(group);
            Place(model, e1, kColLeft, row);
            Place(model, e2, kColRight, row++);
            Flow(model, fn(i + 1), e1, ct::kCreates);
            Flow(model, fn(i + 2), e2, ct::kCreates);
            int join = NewRule(group, st::kAnd);
            Place(model, join, kColMain, row++);
            Flow(model, e1, join, ct::kEvaluatedBy);
            Flow(model, e2, join, ct::kEvaluatedBy);
            fn(i + 3) = NewFunction(group);
            Place(model, fn(i + 3), kColMain, row++);
            Flow(model, join, fn(i + 3), ct::kActivates);
            i += 3;
            continue;
        }
        if (i == plan.xorAt) {
            // XOR split into two conditional events; XOR join, optionally through an OR rule.
            int split = NewRule(group, st::kXor);
            Place(model, split, kColMain, row++);
            Flow(model, fn(i), split, ct::kLeadsTo1);
            int ea = NewEvent(group), eb = NewEvent(group);
            AddAttr(ea, at::kOther, "Amount > 1000");
            AddAttr(eb, at::kOther, "Amount <= 1000");
            Place(model, ea, kColLeft, row);
            Place(model, eb, kColRight, row++);
            Flow(model, split, ea, ct::kLeadsTo2);
            Flow(model, split, eb, ct::kLeadsTo2);
            fn(i + 1) = NewFunction(group);
            fn(i + 2) = NewFunction(group);
            Place(model, fn(i + 1), kColLeft, row);
            Place(model, fn(i + 2), kColRight, row++);
            Flow(model, ea, fn(i + 1), ct::kActivates);
            Flow(model, eb, fn(i + 2), ct::kActivates);
            int ec = NewEvent(group), ed = NewEvent(group);
            Place(model, ec, kColLeft, row);
            Place(model, ed, kColRight, row++);
            Flow(model, fn(i + 1), ec, ct::kCreates);
            Flow(model, fn(i + 2), ed, ct::kCreates);
            int join = NewRule(group, st::kXor);
            Place(model, join, kColMain, row++);
            Flow(model, ec, join, ct::kEvaluatedBy);
            Flow(model, ed, join, ct::kEvaluatedBy);
            int last = join;
            if (plan.xorChain) {
                int chained = NewRule(group, st::kOr);
                Place(model, chained, kColMain, row++);
                Flow(model, join, chained, ct::kLinks);
                last = chained;
            }
            fn(i + 3) = NewFunction(group);
            Place(model, fn(i + 3), kColMain, row++);
            Flow(model, last, fn(i + 3), ct::kActivates);
            i += 3;
            continue;
        }
        fn(i + 1) = NewFunction(group);
        if (plan.direct[static_cast<std::size_t>(i)]) {
            Place(model, fn(i + 1), kColMain, row++);
            Flow(model, fn(i), fn(i + 1), ct::kPredecessor);
        } else {
            int e = NewEvent(group);
            Place(model, e, kColMain, row++);
            Place(model, fn(i + 1), kColMain, row++);
            Flow(model, fn(i), e, ct::kCreates);
            Flow(model, e, fn(i + 1), ct::kActivates);
        }
        ++i;
    }
    int end = NewEvent(group);
    Place(model, end, kColMain, row++);
    Flow(model, fn(F - 1), end, ct::kCreates);
    if (plan.loop) {
        // Rework loop back to the second function, with conditions on both exits.
        int again = NewEvent(group);
        AddAttr(again, at::kOther, "Rework = 1");
        AddAttr(end, at::kOther, "Rework = 0");
        Place(model, again, kColRight, row++);
        Flow(model, fn(F - 1), again, ct::kCreates);
        Flow(model, again, fn(1), ct::kActivates);
    }
    AttachData(model, group, plan, f);
    AttachStaffAndPrograms(model, f);
    modelFunctions_[static_cast<std::size_t>(model)] = f;
    ++processModels_;

    long made = static_cast<long>(db_.objDefs.size() - before);
    if (made != plan.cost) {
        std::fprintf(stderr, "amlgen: internal error: model planned with %d objects, built %ld\n", plan.cost, made);
        std::exit(70);
    }
    return model;
}

void Generator::AttachData(int model, int group, const ModelPlan& plan, const std::vector<int>& f) {
    const int F = plan.functions;
    auto fn = [&](int i) { return f[static_cast<std::size_t>(i)]; };
    const Word& noun = rng_.Pick(kNouns);
    std::string n = Num(++serial_);

    // The model's own entity type with its members: written by the first function, read by the second.
    int entity = NewObjDef(ot::kEntity, st::kEntity, group,
                           {Capitalized(noun.en) + " record " + n, std::string("Datensatz ") + noun.de + " " + n});
    if (rng_.Chance(50))
        AddAttr(db_.objDefs[entity].attrs, at::kDesc,
                Description("Data of the " + std::string(noun.en), "Daten " + std::string(noun.de)));
    if (rng_.Chance(30)) AddAttr(entity, at::kDoc, "Kept for ten years.");
    PlaceSide(model, entity, kColData);
    const char* memberTypes[] = {ct::kPrimaryKey, ct::kDescribes, ct::kForeignKey, ct::kDescribes};
    std::vector<int> members;
    for (int k = 0; k < plan.members; ++k) {
        int m = NewMember(group, ++serial_, false);
        PlaceSide(model, m, kColData);
        Flow(model, m, entity, memberTypes[k % 4]);
        members.push_back(m);
    }
    Flow(model, fn(0), entity, ct::kHasOutput);
    Flow(model, entity, fn(1), ct::kInputFor);

    // A loose input of the process, possibly with a shared structure beside it.
    int input = NewMember(group, ++serial_, false);
    PlaceSide(model, input, kColData);
    Flow(model, input, fn(0), ct::kInputFor);
    if (plan.readsShared) {
        int shared = rng_.Pick(structures_);
        PlaceSide(model, shared, kColData);
        Flow(model, shared, fn(0), ct::kInputFor);
    }
    // An information flow between two functions.
    if (F >= 4) {
        int info = NewObjDef(ot::kInfoFlow, st::kInfoFlow, group, {"Notice " + n, "Mitteilung " + n});
        PlaceSide(model, info, kColData);
        Flow(model, fn(2), info, ct::kSends);
        Flow(model, info, fn(3), ct::kReceived);
    }
    // A loose output of the process.
    int output = NewMember(group, ++serial_, false);
    PlaceSide(model, output, kColData);
    Flow(model, fn(F - 1), output, ct::kHasOutput);
    if (plan.selfLoop) {
        int scratch = NewMember(group, ++serial_, false);
        PlaceSide(model, scratch, kColData);
        Flow(model, fn(F - 2), scratch, ct::kHasOutput);
        Flow(model, scratch, fn(F - 2), ct::kInputFor);
    }
    if (plan.variant == 1) {
        // A cluster holding the entity type and an attribute type group: nested structures.
        int cluster = NewObjDef(ot::kCluster, st::kCluster, group, {"Data cluster " + n, "Datencluster " + n});
        int attrGroup =
            NewObjDef(ot::kAttrGroup, st::kAttrGroup, group, {"Attribute group " + n, "Attributgruppe " + n});
        PlaceSide(model, cluster, kColData);
        PlaceSide(model, attrGroup, kColData);
        for (int k = 0; k < 2; ++k) {
            int m = NewMember(group, ++serial_, false);
            PlaceSide(model, m, kColData);
            Flow(model, m, attrGroup, ct::kGroupMember);
        }
        Flow(model, attrGroup, entity, ct::kGroupOf);
        Flow(model, cluster, entity, ct::kClusterHas);
        Flow(model, cluster, attrGroup, ct::kClusterHas);
        Flow(model, cluster, fn(F - 3), ct::kInputFor);
    } else if (plan.variant == 2) {
        int relation = NewObjDef(ot::kRelation, st::kRelation, group, {"Assignment " + n, "Zuordnung " + n});
        PlaceSide(model, relation, kColData);
        for (int k = 0; k < 2; ++k) {
            int m = NewMember(group, ++serial_, false);
            PlaceSide(model, m, kColData);
            Flow(model, m, relation, k == 0 ? ct::kPrimaryKey : ct::kDescribes);
        }
        Flow(model, relation, fn(F - 2), ct::kInputFor);
    }

    // Events compared with data: the first event that follows a function and leads to one.
    const char* compareTypes[] = {ct::kComparedWith, ct::kComparedWith2, ct::kComparedWith3};
    const char* operators[] = {">=", "!=", "="};
    const char* values[] = {"100", "open", "0"};
    ModelRec& m = db_.models[model];
    for (const OccRec& occ : m.occs) {
        const ObjDefRec& d = db_.objDefs[static_cast<std::size_t>(occ.objDef)];
        if (d.type != ot::kEvent || d.in.empty() || d.out.empty()) continue;
        bool plainEvent = true;
        for (const Attr& a : d.attrs) plainEvent = plainEvent && a.type != at::kOther;
        if (!plainEvent) continue;
        int k = static_cast<int>(processModels_ % 3);
        int event = occ.objDef;
        AddAttr(event, at::kCompareOp, operators[k]);
        AddAttr(event, at::kCompareValue, values[k]);
        Flow(model, members[0], event, compareTypes[k]);
        break;
    }
}

void Generator::AttachStaffAndPrograms(int model, const std::vector<int>& f) {
    // Every fifth assignment of a kind uses the kind's second connection type.
    for (int func : f) {
        int kind = rng_.Below(10);
        if (kind < 4 || kind == 9) {
            int person = rng_.Pick(persons_);
            PlaceSide(model, person, kColStaff);
            Flow(model, person, func, ++personLinks_ % 5 ? ct::kExecutes : ct::kTechResp);
        }
        if ((kind >= 4 && kind < 7) || kind == 9) {
            int role = rng_.Pick(roles_);
            PlaceSide(model, role, kColStaff);
            Flow(model, role, func, ++roleLinks_ % 5 ? ct::kCarriesOut : ct::kLaneStep);
        }
        if (kind == 7 || kind == 8) {
            int org = rng_.Pick(orgUnits_);
            PlaceSide(model, org, kColStaff);
            Flow(model, org, func, ++orgLinks_ % 5 ? ct::kExecutes : ct::kTechResp);
        }
        int programs = rng_.Chance(60) ? (rng_.Chance(15) ? 2 : 1) : 0;
        int previous = -1;
        for (int k = 0; k < programs; ++k) {
            int program = rng_.Pick(programs_);
            if (program == previous) continue;
            previous = program;
            PlaceSide(model, program, kColProgram);
            Flow(model, program, func, db_.objDefs[program].type == ot::kItFunc ? ct::kSupportsIt : ct::kSupports);
        }
    }
}

void Generator::BuildOrgChart() {
    int model = NewModel(orgGroup_, {"Organizational chart", "Organigramm"});
    db_.models[model].type = "MT_ORG_CHRT";
    for (std::size_t i = 0; i < orgUnits_.size(); ++i) {
        Place(model, orgUnits_[i], 2 * static_cast<int>(i % 6), static_cast<int>(i / 6) * 3);
        Place(model, positions_[i], 2 * static_cast<int>(i % 6) + 1, static_cast<int>(i / 6) * 3);
    }
    int rowBase = (static_cast<int>(orgUnits_.size()) + 5) / 6 * 3;
    for (std::size_t i = 0; i < persons_.size(); ++i)
        Place(model, persons_[i], static_cast<int>(i % 12), rowBase + static_cast<int>(i / 12));
    rowBase += (static_cast<int>(persons_.size()) + 11) / 12;
    for (std::size_t i = 0; i < roles_.size(); ++i)
        Place(model, roles_[i], static_cast<int>(i % 12), rowBase + static_cast<int>(i / 12));
    // Show every connection among the staff objects.
    std::vector<int> staff;
    for (auto* list : {&orgUnits_, &positions_, &persons_, &roles_})
        staff.insert(staff.end(), list->begin(), list->end());
    for (int def : staff)
        for (int cxn : std::vector<int>(db_.objDefs[static_cast<std::size_t>(def)].out)) {
            const CxnDefRec& c = db_.cxnDefs[static_cast<std::size_t>(cxn)];
            const char* type = db_.objDefs[static_cast<std::size_t>(c.target)].type;
            if (type == ot::kOrgUnit || type == ot::kPosition || type == ot::kPerson || type == ot::kRole)
                Flow(model, c.source, c.target, c.type);
        }
}

void Generator::BuildProcesses() {
    long remaining = target_ - static_cast<long>(db_.objDefs.size());
    bool full = false;
    for (int area = 1; !full; ++area) {
        std::string n = Num(area);
        int areaGroup = NewGroup(processesGroup_, {"Area " + n, "Bereich " + n}, true);
        int subGroup = NewGroup(areaGroup, {"Sub-processes " + n, "Teilprozesse " + n}, area % 2 == 0);
        ModelPlan overviewPlan = MakePlan(kFamiliesPerArea + 2);
        if (overviewPlan.cost > remaining) break;
        remaining -= overviewPlan.cost;
        int overview =
            BuildProcessModel(overviewPlan, areaGroup, {"Area " + n + " overview", "Bereich " + n + " Übersicht"});
        selected_.push_back(overview);

        int previousGrandchild = -1;
        for (int family = 0; family < kFamiliesPerArea && !full; ++family) {
            int members[kModelsPerFamily] = {-1, -1, -1, -1};
            for (int p = 0; p < kModelsPerFamily; ++p) {
                ModelPlan plan = MakePlan(6);
                if (plan.cost > remaining) {
                    full = true;
                    break;
                }
                remaining -= plan.cost;
                const Word& noun = rng_.Pick(kNouns);
                std::string mn = Num(static_cast<long>(db_.models.size()) + 1);
                Text name = p == 0 ? Text{Capitalized(noun.en) + " handling " + mn,
                                          "Bearbeitung " + std::string(noun.de) + " " + mn, false}
                                   : Text{Capitalized(noun.en) + " step " + mn,
                                          "Schritt " + std::string(noun.de) + " " + mn, false};
                members[p] = BuildProcessModel(plan, p == 0 ? areaGroup : subGroup, std::move(name));
            }
            // Process activities: overview -> top; top -> both children; first child -> grandchild;
            // every third top also calls the previous family's grandchild, which two processes then share.
            auto link = [&](int parent, int index, int child) {
                if (parent < 0 || child < 0) return;
                const std::vector<int>& fs = modelFunctions_[static_cast<std::size_t>(parent)];
                db_.objDefs[static_cast<std::size_t>(fs[static_cast<std::size_t>(index)])].linked.push_back(child);
            };
            const std::vector<int>& ofs = modelFunctions_[static_cast<std::size_t>(overview)];
            link(overview, family % static_cast<int>(ofs.size()), members[0]);
            if (members[0] >= 0) {
                int tf = static_cast<int>(modelFunctions_[static_cast<std::size_t>(members[0])].size());
                link(members[0], 1, members[1]);
                link(members[0], tf - 2, members[2]);
                if (family % 3 == 2) link(members[0], 3, previousGrandchild);
            }
            link(members[1], 2, members[3]);
            previousGrandchild = members[3];
        }
    }
}

// ---------------------------------------------------------------------------------------------
// The dense shape: large process models in which every function is connected to data objects,
// rules, events and staff, under names the export has to convert.

/// A generated name without its trailing running number ("Order amount 12" -> "Order amount").
std::string WithoutSerial(const std::string& name) {
    std::size_t end = name.size();
    while (end > 0 && name[end - 1] >= '0' && name[end - 1] <= '9') --end;
    if (end == name.size() || end == 0 || name[end - 1] != ' ') return name;
    return name.substr(0, end - 1);
}

Text Generator::DenseName(long serial, const std::string& en, const std::string& de) {
    // A leading chapter number ("4.1234") whose running number keeps the names apart even where
    // a conversion replaces the first digit or cuts the name short; then dots, quotes, doubled
    // blanks and umlauts, which every naming convention changes.
    const std::string s = Num(1 + rng_.Below(9)) + "." + Num(serial);
    const std::string partner = rng_.Pick(kPartners);
    const std::string k = Num(rng_.Below(10));
    switch (rng_.Below(4)) {
        case 0: return {s + " " + en + " '" + partner + "'", s + " " + de + " '" + partner + "'", false};
        case 1:
            return {s + ". " + en + " \"" + partner + "\" v1." + k, s + ". " + de + " \"" + partner + "\" v1." + k,
                    false};
        case 2: return {s + " " + en + " - " + partner, s + " " + de + " - " + partner, false};
        default: return {s + "  " + en + " (" + partner + "'s)", s + "  " + de + " (" + partner + "s)", false};
    }
}

void Generator::RenameSharedObjectsDensely() {
    for (const std::vector<int>* list : {&orgUnits_, &roles_, &programs_, &structures_})
        for (int def : *list) {
            const Text& name = db_.objDefs[static_cast<std::size_t>(def)].attrs.at(0).value;
            Rename(def, DenseName(++serial_, WithoutSerial(name.en), WithoutSerial(name.de)));
        }
}

DensePlan Generator::MakeDensePlan(int functions) {
    DensePlan p;
    p.functions = functions;
    p.step.assign(static_cast<std::size_t>(functions), '.');
    const char kinds[] = {'X', 'A', 'O'};
    int blocks = rng_.Below(3);
    int events = 2, rules = 0, flows = 0;
    for (int i = 0; i < functions - 1;) {
        if (i >= 1 && i + 3 <= functions - 1 && rng_.Chance(25)) {
            char kind = kinds[blocks++ % 3];
            p.step[static_cast<std::size_t>(i)] = kind;
            events += kind == 'A' ? 2 : 4;
            rules += 2;
            i += 3;
            continue;
        }
        bool direct = rng_.Chance(8);
        p.step[static_cast<std::size_t>(i)] = direct ? 'D' : 'E';
        events += direct ? 0 : 1;
        ++i;
    }
    for (int i = 0; i + 1 < functions; ++i) flows += i % 5 == 4 ? 1 : 0;
    const int structures = (functions + 1) / 2;
    p.cost = functions + events + rules + structures * (1 + kDenseMembers) + functions /*own inputs*/ + flows;
    return p;
}

int Generator::BuildDenseModel(const DensePlan& plan, int group, Text name) {
    const std::size_t before = db_.objDefs.size();
    int model = NewModel(group, std::move(name));
    const int F = plan.functions;
    std::vector<int> f(static_cast<std::size_t>(F), -1);
    auto fn = [&](int i) -> int& { return f[static_cast<std::size_t>(i)]; };
    auto function = [&](int i) {
        fn(i) = NewFunction(group);
        const Word& verb = rng_.Pick(kVerbs);
        const Word& noun = rng_.Pick(kNouns);
        Rename(fn(i), DenseName(serial_, std::string(verb.en) + " " + noun.en, std::string(noun.de) + " " + verb.de));
        return fn(i);
    };
    auto event = [&]() {
        int e = NewEvent(group);
        const Word& part = rng_.Pick(kParticiples);
        const Word& noun = rng_.Pick(kNouns);
        Rename(e, DenseName(serial_, Capitalized(noun.en) + " " + part.en, std::string(noun.de) + " " + part.de));
        return e;
    };
    int row = 0;
    std::vector<std::pair<int, int>> plainEvents;  // (function before it, event)

    int start = event();
    Place(model, start, kColMain, row++);
    Place(model, function(0), kColMain, row++);
    Flow(model, start, fn(0), ct::kActivates);
    for (int i = 0; i < F - 1;) {
        const char kind = plan.step[static_cast<std::size_t>(i)];
        if (kind == 'A' || kind == 'X' || kind == 'O') {
            // Split after function i into i + 1 and i + 2, joined by a rule of the same kind
            // before i + 3; the branches of XOR and OR splits start at conditional events.
            const char* symbol = kind == 'A' ? st::kAnd : kind == 'X' ? st::kXor : st::kOr;
            int split = NewRule(group, symbol);
            Place(model, split, kColMain, row++);
            Flow(model, fn(i), split, ct::kLeadsTo1);
            function(i + 1);
            function(i + 2);
            if (kind == 'A') {
                Place(model, fn(i + 1), kColLeft, row);
                Place(model, fn(i + 2), kColRight, row++);
                Flow(model, split, fn(i + 1), ct::kActivates);
                Flow(model, split, fn(i + 2), ct::kActivates);
            } else {
                int ea = event(), eb = event();
                AddAttr(ea, at::kOther, kind == 'X' ? "Amount > 1000" : "Express != 0");
                AddAttr(eb, at::kOther, kind == 'X' ? "Amount <= 1000" : "Amount > 5000");
                Place(model, ea, kColLeft, row);
                Place(model, eb, kColRight, row++);
                Flow(model, split, ea, ct::kLeadsTo2);
                Flow(model, split, eb, ct::kLeadsTo2);
                Place(model, fn(i + 1), kColLeft, row);
                Place(model, fn(i + 2), kColRight, row++);
                Flow(model, ea, fn(i + 1), ct::kActivates);
                Flow(model, eb, fn(i + 2), ct::kActivates);
            }
            int ec = event(), ed = event();
            Place(model, ec, kColLeft, row);
            Place(model, ed, kColRight, row++);
            Flow(model, fn(i + 1), ec, ct::kCreates);
            Flow(model, fn(i + 2), ed, ct::kCreates);
            int join = NewRule(group, symbol);
            Place(model, join, kColMain, row++);
            Flow(model, ec, join, ct::kEvaluatedBy);
            Flow(model, ed, join, ct::kEvaluatedBy);
            Place(model, function(i + 3), kColMain, row++);
            Flow(model, join, fn(i + 3), ct::kActivates);
            i += 3;
            continue;
        }
        function(i + 1);
        if (kind == 'D') {
            Place(model, fn(i + 1), kColMain, row++);
            Flow(model, fn(i), fn(i + 1), ct::kPredecessor);
        } else {
            int e = event();
            Place(model, e, kColMain, row++);
            Place(model, fn(i + 1), kColMain, row++);
            Flow(model, fn(i), e, ct::kCreates);
            Flow(model, e, fn(i + 1), ct::kActivates);
            plainEvents.emplace_back(i, e);
        }
        ++i;
    }
    int end = event();
    Place(model, end, kColMain, row++);
    Flow(model, fn(F - 1), end, ct::kCreates);

    AttachDenseData(model, group, f);
    // Every eighth plain event is compared with the first member of the data its function wrote.
    const char* compareTypes[] = {ct::kComparedWith, ct::kComparedWith2, ct::kComparedWith3};
    const char* operators[] = {">=", "!=", "="};
    const char* values[] = {"100", "open", "0"};
    for (std::size_t k = 0; k < plainEvents.size(); k += 8) {
        auto [i, e] = plainEvents[k];
        int c = static_cast<int>(k / 8 % 3);
        AddAttr(e, at::kCompareOp, operators[c]);
        AddAttr(e, at::kCompareValue, values[c]);
        Flow(model, denseFirstMembers_[static_cast<std::size_t>(i / 2)], e, compareTypes[c]);
    }
    AttachDenseStaff(model, f);
    modelFunctions_[static_cast<std::size_t>(model)] = f;
    ++processModels_;

    long made = static_cast<long>(db_.objDefs.size() - before);
    if (made != plan.cost) {
        std::fprintf(stderr, "amlgen: internal error: model planned with %d objects, built %ld\n", plan.cost, made);
        std::exit(70);
    }
    return model;
}

void Generator::AttachDenseData(int model, int group, const std::vector<int>& f) {
    const int F = static_cast<int>(f.size());
    auto fn = [&](int i) { return f[static_cast<std::size_t>(i)]; };
    auto member = [&]() {
        int m = NewMember(group, ++serial_, false);
        const Text& name = db_.objDefs[static_cast<std::size_t>(m)].attrs.at(0).value;
        Rename(m, DenseName(serial_, WithoutSerial(name.en), WithoutSerial(name.de)));
        PlaceSide(model, m, kColData);
        return m;
    };

    // One data structure with members for every two functions: both write it, the next two read it.
    const char* memberTypes[] = {ct::kPrimaryKey, ct::kDescribes, ct::kForeignKey};
    std::vector<int> structures;
    denseFirstMembers_.clear();
    for (int k = 0; k < (F + 1) / 2; ++k) {
        const Word& noun = rng_.Pick(kNouns);
        int s = NewObjDef(ot::kEntity, st::kEntity, group,
                          DenseName(++serial_, Capitalized(noun.en) + " record", std::string("Datensatz ") + noun.de));
        if (rng_.Chance(40))
            AddAttr(db_.objDefs[s].attrs, at::kDesc,
                    Description("Data of the " + std::string(noun.en), "Daten " + std::string(noun.de)));
        PlaceSide(model, s, kColData);
        for (int j = 0; j < kDenseMembers; ++j) {
            int m = member();
            Flow(model, m, s, memberTypes[j]);
            if (j == 0) denseFirstMembers_.push_back(m);
        }
        structures.push_back(s);
    }
    auto structure = [&](int k) { return structures[static_cast<std::size_t>(k)]; };
    for (int i = 0; i < F; ++i) {
        Flow(model, fn(i), structure(i / 2), ct::kHasOutput);
        if (i >= 2) Flow(model, structure(i / 2 - 1), fn(i), ct::kInputFor);
        // Every third function also reads an older structure of the model.
        if (i >= 4 && i % 3 == 2) Flow(model, structure(rng_.Below(i / 2 - 1)), fn(i), ct::kInputFor);
        Flow(model, member(), fn(i), ct::kInputFor);
        if (i % 5 == 4 && i + 1 < F) {
            int info = NewObjDef(ot::kInfoFlow, st::kInfoFlow, group, DenseName(++serial_, "Notice", "Mitteilung"));
            PlaceSide(model, info, kColData);
            Flow(model, fn(i), info, ct::kSends);
            Flow(model, info, fn(i + 1), ct::kReceived);
        }
        if (i % 10 == 0) {
            int shared = rng_.Pick(structures_);
            PlaceSide(model, shared, kColData);
            Flow(model, shared, fn(i), ct::kInputFor);
        }
    }
}

void Generator::AttachDenseStaff(int model, const std::vector<int>& f) {
    // A role and a person for every function, an organizational unit for every second one, and
    // a program for about half of them; every fifth assignment of a kind uses its second type.
    for (std::size_t i = 0; i < f.size(); ++i) {
        int func = f[i];
        int role = rng_.Pick(roles_);
        PlaceSide(model, role, kColStaff);
        Flow(model, role, func, ++roleLinks_ % 5 ? ct::kCarriesOut : ct::kLaneStep);
        int person = rng_.Pick(persons_);
        PlaceSide(model, person, kColStaff);
        Flow(model, person, func, ++personLinks_ % 5 ? ct::kExecutes : ct::kTechResp);
        if (i % 2 == 0) {
            int org = rng_.Pick(orgUnits_);
            PlaceSide(model, org, kColStaff);
            Flow(model, org, func, ++orgLinks_ % 5 ? ct::kExecutes : ct::kTechResp);
        }
        if (rng_.Chance(50)) {
            int program = rng_.Pick(programs_);
            PlaceSide(model, program, kColProgram);
            Flow(model, program, func,
                 db_.objDefs[static_cast<std::size_t>(program)].type == ot::kItFunc ? ct::kSupportsIt : ct::kSupports);
        }
    }
}

void Generator::BuildDenseProcesses() {
    // Each area: an overview model whose functions call the area's process models, one each.
    long remaining = target_ - static_cast<long>(db_.objDefs.size());
    bool full = false;
    for (int area = 1; !full; ++area) {
        DensePlan overviewPlan = MakeDensePlan(kDenseModelsPerArea);
        if (overviewPlan.cost > remaining) break;
        remaining -= overviewPlan.cost;
        std::string n = Num(area);
        int areaGroup = NewGroup(processesGroup_, {"Area " + n, "Bereich " + n}, true);
        int subGroup = NewGroup(areaGroup, {"Sub-processes " + n, "Teilprozesse " + n}, false);
        int overview = BuildDenseModel(overviewPlan, areaGroup,
                                       {"Area " + n + ". overview 'Süd'", "Bereich " + n + ". Übersicht 'Süd'", false});
        selected_.push_back(overview);
        const std::vector<int> calls = modelFunctions_[static_cast<std::size_t>(overview)];
        for (int k = 0; k < kDenseModelsPerArea; ++k) {
            DensePlan plan =
                MakeDensePlan(kDenseMinFunctions + rng_.Below(kDenseMaxFunctions - kDenseMinFunctions + 1));
            if (plan.cost > remaining) {
                full = true;
                break;
            }
            remaining -= plan.cost;
            const Word& noun = rng_.Pick(kNouns);
            long number = static_cast<long>(db_.models.size()) + 1;
            int model = BuildDenseModel(
                plan, subGroup,
                DenseName(number, Capitalized(noun.en) + " handling", "Bearbeitung " + std::string(noun.de)));
            db_.objDefs[static_cast<std::size_t>(calls[static_cast<std::size_t>(k)])].linked.push_back(model);
        }
    }
}

void Generator::PadWithLooseData() {
    while (static_cast<long>(db_.objDefs.size()) < target_) NewMember(looseGroup_, ++serial_, false);
}

long Generator::MinimumSize() const {
    // Shared objects plus the largest possible overview model; in the dense shape also the
    // largest possible process model (a function brings fewer than eight objects with it).
    long shared = 2L * scale_.orgUnits + scale_.persons + scale_.roles + scale_.programs + scale_.domains +
                  scale_.unitNums + scale_.sharedStructures * (1L + kSharedMembers);
    if (shape_ == Shape::Dense) return shared + (8L * kDenseModelsPerArea + 4) + (8L * kDenseMaxFunctions + 4);
    return shared + 80;
}

void Generator::Build() {
    BuildGroups();
    BuildStaff();
    BuildPrograms();
    BuildSharedData();
    if (shape_ == Shape::Dense) RenameSharedObjectsDensely();
    BuildOrgChart();
    if (shape_ == Shape::Dense) BuildDenseProcesses();
    else BuildProcesses();
    PadWithLooseData();
    NumberOccurrences();
}

void Generator::NumberOccurrences() {
    // Occurrences are numbered across the file, model by model.
    for (ModelRec& m : db_.models) {
        m.occBase = db_.occCount;
        m.cxnOccBase = db_.cxnOccCount;
        db_.occCount += static_cast<int>(m.occs.size());
        db_.cxnOccCount += static_cast<int>(m.cxnOccs.size());
    }
}

// ---------------------------------------------------------------------------------------------
// Writing the AML file.

std::string FormatGuid(const std::uint64_t g[2]) {
    char b[40];
    std::snprintf(b, sizeof b, "%08x-%04x-%04x-%04x-%012llx", static_cast<unsigned>(g[0] >> 32),
                  static_cast<unsigned>((g[0] >> 16) & 0xFFFF), static_cast<unsigned>(g[0] & 0xFFFF),
                  static_cast<unsigned>(g[1] >> 48), static_cast<unsigned long long>(g[1] & 0xFFFFFFFFFFFFULL));
    return b;
}

class AmlWriter {
public:
    AmlWriter(const Database& db, std::string dbName) : db_(db), dbName_(std::move(dbName)) {}
    void Write(std::ostream& out);

private:
    void Line(int depth, const std::string& text) {
        buf_.append(static_cast<std::size_t>(depth), '\t');
        buf_ += text;
        buf_ += '\n';
        if (buf_.size() > (1u << 20)) Flush();
    }
    void Flush() {
        out_->write(buf_.data(), static_cast<std::streamsize>(buf_.size()));
        buf_.clear();
    }
    static std::string Escape(const std::string& s);
    static std::string Id(const char* prefix, long n);
    void WriteAttrs(int depth, const std::vector<Attr>& attrs);
    void WriteValue(int depth, const char* locale, const std::string& text, bool styled);
    void WriteGroup(int depth, int group);
    void WriteObjDef(int depth, int def);
    void WriteModel(int depth, int model);

    const Database& db_;
    std::string dbName_;
    std::string buf_;
    std::ostream* out_ = nullptr;
};

std::string AmlWriter::Escape(const std::string& s) {
    std::string r;
    r.reserve(s.size());
    for (char c : s) {
        switch (c) {
            case '&': r += "&amp;"; break;
            case '<': r += "&lt;"; break;
            case '>': r += "&gt;"; break;
            case '"': r += "&quot;"; break;
            case '\'': r += "&apos;"; break;
            default: r += c;
        }
    }
    return r;
}

std::string AmlWriter::Id(const char* prefix, long n) {
    static const char digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string s;
    do {
        s.insert(s.begin(), digits[n % 36]);
        n /= 36;
    } while (n > 0);
    return std::string(prefix) + ".g" + s + "-b";
}

void AmlWriter::WriteValue(int depth, const char* locale, const std::string& text, bool styled) {
    std::string head = std::string("<AttrValue LocaleId=\"&LocaleId.") + locale + ";\">";
    if (!styled) {
        Line(depth, head + Escape(text) + "</AttrValue>");
        return;
    }
    Line(depth, head);
    Line(depth + 1, "<StyledElement>");
    Line(depth + 2, "<SizeElement Value=\"10\"/>");
    std::size_t start = 0;
    while (true) {
        std::size_t nl = text.find('\n', start);
        std::string part = text.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
        Line(depth + 2, "<StyledElement>");
        Line(depth + 3, "<Paragraph Alignment=\"LEFT\" Indent=\"0\"/>");
        Line(depth + 3, "<StyledElement><PlainText TextValue=\"" + Escape(part) + "\"/></StyledElement>");
        Line(depth + 2, "</StyledElement>");
        if (nl == std::string::npos) break;
        start = nl + 1;
    }
    Line(depth + 1, "</StyledElement>");
    Line(depth, "</AttrValue>");
}

void AmlWriter::WriteAttrs(int depth, const std::vector<Attr>& attrs) {
    for (const Attr& a : attrs) {
        Line(depth, std::string("<AttrDef AttrDef.Type=\"") + a.type + "\">");
        WriteValue(depth + 1, "USen", a.value.en, a.value.styled);
        WriteValue(depth + 1, "DEde", a.value.de, a.value.styled);
        Line(depth, "</AttrDef>");
    }
}

constexpr const char* kStamp = "12:00:00.000;01/15/2024";

void AmlWriter::WriteObjDef(int depth, int def) {
    const ObjDefRec& d = db_.objDefs[static_cast<std::size_t>(def)];
    std::string head = "<ObjDef ObjDef.ID=\"" + Id("ObjDef", def) + "\" TypeNum=\"" + d.type + "\"";
    if (d.symbol) head += std::string(" SymbolNum=\"") + d.symbol + "\"";
    if (!d.linked.empty()) {
        head += " LinkedModels.IdRefs=\"";
        for (int m : d.linked) head += Id("Model", m) + " ";
        head += "\"";
    }
    if (!d.in.empty()) {
        head += " ToCxnDefs.IdRefs=\"";
        for (std::size_t i = 0; i < d.in.size(); ++i) head += (i ? " " : "") + Id("CxnDef", d.in[i]);
        head += "\"";
    }
    head += std::string(" LastUpdated=\"") + kStamp + "\">";
    Line(depth, head);
    Line(depth + 1, "<GUID>" + FormatGuid(d.guid) + "</GUID>");
    WriteAttrs(depth + 1, d.attrs);
    for (int cxn : d.out) {
        const CxnDefRec& c = db_.cxnDefs[static_cast<std::size_t>(cxn)];
        Line(depth + 1, "<CxnDef CxnDef.ID=\"" + Id("CxnDef", cxn) + "\" CxnDef.Type=\"" + c.type +
                            "\" ToObjDef.IdRef=\"" + Id("ObjDef", c.target) + "\" LastUpdated=\"" + kStamp + "\"/>");
    }
    Line(depth, "</ObjDef>");
}

void AmlWriter::WriteModel(int depth, int model) {
    const ModelRec& m = db_.models[static_cast<std::size_t>(model)];
    Line(depth, "<Model Model.ID=\"" + Id("Model", model) + "\" Model.Type=\"" + m.type +
                    "\" AttrHandling=\"1\" CxnMode=\"1\" GridUse=\"1\" GridSize=\"5\" LastUpdated=\"" + kStamp + "\">");
    Line(depth + 1, "<GUID>" + FormatGuid(m.guid) + "</GUID>");
    WriteAttrs(depth + 1, m.attrs);
    for (std::size_t i = 0; i < m.occs.size(); ++i) {
        const OccRec& o = m.occs[i];
        const ObjDefRec& d = db_.objDefs[static_cast<std::size_t>(o.objDef)];
        std::string head = "<ObjOcc ObjOcc.ID=\"" + Id("ObjOcc", m.occBase + static_cast<long>(i)) +
                           "\" ObjDef.IdRef=\"" + Id("ObjDef", o.objDef) + "\"";
        if (d.symbol) head += std::string(" SymbolNum=\"") + d.symbol + "\"";
        if (!o.in.empty()) {
            head += " ToCxnOccs.IdRefs=\"";
            for (std::size_t k = 0; k < o.in.size(); ++k) head += (k ? " " : "") + Id("CxnOcc", m.cxnOccBase + o.in[k]);
            head += "\"";
        }
        Line(depth + 1, head + " Zorder=\"" + std::to_string(i + 1) + "\" Active=\"YES\" Visible=\"YES\">");
        Line(depth + 2, "<Position Pos.X=\"" + std::to_string(o.x) + "\" Pos.Y=\"" + std::to_string(o.y) + "\"/>");
        Line(depth + 2,
             "<Size Size.dX=\"" + std::to_string(kBoxWidth) + "\" Size.dY=\"" + std::to_string(kBoxHeight) + "\"/>");
        for (int c : o.out) {
            const CxnOccRec& co = m.cxnOccs[static_cast<std::size_t>(c)];
            const OccRec& t = m.occs[static_cast<std::size_t>(co.targetOcc)];
            Line(depth + 2, "<CxnOcc CxnOcc.ID=\"" + Id("CxnOcc", m.cxnOccBase + c) + "\" CxnDef.IdRef=\"" +
                                Id("CxnDef", co.cxnDef) + "\" ToObjOcc.IdRef=\"" +
                                Id("ObjOcc", m.occBase + co.targetOcc) + "\" Active=\"YES\" Visible=\"YES\">");
            Line(depth + 3, "<Position Pos.X=\"" + std::to_string(o.x + kBoxWidth / 2) + "\" Pos.Y=\"" +
                                std::to_string(o.y + kBoxHeight) + "\"/>");
            Line(depth + 3, "<Position Pos.X=\"" + std::to_string(t.x + kBoxWidth / 2) + "\" Pos.Y=\"" +
                                std::to_string(t.y) + "\"/>");
            Line(depth + 2, "</CxnOcc>");
        }
        if (d.attrs.size() && d.attrs[0].type == at::kName)
            Line(depth + 2, "<AttrOcc AttrTypeNum=\"AT_NAME\" Port=\"CENTER\" OrderNum=\"0\" SymbolFlag=\"TEXT\"/>");
        Line(depth + 1, "</ObjOcc>");
    }
    Line(depth, "</Model>");
}

void AmlWriter::WriteGroup(int depth, int group) {
    const GroupRec& g = db_.groups[static_cast<std::size_t>(group)];
    if (g.parent < 0) {
        Line(depth, "<Group Group.ID=\"Group.Root\">");
    } else {
        Line(depth,
             "<Group Group.ID=\"" + Id("Group", group) + "\" TypeNum=\"OT_GROUP\" LastUpdated=\"" + kStamp + "\">");
        Line(depth + 1, "<GUID>" + FormatGuid(g.guid) + "</GUID>");
        WriteAttrs(depth + 1, g.attrs);
    }
    for (int child : g.children) WriteGroup(depth + 1, child);
    for (int def : g.objDefs) WriteObjDef(depth + 1, def);
    for (int model : g.models) WriteModel(depth + 1, model);
    Line(depth, "</Group>");
}

void AmlWriter::Write(std::ostream& out) {
    out_ = &out;
    Line(0, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
    Line(0, "<!DOCTYPE AML SYSTEM \"ARIS-Export.dtd\" [");
    Line(1, "<!ENTITY LocaleId.DEde \"1031\">");
    Line(1, "<!ENTITY Codepage.DEde \"1252\">");
    Line(1, "<!ENTITY LocaleId.USen \"1033\">");
    Line(1, "<!ENTITY Codepage.USen \"1252\">");
    Line(0, "]>");
    Line(0, "<!-- generated by amlgen -->");
    Line(0, "<AML>");
    Line(1, "<Header-Info CreateTime=\"12:00:00.000\" CreateDate=\"01-15-2024\" DatabaseName=\"" + Escape(dbName_) +
                "\" UserName=\"bench\" ArisExeVersion=\"100\"/>");
    for (const char* loc : {"DEde", "USen"}) {
        Line(1, std::string("<Language LocaleId=\"&LocaleId.") + loc + ";\" Codepage=\"&Codepage." + loc + ";\">");
        Line(2,
             "<LogFont FaceName=\"Arial\" Height=\"-13\" Width=\"0\" Escapement=\"0\" Orientation=\"0\" Weight=\"400\" "
             "Italic=\"NO\" Underline=\"NO\" StrikeOut=\"NO\" CharSet=\"0\" OutPrecision=\"3\" ClipPrecision=\"2\" "
             "Quality=\"1\" PitchAndFamily=\"34\" Color=\"0\"/>");
        Line(1, "</Language>");
    }
    WriteGroup(1, 0);
    Line(0, "</AML>");
    Flush();
}

void Generator::WriteAml(std::ostream& out) const { AmlWriter(db_, dbName_).Write(out); }

std::string Generator::Selection() const {
    std::string s;
    for (int model : selected_) {
        const ModelRec& m = db_.models[static_cast<std::size_t>(model)];
        if (!s.empty()) s += ';';
        s += FormatGuid(m.guid) + "," + m.attrs[0].value.en + ",13";
    }
    return s;
}

// ---------------------------------------------------------------------------------------------

int Usage(const char* message) {
    if (message) std::fprintf(stderr, "amlgen: %s\n", message);
    std::fprintf(stderr,
                 "usage: amlgen --objdefs N --seed S --out FILE.xml [--sel FILE.sel] [--name DBNAME] [--shape SHAPE]\n"
                 "  Writes an ARIS database of exactly N object definitions as an AML export.\n"
                 "  The selection of its overview process models goes to standard output, or to --sel.\n"
                 "  --shape default: process families of small eEPC models (the default);\n"
                 "  --shape dense: large eEPC models, every function connected to data, rules and staff,\n"
                 "                 under names the export converts, so that its log is large.\n");
    return 64;
}

bool ParseNumber(const char* text, long& value) {
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || v < 0) return false;
    value = v;
    return true;
}

std::string StemOf(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::size_t dot = name.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

}  // namespace

int main(int argc, char** argv) {
    long objDefs = -1, seed = 1;
    std::string out, sel, name;
    Shape shape = Shape::Default;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        const char* v = nullptr;
        if (a == "--help" || a == "-h") return Usage(nullptr), 0;
        if (a == "--objdefs" || a == "--seed" || a == "--out" || a == "--sel" || a == "--name" || a == "--shape") {
            v = value();
            if (!v) return Usage(("missing value after " + a).c_str());
        }
        if (a == "--objdefs") {
            if (!ParseNumber(v, objDefs)) return Usage(("not a size: " + std::string(v)).c_str());
        } else if (a == "--seed") {
            if (!ParseNumber(v, seed)) return Usage(("not a seed: " + std::string(v)).c_str());
        } else if (a == "--out") {
            out = v;
        } else if (a == "--sel") {
            sel = v;
        } else if (a == "--name") {
            name = v;
        } else if (a == "--shape") {
            if (std::string(v) == "default") shape = Shape::Default;
            else if (std::string(v) == "dense") shape = Shape::Dense;
            else return Usage(("unknown shape: " + std::string(v) + " (default or dense)").c_str());
        } else {
            return Usage(("unknown argument: " + a).c_str());
        }
    }
    if (objDefs < 0 || out.empty()) return Usage("--objdefs and --out are required");
    if (name.empty()) name = StemOf(out);

    Generator gen(static_cast<std::uint64_t>(seed), objDefs, name, shape);
    if (objDefs < gen.MinimumSize()) {
        std::fprintf(stderr, "amlgen: --objdefs %ld is too small: at least %ld are needed\n", objDefs,
                     gen.MinimumSize());
        return 64;
    }
    gen.Build();

    std::ofstream file(out, std::ios::binary | std::ios::trunc);
    if (!file) {
        std::fprintf(stderr, "amlgen: cannot write %s: %s\n", out.c_str(), std::strerror(errno));
        return 73;
    }
    gen.WriteAml(file);
    file.close();
    if (!file) {
        std::fprintf(stderr, "amlgen: writing %s failed\n", out.c_str());
        return 74;
    }

    std::string selection = gen.Selection();
    if (sel.empty()) {
        std::cout << selection << '\n';
    } else {
        std::ofstream s(sel, std::ios::binary | std::ios::trunc);
        s << selection << '\n';
        if (!s) {
            std::fprintf(stderr, "amlgen: cannot write %s\n", sel.c_str());
            return 73;
        }
    }
    const Database& db = gen.Db();
    std::fprintf(stderr,
                 "amlgen: %s: %zu object definitions, %zu connections, %zu models (%zu selected), %d occurrences\n",
                 out.c_str(), db.objDefs.size(), db.cxnDefs.size(), db.models.size(), gen.SelectedCount(), db.occCount);
    return 0;
}
