#pragma once
// The repository of the local ARIS server: one database read from an AML export, with its
// groups, models, object definitions, occurrences, connections and attributes. The reader fills
// the items and links them; BuildIndexes then indexes them once so that every automation call
// answers in constant or output-proportional time.
//
// The repository is laid out for exports of millions of elements: texts (ids, GUIDs, attribute
// values) are kept in one text pool, the attribute values of an item lie side by side in a
// block store, and the lists of the automation interface (occurrences, connections, the
// definitions of a model) are ranges of a few flat arrays built once by BuildIndexes.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
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

/// Texts kept for the life of the database: appended into large blocks, so that a text costs
/// its bytes and no allocation of its own. The views handed out stay valid until the pool dies.
class TextPool {
public:
    TextPool() = default;
    TextPool(const TextPool&) = delete;
    TextPool& operator=(const TextPool&) = delete;

    /// A lasting copy of the text.
    std::string_view Add(std::string_view text);

private:
    static constexpr std::size_t kBlockSize = 256 * 1024;
    std::vector<std::unique_ptr<char[]>> blocks_;
    char* next_ = nullptr;
    std::size_t left_ = 0;
};

/// Elements appended in runs that stay side by side and never move: blocks of a fixed size,
/// a run longer than a block gets a block of its own.
template <class T>
class RunStore {
public:
    /// Copies of the elements, side by side; nullptr for none.
    const T* Append(const T* first, std::size_t count) {
        if (count == 0) return nullptr;
        if (count > left_) {
            const std::size_t size = count > kBlockElements ? count : kBlockElements;
            blocks_.push_back(std::make_unique<T[]>(size));
            next_ = blocks_.back().get();
            left_ = size;
        }
        T* run = next_;
        for (std::size_t i = 0; i < count; ++i) run[i] = first[i];
        next_ += count;
        left_ -= count;
        return run;
    }

private:
    static constexpr std::size_t kBlockElements = 4096;
    std::vector<std::unique_ptr<T[]>> blocks_;
    T* next_ = nullptr;
    std::size_t left_ = 0;
};

/// One value of an attribute: for one locale, or for every locale without a value of its own.
class AttrValue {
public:
    AttrValue() = default;
    AttrValue(const TypeInfo* valueType, std::string_view valueText, bool withLocale, LocaleId valueLocale)
        : type(valueType),
          text_(valueText.data()),
          length_(static_cast<std::uint32_t>(valueText.size())),
          locale_(withLocale ? valueLocale : kNoLocale) {}

    std::string_view Text() const { return {text_, length_}; }
    void SetText(std::string_view text) {
        text_ = text.data();
        length_ = static_cast<std::uint32_t>(text.size());
    }
    bool HasLocale() const { return locale_ != kNoLocale; }
    LocaleId Locale() const { return locale_; }

    const TypeInfo* type = nullptr;

private:
    // Locale ids are 0 to 0xFFFF; this one marks a value for every locale.
    static constexpr LocaleId kNoLocale = -1;
    const char* text_ = nullptr;
    std::uint32_t length_ = 0;
    LocaleId locale_ = kNoLocale;
};

/// The attributes of one item: its values grouped by attribute type, the types in the order
/// of their first appearance in the file, the values of a type in order of appearance (a value
/// for a locale already present, or a second value without locale, took the earlier's place).
class Attributes {
public:
    /// The value of an attribute type in a locale: its own, else the value without locale;
    /// nullptr when not maintained there.
    const AttrValue* Value(int typeNum, LocaleId loc) const;
    /// Every attribute with a value in the locale, in order.
    std::vector<Attribute> List(LocaleId loc) const;
    /// All values, grouped by type.
    const AttrValue* begin() const { return values_; }
    const AttrValue* end() const { return values_ + count_; }

    /// Set the values (grouped as described above), kept elsewhere for the life of the item.
    void Assign(const AttrValue* values, std::size_t count) {
        values_ = values;
        count_ = static_cast<std::uint32_t>(count);
    }

private:
    /// The value of the run of one type starting at `first` for the locale.
    const AttrValue* ValueInRun(const AttrValue* first, const AttrValue* last, LocaleId loc) const;

