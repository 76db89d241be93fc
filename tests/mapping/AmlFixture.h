#pragma once
// Small ARIS databases for rule evaluation tests, written with the tests' AML builder (texts in
// locale 1031) and loaded through the local server.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "../support/AmlBuilder.h"
#include "aris/LocalServer.h"

namespace mappingtest {

/// A database loaded from a builder, with its items found by the fixture's ids.
class AmlDatabase {
public:
    explicit AmlDatabase(const amltest::AmlBuilder& builder) {
        std::ostringstream report;
        db_ = aris::LoadAmlText(builder.Xml(), "fixture.xml", report);
        if (!db_) throw std::runtime_error("fixture not loaded: " + report.str());
        for (const aris::Model* model : db_->AllModels()) {
            models_[model->Guid().substr(5)] = model;
            for (const aris::Occurrence* occ : model->OccList())
                if (occ->ObjDef()) objects_[occ->ObjDef()->Guid().substr(5)] = occ->ObjDef();
        }
    }
    /// An object definition placed in some model, by its fixture id.
    const aris::ObjDef* Obj(const std::string& id) const { return objects_.at(id); }
    const aris::Model* Model(const std::string& id) const { return models_.at(id); }
    /// The target named `name` of an outgoing connection of a type (it may occur nowhere).
    const aris::ObjDef* Target(const std::string& from, int cxnType, const std::string& name) const {
        for (const aris::CxnDef* cxn : Obj(from)->CxnList(aris::kCxnOutgoing, 1031, cxnType))
            if (cxn->TargetObjDef()->Name(1031) == name) return cxn->TargetObjDef();
        throw std::runtime_error("no connection from " + from + " to " + name);
    }

private:
    std::unique_ptr<aris::Database> db_;
    std::map<std::string, const aris::ObjDef*> objects_;
    std::map<std::string, const aris::Model*> models_;
};

}  // namespace mappingtest
