#pragma once
// The tests' one writer of small ARIS databases as AML text: groups under the root group, models
// and object definitions (in a group or in the root group), occurrences with positions,
// connection definitions (and their occurrences in a model), attributes. Types are written as
// given, as ARIS numbers or as API names; all texts are in the builder's locale.
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace amltest {

/// ARIS locale ids of the texts.
inline constexpr int kEnglishUs = 1033;
inline constexpr int kGerman = 1031;

/// A type of a model, object, connection or attribute as the AML carries it: an ARIS number
/// (`118`) or an API name (`"CT_ACTIV_1"`), written as given.
class TypeName {
public:
    TypeName(int number) : text_(std::to_string(number)) {}   // NOLINT: implicit on purpose
    TypeName(const char* apiName) : text_(apiName) {}         // NOLINT: implicit on purpose
    TypeName(const std::string& apiName) : text_(apiName) {}  // NOLINT: implicit on purpose
    const std::string& Text() const { return text_; }

private:
    std::string text_;
};

class AmlBuilder {
public:
    /// Attributes beyond the name: (type, value).
    using Attrs = std::vector<std::pair<TypeName, std::string>>;

    /// A builder whose texts and language element use `localeId`.
    explicit AmlBuilder(int localeId = kEnglishUs) : locale_(localeId) {}

    /// The attribute type the names are written with: 1 unless set (e.g. to "AT_NAME").
    AmlBuilder& NameType(TypeName type);

    /// A group under the root group.
    AmlBuilder& Group(const std::string& id, const std::string& name, Attrs attrs = {});
    /// A model in a group; its occurrences come from Place.
    AmlBuilder& Model(const std::string& id, const std::string& group, TypeName type, const std::string& name,
                      Attrs attrs = {});
    /// A model in the root group and the objects placed in it, in order, each at (100, 100); the
    /// connections given to Cxn for this model occur in it.
    AmlBuilder& Model(const std::string& id, TypeName type, const std::string& name, std::vector<std::string> placed);
    /// An object definition in a group; `linked` lists assigned model ids; `cxns` outgoing
    /// connection definitions (type, target id) that occur in no model.
    AmlBuilder& Obj(const std::string& id, const std::string& group, TypeName type, const std::string& name,
                    Attrs attrs = {}, std::vector<std::string> linked = {},
                    std::vector<std::pair<TypeName, std::string>> cxns = {});
    /// An object definition in the root group.
    AmlBuilder& Obj(const std::string& id, TypeName type, const std::string& name, Attrs attrs = {});
    /// A connection definition; it occurs in `model` when given (both ends must occur there).
    AmlBuilder& Cxn(const std::string& from, TypeName type, const std::string& to, const std::string& model = "M1");
    /// An occurrence of an object in a model at a position.
    AmlBuilder& Place(const std::string& model, const std::string& obj, int x, int y);

    /// The AML text.
    std::string Xml() const;

private:
    struct CxnRow {
        std::string id, from;
        TypeName type;
        std::string to, model;
    };
    struct OccRow {
        std::string id, obj;
        int x, y;
    };
    struct ItemRow {
        bool isModel;
        std::string id, group;
        TypeName type;
        std::string name;
        Attrs attrs;
        std::vector<std::string> linked;
    };
    struct GroupRow {
        std::string id, name;
        Attrs attrs;
    };

    std::string AttrXml(const TypeName& type, const std::string& value) const;
    std::string AttrsXml(const std::string& name, const Attrs& attrs) const;
    /// Connection definitions by source object id, in the order they were given.
    using CxnsFrom = std::map<std::string, std::vector<const CxnRow*>>;
    std::string ItemXml(const ItemRow& item, const CxnsFrom& cxnsFrom) const;
    void RequireGroup(const std::string& id) const;

    int locale_;
    TypeName nameType_ = 1;
    std::set<std::string> objIds_;
    std::vector<GroupRow> groups_;
    std::vector<ItemRow> items_;
    std::vector<CxnRow> cxns_;
    std::vector<std::pair<std::string, OccRow>> occs_;  // (model id, occurrence)
    int occCount_ = 0;
    int cxnCount_ = 0;
};

}  // namespace amltest