    const AttrValue* values_ = nullptr;
    std::uint32_t count_ = 0;
};

/// A range of one of the database's flat arrays.
struct Range {
    std::uint32_t first = 0;
    std::uint32_t count = 0;
};

/// What every repository item holds: identity, type and attributes.
template <class Interface>
class ItemBase : public Interface {
public:
    std::string Guid() const override { return std::string(identity); }
    std::string_view GuidView() const override { return identity; }
    std::string Name(LocaleId loc) const override {
        const AttrValue* value = attrs.Value(kNameAttributeType, loc);
        return value ? std::string(value->Text()) : std::string();
    }
    std::string TypeName(LocaleId loc) const override { return type ? type->DisplayName(loc) : std::string(); }
    Attribute GetAttribute(int attrType, LocaleId loc) const override {
        const AttrValue* value = attrs.Value(attrType, loc);
        return value ? Attribute(attrType, std::string(value->Text())) : Attribute(attrType, std::nullopt);
    }
    std::vector<Attribute> AttrList(LocaleId loc) const override { return attrs.List(loc); }

    /// The GUID element's text, or the AML id (ObjDef.ID and the like) when there is none; in
    /// the text pool.
    std::string_view identity;
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
    std::vector<const Occurrence*> OccList() const override;
    std::string TypeApiName() const override { return type ? type->apiName : std::string(); }

    const DatabaseImpl* db = nullptr;
    const GroupImpl* group = nullptr;
    std::uint32_t index = 0;  ///< position in file order
    Range occs;               ///< object occurrences, in DatabaseImpl's occurrences by model
    Range defs;               ///< definitions placed, in DatabaseImpl's definitions by model
};

class ObjDefImpl final : public ItemBase<ObjDef> {
public:
    int TypeNum() const override { return type->number; }
    const aris::Group* Group() const override { return group; }
    std::vector<const Occurrence*> OccList() const override;
    bool HasOccurrences() const override { return occs.count != 0; }
    std::vector<const Occurrence*> OccListInModel(const Model* model) const override;
    std::vector<const Model*> AssignedModels() const override;
    std::vector<const CxnDef*> CxnList(int direction, LocaleId loc, int cxnType) const override;

    const DatabaseImpl* db = nullptr;
    const GroupImpl* group = nullptr;
    const TypeInfo* defaultSymbol = nullptr;  ///< SymbolNum of the definition, may be null
    std::uint32_t index = 0;                  ///< position in file order
    Range occs;                               ///< occurrences, in DatabaseImpl's occurrences by definition
    Range linkedModels;                       ///< assigned models, in DatabaseImpl's linked models
    Range outgoing;                           ///< linked connections from it, in DatabaseImpl's outgoing connections
    Range incoming;                           ///< linked connections to it, in DatabaseImpl's incoming connections
};

class CxnDefImpl final : public ItemBase<CxnDef> {
public:
    int TypeNum() const override { return type->number; }
    const ObjDef* SourceObjDef() const override { return source; }
    const ObjDef* TargetObjDef() const override { return target; }
    std::vector<const Occurrence*> OccList() const override {
        return std::vector<const Occurrence*>(occs, occs + occCount);
    }
    bool HasOccurrences() const override { return occCount != 0; }

    const ObjDefImpl* source = nullptr;
    const ObjDefImpl* target = nullptr;  ///< null when the reference could not be resolved
    /// The occurrences, side by side in DatabaseImpl's connection occurrences.
    const Occurrence* const* occs = nullptr;
    std::uint32_t occCount = 0;
    std::uint32_t order = 0;  ///< position among the linked connections in file order
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
    ObjDefImpl* objDef = nullptr;  ///< null until linked; an unlinked placement is left out
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
    CxnDefImpl* cxnDef = nullptr;  ///< null until linked; an unlinked placement is left out
};

