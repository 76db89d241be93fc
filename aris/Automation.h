#pragma once
// The automation interface the program uses to read an ARIS database. It mirrors the ARIS
// automation roles (application, report component, database, lists from index 0, items with
// Guid, Name, TypeName and attributes) so that another backend, such as a live ARIS server,
// can stand behind it. Every list answers in time proportional to its own length.
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace aris {

using LocaleId = int;

class Group;
class Model;
class ObjDef;
class CxnDef;
class Occurrence;
class Database;

/// Connection-list directions: a bit set.
enum CxnDirection : int { kCxnIncoming = 2, kCxnOutgoing = 4 };

/// A failure reported by the ARIS server (no such server or database, a malformed export).
/// `number` is the automation error number the caller reports.
class ServerError : public std::runtime_error {
public:
    ServerError(int number, const std::string& text) : std::runtime_error(text), number_(number) {}
    int Number() const { return number_; }

private:
    int number_;
};

/// One attribute of an item, read for one locale.
class Attribute {
public:
    Attribute() = default;
    Attribute(int type, std::optional<std::string> value) : type_(type), value_(std::move(value)) {}
    /// The attribute type number.
    int Type() const { return type_; }
    /// True when the attribute has a value.
    bool IsMaintained() const { return value_.has_value(); }
    /// The value text; with the option set each line break (CR LF, CR or LF) becomes one blank.
    std::string GetValue(bool removeLineBreaks) const;

private:
    int type_ = 0;
    std::optional<std::string> value_;
};

/// What every ARIS item answers.
class Item {
public:
    virtual ~Item() = default;
    /// Identity text: equal texts mean the same item.
    virtual std::string Guid() const = 0;
    /// The identity text without a copy, valid as long as the item: for the many comparisons
    /// and keys of a large export.
    virtual std::string_view GuidView() const = 0;
    /// The name in a locale ("" when it has none there).
    virtual std::string Name(LocaleId loc) const = 0;
    /// The type's display name for messages (German for 1031, English otherwise, else the API name).
    virtual std::string TypeName(LocaleId loc) const = 0;
    /// One attribute by type number, read for a locale.
    virtual Attribute GetAttribute(int attrType, LocaleId loc) const = 0;
    /// Every attribute that has a value in the locale, in file order.
    virtual std::vector<Attribute> AttrList(LocaleId loc) const = 0;
};

class Group : public Item {
public:
    /// The parent group, nullptr for the root.
    virtual const Group* Parent() const = 0;
};

class Model : public Item {
public:
    /// The group (folder) holding the model.
    virtual const aris::Group* Group() const = 0;
    /// The model type number.
    virtual int TypeNum() const = 0;
    /// The object definitions of one type that occur in the model, in the order of their first
    /// occurrence.
    virtual std::vector<const ObjDef*> ObjDefList(int objType, LocaleId loc) const = 0;
    /// Every object occurrence in the model, in file order.
    virtual std::vector<const Occurrence*> OccList() const = 0;
    /// The model type as the export names it (its API name, such as MT_EEPC); "" when unknown.
    virtual std::string TypeApiName() const { return ""; }
};

class ObjDef : public Item {
public:
    /// The object type number.
    virtual int TypeNum() const = 0;
    /// The group holding the definition.
    virtual const aris::Group* Group() const = 0;
    /// Every occurrence of the definition, in file order.
    virtual std::vector<const Occurrence*> OccList() const = 0;
    /// True when the definition occurs anywhere (OccList() not empty), without building the list.
    virtual bool HasOccurrences() const { return !OccList().empty(); }
    /// The occurrences in one model, in file order.
    virtual std::vector<const Occurrence*> OccListInModel(const Model* model) const = 0;
    /// The models assigned to the definition.
    virtual std::vector<const Model*> AssignedModels() const = 0;
    /// Connections by direction (bit set of CxnDirection) and connection type, in file order.
    virtual std::vector<const CxnDef*> CxnList(int direction, LocaleId loc, int cxnType) const = 0;
};

class CxnDef : public Item {
public:
    /// The connection type number.
    virtual int TypeNum() const = 0;
    virtual const ObjDef* SourceObjDef() const = 0;
    virtual const ObjDef* TargetObjDef() const = 0;
    /// The occurrences of the connection in models.
    virtual std::vector<const Occurrence*> OccList() const = 0;
    /// True when the connection occurs in a model (OccList() not empty), without building the list.
    virtual bool HasOccurrences() const { return !OccList().empty(); }
};

/// A placement of an object definition (or connection) in a model.
class Occurrence {
public:
    virtual ~Occurrence() = default;
    virtual int X() const = 0;
    virtual int Y() const = 0;
    virtual int SymbolNum() const = 0;
    virtual const aris::Model* Model() const = 0;
    /// The object definition placed, nullptr for a connection occurrence.
    virtual const aris::ObjDef* ObjDef() const = 0;
};

class Database : public Item {
public:
    /// The name of the server the database was opened on.
    virtual std::string ServerName() const = 0;
    /// The login user's name.
    virtual std::string LoginUserName(LocaleId loc) const = 0;
    /// Models of a type whose name in the locale equals `name` exactly.
    virtual std::vector<const Model*> FindModels(int modelType, LocaleId loc, const std::string& name) const = 0;
    /// Every model in file order.
    virtual std::vector<const Model*> AllModels() const = 0;
    /// Locale ids the database holds texts for.
    virtual std::vector<LocaleId> Locales() const = 0;

    /// A type name of the export that no type table gives a number: kind word ("object",
    /// "model", "connection", "attribute", "symbol"), the name as written and its uses.
    struct UnnumberedType {
        std::string kind;
        std::string name;
        int uses = 0;
    };
    /// The type names without a number, by kind and within a kind in order of first use.
    virtual std::vector<UnnumberedType> UnnumberedTypes() const { return {}; }
    /// The file the database is read from; "" when it is not read from a file of its own.
    virtual std::string SourceFile() const { return ""; }
};

/// The report component: opens databases.
class ReportComponent {
public:
    virtual ~ReportComponent() = default;
    /// Open a database; raises ServerError when the server or database cannot be found or read.
    virtual std::unique_ptr<Database> OpenDatabase(const std::string& server, const std::string& database,
                                                   const std::string& reg, const std::string& user,
                                                   const std::string& extra) = 0;
};

/// The application object.
class Application {
public:
    virtual ~Application() = default;
    /// The component of a name ("Report"), nullptr when unknown.
    virtual ReportComponent* GetComponent(const std::string& name) = 0;
};

/// Create the application object of the backend in use (the local server over AML files).
/// Returns nullptr when no server is available.
std::unique_ptr<Application> CreateApplication();

}  // namespace aris
