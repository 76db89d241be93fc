#pragma once
// A minimal in-memory ARIS model for tests that need only positions of occurrences.
#include <memory>
#include <string>
#include <vector>

#include "aris/Automation.h"

namespace fakearis {

class Occ : public aris::Occurrence {
public:
    Occ(const aris::Model* model, const aris::ObjDef* objDef, int x, int y)
        : model_(model), objDef_(objDef), x_(x), y_(y) {}
    int X() const override { return x_; }
    int Y() const override { return y_; }
    int SymbolNum() const override { return 0; }
    const aris::Model* Model() const override { return model_; }
    const aris::ObjDef* ObjDef() const override { return objDef_; }

private:
    const aris::Model* model_;
    const aris::ObjDef* objDef_;
    int x_, y_;
};

class Model : public aris::Model {
public:
    explicit Model(std::string guid) : guid_(std::move(guid)) {}
    std::string Guid() const override { return guid_; }
    std::string_view GuidView() const override { return guid_; }
    std::string Name(aris::LocaleId) const override { return guid_; }
    std::string TypeName(aris::LocaleId) const override { return "EPC"; }
    aris::Attribute GetAttribute(int type, aris::LocaleId) const override {
        return aris::Attribute(type, std::nullopt);
    }
    std::vector<aris::Attribute> AttrList(aris::LocaleId) const override { return {}; }
    const aris::Group* Group() const override { return nullptr; }
    int TypeNum() const override { return 13; }
    std::vector<const aris::ObjDef*> ObjDefList(int, aris::LocaleId) const override { return {}; }
    std::vector<const aris::Occurrence*> OccList() const override { return {}; }

private:
    std::string guid_;
};

class ObjDef : public aris::ObjDef {
public:
    explicit ObjDef(std::string guid) : guid_(std::move(guid)) {}
    /// Place the object in a model.
    void PlaceIn(const aris::Model* model, int x, int y) { occs_.push_back(std::make_unique<Occ>(model, this, x, y)); }

    std::string Guid() const override { return guid_; }
    std::string_view GuidView() const override { return guid_; }
    std::string Name(aris::LocaleId) const override { return guid_; }
    std::string TypeName(aris::LocaleId) const override { return "Function"; }
    aris::Attribute GetAttribute(int type, aris::LocaleId) const override {
        return aris::Attribute(type, std::nullopt);
    }
    std::vector<aris::Attribute> AttrList(aris::LocaleId) const override { return {}; }
    int TypeNum() const override { return 22; }
    const aris::Group* Group() const override { return nullptr; }
    std::vector<const aris::Occurrence*> OccList() const override {
        std::vector<const aris::Occurrence*> all;
        for (const auto& occ : occs_) all.push_back(occ.get());
        return all;
    }
    std::vector<const aris::Occurrence*> OccListInModel(const aris::Model* model) const override {
        std::vector<const aris::Occurrence*> in;
        for (const auto& occ : occs_)
            if (occ->Model() == model) in.push_back(occ.get());
        return in;
    }
    std::vector<const aris::Model*> AssignedModels() const override { return {}; }
    std::vector<const aris::CxnDef*> CxnList(int, aris::LocaleId, int) const override { return {}; }

private:
    std::string guid_;
    std::vector<std::unique_ptr<Occ>> occs_;
};

}  // namespace fakearis