/// One open database: owns every item and the indexes over them.
class DatabaseImpl final : public ItemBase<Database> {
public:
    explicit DatabaseImpl(std::unique_ptr<TypeCatalog> catalog);
    std::string Guid() const override { return sourceName; }
    std::string_view GuidView() const override { return sourceName; }
    std::string TypeName(LocaleId loc) const override;
    std::string Name(LocaleId loc) const override;
    std::string ServerName() const override { return serverName; }
    std::string LoginUserName(LocaleId) const override { return loginUser; }
    std::vector<const Model*> FindModels(int modelType, LocaleId loc, const std::string& name) const override;
    std::vector<const Model*> AllModels() const override;
    std::vector<LocaleId> Locales() const override { return locales; }
    std::vector<UnnumberedType> UnnumberedTypes() const override;
    std::string SourceFile() const override { return sourceFile; }

    /// Index the linked items; called once after the reader has filled the database.
    void BuildIndexes();

    /// The occurrences of a definition in a model, in file order.
    std::vector<const Occurrence*> OccurrencesIn(const ObjDefImpl* objDef, const Model* model) const;
    /// The definitions of a type that occur in a model, in the order of their first occurrence.
    std::vector<const ObjDef*> ObjDefsIn(const ModelImpl* model, int objType) const;
    /// The connections of a definition by direction bits and type, in file order.
    std::vector<const CxnDef*> Connections(const ObjDefImpl* objDef, int direction, int cxnType) const;
    /// The lists of one item, as ranges of the flat arrays.
    std::vector<const Occurrence*> ObjOccsOf(Range range) const;
    std::vector<const Occurrence*> ModelOccsOf(Range range) const;
    std::vector<const Model*> LinkedModelsOf(Range range) const;

    TypeCatalog& Catalog() { return *catalog_; }
    TextPool& Texts() { return texts_; }
    /// Keep the values of one item side by side; returns where they lie.
    const AttrValue* KeepAttributes(const AttrValue* values, std::size_t count) {
        return attrValues_.Append(values, count);
    }
    /// Append the models assigned to one item; returns their range.
    Range AddLinkedModels(const std::vector<const Model*>& models);

    std::string name;        ///< the database's name (its file name without extension)
    std::string sourceName;  ///< the file (or text) it was read from: its identity text
    std::string sourceFile;  ///< the file it was read from; empty when read from a text
    std::string serverName;  ///< the server's name
    std::string loginUser;   ///< the login user's name
    std::vector<LocaleId> locales;

    // Items, filled by the reader in file order. Occurrences whose references the reader could
    // not resolve stay unlinked (null definition or connection) and take part in no index, and
    // neither do connections without a target.
    std::deque<GroupImpl> groups;
    std::deque<ModelImpl> models;
    std::deque<ObjDefImpl> objDefs;
    std::deque<CxnDefImpl> cxnDefs;
    std::deque<ObjOccImpl> objOccs;
    std::deque<CxnOccImpl> cxnOccs;

private:
    struct NameKey {
        int type;
        std::string_view name;
        bool operator==(const NameKey&) const = default;
    };
    struct NameKeyHash {
        std::size_t operator()(const NameKey& k) const;
    };

    void IndexOccurrences();
    void IndexConnections();
    void IndexModelNames();
    /// The connections of a definition's list with the type, in file order.
    std::pair<const CxnDefImpl* const*, const CxnDefImpl* const*> ConnectionsOfType(
        const std::vector<const CxnDefImpl*>& list, Range range, int cxnType) const;

    std::unique_ptr<TypeCatalog> catalog_;
    TextPool texts_;
    RunStore<AttrValue> attrValues_;
    std::vector<const Model*> linkedModels_;
    // Occurrences by definition in file order, and the same sorted by model (then file order).
    std::vector<const ObjOccImpl*> occsByDef_;
    std::vector<const ObjOccImpl*> occsByDefAndModel_;
    // Occurrences by model in file order; definitions by model, by type in order of first
    // occurrence.
    std::vector<const Occurrence*> occsByModel_;
    std::vector<const ObjDefImpl*> defsByModel_;
    // Linked connections by source and by target, by type in file order.
    std::vector<const CxnDefImpl*> outgoing_;
    std::vector<const CxnDefImpl*> incoming_;
    std::vector<const Occurrence*> cxnOccsByCxn_;
    // (model type, a name in any locale) -> models
    std::unordered_map<NameKey, std::vector<const ModelImpl*>, NameKeyHash> modelsByName_;
};

}  // namespace aris::repo
