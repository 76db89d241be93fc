#pragma once
// Small ARIS databases for rule evaluation tests, written as AML and loaded through the local
// server. Types are written as ARIS numbers.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "aris/LocalServer.h"

namespace mappingtest {

class AmlBuilder {
public:
    /// An object definition with its name (and further attributes: type number, value).
    AmlBuilder& Obj(const std::string& id, int type, const std::string& name,
                    std::vector<std::pair<int, std::string>> attrs = {}) {
        objects_.push_back({id, type, name, std::move(attrs), {}});
        return *this;
    }
    /// A connection definition; placed in `model` when given (both ends must occur there).
    AmlBuilder& Cxn(const std::string& from, int type, const std::string& to, const std::string& model = "M1") {
        std::string id = "C" + std::to_string(++cxnCount_);
        Find(from).cxns.push_back({id, type, to, model});
        return *this;
    }
    /// A model and the objects placed in it, in order.
    AmlBuilder& Model(const std::string& id, int type, const std::string& name, std::vector<std::string> placed) {
        models_.push_back({id, type, name, std::move(placed)});
        return *this;
    }

    std::string Xml() const {
        std::ostringstream x;
        x << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<AML>\n<Language LocaleId=\"1031\"/>\n"
          << "<Group Group.ID=\"Group.Root\">\n";
        for (const ObjRow& o : objects_) {
            x << "<ObjDef ObjDef.ID=\"" << o.id << "\" TypeNum=\"" << o.type << "\"><GUID>guid-" << o.id << "</GUID>\n";
            if (!o.name.empty()) WriteAttr(x, 1, o.name);
            for (const auto& [type, value] : o.attrs) WriteAttr(x, type, value);
            for (const CxnRow& c : o.cxns)
                x << "<CxnDef CxnDef.ID=\"" << c.id << "\" CxnDef.Type=\"" << c.type << "\" ToObjDef.IdRef=\"" << c.to
                  << "\"/>\n";
            x << "</ObjDef>\n";
        }
        for (const ModelRow& m : models_) {
            x << "<Model Model.ID=\"" << m.id << "\" Model.Type=\"" << m.type << "\"><GUID>guid-" << m.id
              << "</GUID>\n";
            WriteAttr(x, 1, m.name);
            for (const std::string& placed : m.placed) {
                x << "<ObjOcc ObjOcc.ID=\"" << m.id << "." << placed << "\" ObjDef.IdRef=\"" << placed
                  << "\"><Position Pos.X=\"100\" Pos.Y=\"100\"/>\n";
                for (const CxnRow& c : Find(placed).cxns)
                    if (c.model == m.id)
                        x << "<CxnOcc CxnOcc.ID=\"" << m.id << "." << c.id << "\" CxnDef.IdRef=\"" << c.id
                          << "\" ToObjOcc.IdRef=\"" << m.id << "." << c.to << "\"/>\n";
                x << "</ObjOcc>\n";
            }
            x << "</Model>\n";
        }
        x << "</Group>\n</AML>\n";
        return x.str();
    }

private:
    struct CxnRow {
        std::string id;
        int type;
        std::string to, model;
    };
    struct ObjRow {
        std::string id;
        int type;
        std::string name;
        std::vector<std::pair<int, std::string>> attrs;
        std::vector<CxnRow> cxns;
    };
    struct ModelRow {
        std::string id;
        int type;
        std::string name;
        std::vector<std::string> placed;
    };

    static void WriteAttr(std::ostringstream& x, int type, const std::string& value) {
        x << "<AttrDef AttrDef.Type=\"" << type << "\"><AttrValue LocaleId=\"1031\">" << value
          << "</AttrValue></AttrDef>\n";
    }
    ObjRow& Find(const std::string& id) {
        for (ObjRow& o : objects_)
            if (o.id == id) return o;
        throw std::runtime_error("no object " + id);
    }
    const ObjRow& Find(const std::string& id) const { return const_cast<AmlBuilder*>(this)->Find(id); }

    std::vector<ObjRow> objects_;
    std::vector<ModelRow> models_;
    int cxnCount_ = 0;
};

/// A database loaded from a builder, with its items found by the fixture's ids.
class AmlDatabase {
public:
    explicit AmlDatabase(const AmlBuilder& builder) {
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
