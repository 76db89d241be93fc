#pragma once
// The repository of the local ARIS server: one database read from an AML export, with its
// groups, models, object definitions, occurrences, connections and attributes. The reader fills
// the items and links them; BuildIndexes then indexes them once so that every automation call
// answers in constant or output-proportional time.
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "aris/Automation.h"
#include "aris/TypeTable.h"

namespace aris::repo {

class DatabaseImpl;
class GroupImpl;
class ModelImpl;
class ObjDefImpl;
class CxnDefImpl;

/// One value of an attribute: for one locale, or for every locale without a value of its own.
struct AttrValue {
    bool hasLocale = false;
    LocaleId locale = 0;
    std::string text;
};

/// One attribute of an item with its values.
struct AttrRecord {
    const TypeInfo* type = nullptr;
    std::vector<AttrValue> values;
    /// The value for a locale: its own, else the value without locale, else nullptr.
    const std::string* ValueFor(LocaleId loc) const;
};

/// The attributes of one item, in file order.
class Attributes {
public:
    /// Add the values of one attribute; values of a type already present join it, and a value
    /// for a locale already present (or a second value without locale) replaces the earlier one.
    void Add(const TypeInfo* type, std::vector<AttrValue> values);
    /// The value of an attribute type in a locale, nullptr when not maintained there.
    const std::string* Value(int typeNum, LocaleId loc) const;
    /// Every attribute with a value in the locale, in file order.
    std::vector<Attribute> List(LocaleId loc) const;
    const std::vector<AttrRecord>& Records() const { return records_; }

private:
    AttrRecord& RecordOf(const TypeInfo* type);

    std::vector<AttrRecord> records_;
    // Record positions by type, kept once an item has many attributes so that reading an
    // export stays linear in its size.
    std::unique_ptr<std::unordered_map<const TypeInfo*, std::size_t>> index_;
};

/// What every repository item holds: id, GUID, type and attributes.
template <class Interface>
class ItemBase : public Interface {
public:
    std::string Guid() const override { return guid.empty() ? id : guid; }
    std::string Name(LocaleId loc) const override {
        const std::string* value = attrs.Value(kNameAttributeType, loc);
        return value ? *value : std::string();
    }
    std::string TypeName(LocaleId loc) const override { return type ? type->DisplayName(loc) : std::string(); }
    Attribute GetAttribute(int attrType, LocaleId loc) const override {
        const std::string* value = attrs.Value(attrType, loc);
        return value ? Attribute(attrType, *value) : Attribute(attrType, std::nullopt);
    }
    std::vector<Attribute> AttrList(LocaleId loc) const override { return attrs.List(loc); }

    std::string id;    ///< the AML id (ObjDef.ID and the like)
    std::string guid;  ///< the GUID element's text, empty when absent
    const TypeInfo* type = nullptr;
    Attributes attrs;
};

class GroupImpl final : public ItemBase<Group> {
public:
    std::string TypeName(LocaleId loc) const override;
    const Group* Parent() const override { return parent; }

    const GroupImpl* parent = nullptr;
};

class ModelImpl final : public ItemBase<Model> {
public:
    const aris::Group* Group() const override { return group; }
    int TypeNum() const override { return type->number; }
    std::vector<const ObjDef*> ObjDefList(int objType, LocaleId loc) const override;
    std::vector<const Occurrence*> OccList() const override { return occs; }

    const DatabaseImpl* db = nullptr;
    const GroupImpl* group = nullptr;
    std::vector<const Occurrence*> occs;  ///< object occurrences in file order
};

class ObjDefImpl final : public ItemBase<ObjDef> {
public:
    int TypeNum() const override { return type->number; }
    const aris::Group* Group() const override { return group; }
    std::vector<const Occurrence*> OccList() const override { return occs; }
    std::vector<const Occurrence*> OccListInModel(const Model* model) const override;
    std::vector<const Model*> AssignedModels() const override { return assignedModels; }
    std::vector<const CxnDef*> CxnList(int direction, LocaleId loc, int cxnType) const override;

    const DatabaseImpl* db = nullptr;
    const GroupImpl* group = nullptr;
    const TypeInfo* defaultSymbol = nullptr;  ///< SymbolNum of the definition, may be null
    std::vector<const Occurrence*> occs;
    std::vector<const Model*> assignedModels;
};

class CxnDefImpl final : public ItemBase<CxnDef> {
public:
    int TypeNum() const override { return type->number; }
    const ObjDef* SourceObjDef() const override { return source; }
    const ObjDef* TargetObjDef() const override { return target; }
    std::vector<const Occurrence*> OccList() const override { return occs; }

