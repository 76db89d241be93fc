#pragma once
// Export environments around small databases for the data-structure and program tests: the
// database is written with the tests' AML builder (connections placed in models, texts in locale
// 1031) and its object definitions are found by their fixture ids.
#include <map>
#include <string>

#include "../constructs/ConstructFixture.h"
#include "../support/AmlBuilder.h"

namespace datatest {

/// Type numbers of the built-in rules used by the fixtures.
enum Type : int {
    kProgram = 6,
    kEntityType = 17,
    kErmAttribute = 19,
    kDomain = 20,
    kFunction = 22,
    kEpc = 13,
    kDataModel = 8,
};
/// Connection types of the built-in rules.
enum Cxn : int {
    kIsDescribingFor = 78,  // ERM attribute -> entity type: a member
    kHasDomain = 121,       // ERM attribute -> domain
    kIsInputFor = 49,       // data object -> function
    kHasOutput = 50,        // function -> data object
    kSupports = 221,        // program -> function
    kCanUse = 125,          // program -> data object
};
/// Attribute types of the built-in rules.
enum Attr : int {
    kDescription = 9,
    kDocumentation = 8,
    kMemberType = 494,
    kSizeOfArray = 985,
    kDomainType = 123,
};

/// One export's environment (English catalog, locale 1031 for the ARIS texts) with the object
/// definitions of the database by fixture id.
class DataEnv : public constructtest::ExportEnv {
public:
    explicit DataEnv(const amltest::AmlBuilder& builder) : ExportEnv(builder.Xml()) {
        CurrentExport().LocaleId = 1031;
        CurrentExport().GeneratedNamePrefix = "DATA_STRUCTURE_";
        CurrentExport().GeneratedNameSuffix = 0;
        for (const aris::Model* model : Database()->AllModels())
            for (const aris::Occurrence* occ : model->OccList())
                if (occ->ObjDef()) objects_[occ->ObjDef()->Guid().substr(5)] = occ->ObjDef();
    }
    /// An object definition placed in some model, by its fixture id.
    const aris::ObjDef* Obj(const std::string& id) const { return objects_.at(id); }
    /// The log lines that carry a message id.
    std::vector<std::string> LogLinesWith(const std::string& messageId) const {
        std::vector<std::string> found;
        for (const std::string& line : LogLines())
            if (line.rfind(messageId, 0) == 0) found.push_back(line);
        return found;
    }

private:
    std::map<std::string, const aris::ObjDef*> objects_;
};

}  // namespace datatest
