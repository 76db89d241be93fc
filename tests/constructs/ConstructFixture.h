#pragma once
// Small ARIS databases for construct tests, written as AML and loaded through the local server,
// and an export environment around them: sandbox, log, built-in rules, empty registries.
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "../support/TestEnv.h"
#include "app/clsARIS_Interface.h"
#include "app/clsIOHandler.h"
#include "aris/LocalServer.h"
#include "mapping/ColMappingRules.h"
#include "mapping/modMappingRule.h"
#include "platform/Text.h"
#include "runtime/modGlobals.h"

namespace constructtest {

/// Builds an AML document: groups under the root, models and object definitions in groups,
/// occurrences with positions. Type numbers are written as ARIS numbers; texts for 1033.
class AmlBuilder {
public:
    using Attrs = std::vector<std::pair<int, std::string>>;

    AmlBuilder& Group(const std::string& id, const std::string& name, Attrs attrs = {}) {
        groups_.push_back({id, name, std::move(attrs), {}});
        return *this;
    }
    AmlBuilder& Model(const std::string& id, const std::string& group, int type, const std::string& name,
                      Attrs attrs = {}) {
        GroupRow& g = FindGroup(group);
        g.body += "<Model Model.ID=\"" + id + "\" Model.Type=\"" + std::to_string(type) + "\"><GUID>guid-" + id +
                  "</GUID>" + AttrsXml(name, attrs) + "@OCC:" + id + "@</Model>\n";
        return *this;
    }
    /// An object definition; `linked` lists assigned model ids; `cxns` outgoing (type, target id).
    AmlBuilder& Obj(const std::string& id, const std::string& group, int type, const std::string& name,
                    Attrs attrs = {}, std::vector<std::string> linked = {},
                    std::vector<std::pair<int, std::string>> cxns = {}) {
        GroupRow& g = FindGroup(group);
        std::string links;
        for (const std::string& m : linked) links += m + " ";
        g.body += "<ObjDef ObjDef.ID=\"" + id + "\" TypeNum=\"" + std::to_string(type) + "\"" +
                  (links.empty() ? "" : " LinkedModels.IdRefs=\"" + links + "\"") + "><GUID>guid-" + id + "</GUID>" +
                  AttrsXml(name, attrs);
        int n = 0;
        for (const auto& [cxnType, target] : cxns)
            g.body += "<CxnDef CxnDef.ID=\"" + id + ".C" + std::to_string(++n) + "\" CxnDef.Type=\"" +
                      std::to_string(cxnType) + "\" ToObjDef.IdRef=\"" + target + "\"/>";
        g.body += "</ObjDef>\n";
        return *this;
    }
    /// An occurrence of an object in a model at a position.
    AmlBuilder& Place(const std::string& model, const std::string& obj, int x, int y) {
        occs_[model] += "<ObjOcc ObjOcc.ID=\"" + model + "." + obj + "." + std::to_string(++occCount_) +
                        "\" ObjDef.IdRef=\"" + obj + "\"><Position Pos.X=\"" + std::to_string(x) + "\" Pos.Y=\"" +
                        std::to_string(y) + "\"/></ObjOcc>\n";
        return *this;
    }

    std::string Xml() const {
        std::string x =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<AML>\n<Language LocaleId=\"1033\"/>\n"
            "<Group Group.ID=\"Group.Root\">\n";
        for (const GroupRow& g : groups_) {
            std::string body = g.body;
            for (const auto& [model, occs] : occs_) body = platform::ReplaceAll(body, "@OCC:" + model + "@", occs);
            std::size_t at;
            while ((at = body.find("@OCC:")) != std::string::npos) body.erase(at, body.find('@', at + 1) - at + 1);
            x += "<Group Group.ID=\"" + g.id + "\"><GUID>guid-" + g.id + "</GUID>" + AttrsXml(g.name, g.attrs) + "\n" +
                 body + "</Group>\n";
        }
        return x + "</Group>\n</AML>\n";
    }

private:
    struct GroupRow {
        std::string id, name;
        Attrs attrs;
        std::string body;
    };
    static std::string Escape(const std::string& text) {
        std::string out;
        for (char c : text) {
            if (c == '<') out += "&lt;";
            else if (c == '&') out += "&amp;";
            else if (c == '"') out += "&quot;";
            else out += c;
        }
        return out;
    }
    static std::string AttrXml(int type, const std::string& value) {
        return "<AttrDef AttrDef.Type=\"" + std::to_string(type) + "\"><AttrValue LocaleId=\"1033\">" + Escape(value) +
               "</AttrValue></AttrDef>";
    }
    static std::string AttrsXml(const std::string& name, const Attrs& attrs) {
        std::string x = name.empty() ? "" : AttrXml(1, name);
        for (const auto& [type, value] : attrs) x += AttrXml(type, value);
        return x;
    }
    GroupRow& FindGroup(const std::string& id) {
        for (GroupRow& g : groups_)
            if (g.id == id) return g;
        throw std::runtime_error("no group " + id);
    }

    std::vector<GroupRow> groups_;
    std::map<std::string, std::string> occs_;
    int occCount_ = 0;
};

/// One export's environment: sandbox (English catalog) with its export context, log and definition
/// file in the sandbox, locale 1033, built-in rules, empty registries, and the database of a
/// builder. The context ends what the export made.
class ExportEnv {
public:
    explicit ExportEnv(const AmlBuilder& builder, const std::string& language = "ENU")
        : ExportEnv(builder.Xml(), language) {}
    /// The same around an AML text.
    explicit ExportEnv(const std::string& aml, const std::string& language = "ENU") : box_(language) {
        io_.SetDefinitionFileName(box_.dir.File("out.wpx"));
        ExportContext& context = box_.context;
        context.IOHandler = &io_;
        context.Files = &io_;
        context.LocaleId = 1033;
        modMappingRule::CreateDefaultMappingRules();
        modGlobals::CreateRegistries();
        std::ostringstream report;
        auto db = aris::LoadAmlText(aml, "fixture.xml", report);
        if (!db) throw std::runtime_error("fixture not loaded: " + report.str());
        for (const aris::Model* model : db->AllModels()) models_[model->Guid().substr(5)] = model;
        session_.SetDatabase(std::move(db));
        context.ARIS_Interface = &session_;
    }

    const aris::Model* Model(const std::string& id) const { return models_.at(id); }
    /// The models of the ids, keyed by Item.Guid, in order.
    ARISModelCollection Models(const std::vector<std::string>& ids) const {
        ARISModelCollection models;
        for (const std::string& id : ids)
            if (!models.Contains(Model(id)->Guid())) models.Add(Model(id), Model(id)->Guid());
        return models;
    }
    /// The log lines written so far.
    std::vector<std::string> LogLines() const { return Lines(testenv::ReadFile(io_.LogFileName())); }
    /// The definition file's lines.
    std::vector<std::string> FileLines() const { return Lines(testenv::ReadFile(io_.DefinitionFileName())); }
    /// Message boxes shown so far.
    const std::vector<std::string>& Boxes() const { return box_.boxes->texts; }
    clsIOHandler& IO() { return io_; }
    const aris::Database* Database() const { return session_.Database(); }

    static std::vector<std::string> Lines(const std::string& text) {
        std::vector<std::string> lines;
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find("\r\n", start);
            if (end == std::string::npos) end = text.size();
            lines.push_back(text.substr(start, end - start));
            start = end + 2;
        }
        return lines;
    }

private:
    testenv::Sandbox box_;
    clsIOHandler io_;
    clsARIS_Interface session_;
    std::map<std::string, const aris::Model*> models_;
};

}  // namespace constructtest