    const ObjDefImpl* source = nullptr;
    const ObjDefImpl* target = nullptr;  ///< null when the reference could not be resolved
    std::size_t order = 0;  ///< position among the connections in file order
    std::vector<const Occurrence*> occs;
    std::vector<const Model*> assignedModels;
};

/// A placement of an object definition in a model.
class ObjOccImpl final : public Occurrence {
public:
    int X() const override { return x; }
    int Y() const override { return y; }
    int SymbolNum() const override;
    const aris::Model* Model() const override { return model; }
    const aris::ObjDef* ObjDef() const override { return objDef; }

    int x = 0;
    int y = 0;
    const TypeInfo* symbol = nullptr;
    ModelImpl* model = nullptr;
    ObjDefImpl* objDef = nullptr;
};

/// A placement of a connection in a model; its position is the first point of its route.
class CxnOccImpl final : public Occurrence {
public:
    int X() const override { return x; }
    int Y() const override { return y; }
    int SymbolNum() const override { return 0; }
    const aris::Model* Model() const override { return model; }
    const aris::ObjDef* ObjDef() const override { return nullptr; }

    int x = 0;
    int y = 0;
    const ModelImpl* model = nullptr;
    CxnDefImpl* cxnDef = nullptr;
};

/// One open database: owns every item and the indexes over them.
class DatabaseImpl final : public ItemBase<Database> {
public:
    explicit DatabaseImpl(std::unique_ptr<TypeCatalog> catalog);
    std::string TypeName(LocaleId loc) const override;
    std::string Name(LocaleId loc) const override;
    std::string ServerName() const override { return serverName; }
    std::string LoginUserName(LocaleId) const override { return loginUser; }
    std::vector<const Model*> FindModels(int modelType, LocaleId loc, const std::string& name) const override;
    std::vector<const Model*> AllModels() const override { return modelList_; }
    std::vector<LocaleId> Locales() const override { return locales; }

    /// Index the linked items; called once after the reader has filled the database.
    void BuildIndexes();

    /// The occurrences of a definition in a model, in file order.
    std::vector<const Occurrence*> OccurrencesIn(const ObjDefImpl* objDef, const Model* model) const;
    /// The definitions of a type that occur in a model, in the order of their first occurrence.
    std::vector<const ObjDef*> ObjDefsIn(const ModelImpl* model, int objType) const;
    /// The connections of a definition by direction bits and type, in file order.
    std::vector<const CxnDef*> Connections(const ObjDefImpl* objDef, int direction, int cxnType) const;

    TypeCatalog& Catalog() { return *catalog_; }

    std::string name;        ///< the database's name (its file name without extension)
    std::string serverName;  ///< the server's name
    std::string loginUser;   ///< the login user's name
    std::vector<LocaleId> locales;

    // Items, filled by the reader. Only linked items take part in the indexes: the reader
    // leaves out occurrences and connections whose references it could not resolve.
    std::deque<GroupImpl> groups;
    std::deque<ModelImpl> models;
    std::deque<ObjDefImpl> objDefs;
    std::deque<CxnDefImpl> cxnDefs;  ///< every connection read, linked or not
    std::deque<ObjOccImpl> objOccs;  ///< linked object occurrences in file order
    std::deque<CxnOccImpl> cxnOccs;  ///< linked connection occurrences in file order

private:
    struct PairKey {
        const void* item;
        const void* other;
        int number;
        bool operator==(const PairKey&) const = default;
    };
    struct PairKeyHash {
        std::size_t operator()(const PairKey& k) const;
    };
    struct NameKey {
        int type;
        std::string name;
        bool operator==(const NameKey&) const = default;
    };
    struct NameKeyHash {
        std::size_t operator()(const NameKey& k) const;
    };

    void IndexOccurrences();
    void IndexConnections();
    void IndexModelNames();

    std::unique_ptr<TypeCatalog> catalog_;
    std::vector<const Model*> modelList_;
    // (definition, model) -> occurrences
    std::unordered_map<PairKey, std::vector<const Occurrence*>, PairKeyHash> occsByDefAndModel_;
    // (model, object type) -> definitions in order of first occurrence
    std::unordered_map<PairKey, std::vector<const ObjDef*>, PairKeyHash> defsByModelAndType_;
    // (definition, connection type) -> outgoing [0] and incoming [1] connections
    std::unordered_map<PairKey, std::vector<const CxnDefImpl*>, PairKeyHash> cxnsByDefAndType_[2];
    // (model type, a name in any locale) -> models
    std::unordered_map<NameKey, std::vector<const ModelImpl*>, NameKeyHash> modelsByName_;
};

}  // namespace aris::repo
