#include "AmlBuilder.h"

#include <map>
#include <stdexcept>

namespace amltest {
namespace {

std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '<') out += "&lt;";
        else if (c == '&') out += "&amp;";
        else if (c == '"') out += "&quot;";
        else out += c;
    }
    return out;
}

}  // namespace

AmlBuilder& AmlBuilder::NameType(TypeName type) {
    nameType_ = std::move(type);
    return *this;
}

AmlBuilder& AmlBuilder::Group(const std::string& id, const std::string& name, Attrs attrs) {
    groups_.push_back({id, name, std::move(attrs)});
    return *this;
}

AmlBuilder& AmlBuilder::Model(const std::string& id, const std::string& group, TypeName type, const std::string& name,
                              Attrs attrs) {
    RequireGroup(group);
    items_.push_back({true, id, group, type, name, std::move(attrs), {}});
    return *this;
}

AmlBuilder& AmlBuilder::Model(const std::string& id, TypeName type, const std::string& name,
                              std::vector<std::string> placed) {
    items_.push_back({true, id, "", type, name, {}, {}});
    for (const std::string& obj : placed) occs_.push_back({id, {id + "." + obj, obj, 100, 100}});
    return *this;
}

AmlBuilder& AmlBuilder::Obj(const std::string& id, const std::string& group, TypeName type, const std::string& name,
                            Attrs attrs, std::vector<std::string> linked,
                            std::vector<std::pair<TypeName, std::string>> cxns) {
    RequireGroup(group);
    items_.push_back({false, id, group, type, name, std::move(attrs), std::move(linked)});
    objIds_.insert(id);
    int n = 0;
    for (const auto& [cxnType, target] : cxns)
        cxns_.push_back({id + ".C" + std::to_string(++n), id, cxnType, target, ""});
    return *this;
}

AmlBuilder& AmlBuilder::Obj(const std::string& id, TypeName type, const std::string& name, Attrs attrs) {
    items_.push_back({false, id, "", type, name, std::move(attrs), {}});
    objIds_.insert(id);
    return *this;
}

AmlBuilder& AmlBuilder::Cxn(const std::string& from, TypeName type, const std::string& to, const std::string& model) {
    if (!objIds_.count(from)) throw std::runtime_error("no object " + from);
    cxns_.push_back({"C" + std::to_string(++cxnCount_), from, type, to, model});
    return *this;
}

AmlBuilder& AmlBuilder::Place(const std::string& model, const std::string& obj, int x, int y) {
    occs_.push_back({model, {model + "." + obj + "." + std::to_string(++occCount_), obj, x, y}});
    return *this;
}

std::string AmlBuilder::AttrXml(const TypeName& type, const std::string& value) const {
    return "<AttrDef AttrDef.Type=\"" + type.Text() + "\"><AttrValue LocaleId=\"" + std::to_string(locale_) + "\">" +
           Escape(value) + "</AttrValue></AttrDef>";
}

std::string AmlBuilder::AttrsXml(const std::string& name, const Attrs& attrs) const {
    std::string x = name.empty() ? "" : AttrXml(nameType_, name);
    for (const auto& [type, value] : attrs) x += AttrXml(type, value);
    return x;
}

std::string AmlBuilder::ItemXml(const ItemRow& item, const CxnsFrom& cxnsFrom) const {
    std::string x;
    if (!item.isModel) {
        std::string links;
        for (const std::string& m : item.linked) links += m + " ";
        x += "<ObjDef ObjDef.ID=\"" + item.id + "\" TypeNum=\"" + item.type.Text() + "\"" +
             (links.empty() ? "" : " LinkedModels.IdRefs=\"" + links + "\"") + "><GUID>guid-" + item.id + "</GUID>" +
             AttrsXml(item.name, item.attrs) + "\n";
        if (auto out = cxnsFrom.find(item.id); out != cxnsFrom.end())
            for (const CxnRow* c : out->second)
                x += "<CxnDef CxnDef.ID=\"" + c->id + "\" CxnDef.Type=\"" + c->type.Text() + "\" ToObjDef.IdRef=\"" +
                     c->to + "\"/>\n";
        return x + "</ObjDef>\n";
    }
    x += "<Model Model.ID=\"" + item.id + "\" Model.Type=\"" + item.type.Text() + "\"><GUID>guid-" + item.id +
         "</GUID>" + AttrsXml(item.name, item.attrs) + "\n";
    // The first occurrence of each object in this model, for the connections' occurrences.
    std::map<std::string, std::string> occOf;
    for (const auto& [model, occ] : occs_)
        if (model == item.id) occOf.emplace(occ.obj, occ.id);
    for (const auto& [model, occ] : occs_) {
        if (model != item.id) continue;
        x += "<ObjOcc ObjOcc.ID=\"" + occ.id + "\" ObjDef.IdRef=\"" + occ.obj + "\"><Position Pos.X=\"" +
             std::to_string(occ.x) + "\" Pos.Y=\"" + std::to_string(occ.y) + "\"/>\n";
        auto out = cxnsFrom.find(occ.obj);
        if (occOf.at(occ.obj) == occ.id && out != cxnsFrom.end())
            for (const CxnRow* c : out->second)
                if (c->model == item.id)
                    x += "<CxnOcc CxnOcc.ID=\"" + item.id + "." + c->id + "\" CxnDef.IdRef=\"" + c->id +
                         "\" ToObjOcc.IdRef=\"" + (occOf.count(c->to) ? occOf.at(c->to) : item.id + "." + c->to) +
                         "\"/>\n";
        x += "</ObjOcc>\n";
    }
    return x + "</Model>\n";
}

void AmlBuilder::RequireGroup(const std::string& id) const {
    for (const GroupRow& g : groups_)
        if (g.id == id) return;
    throw std::runtime_error("no group " + id);
}

std::string AmlBuilder::Xml() const {
    std::string x = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<AML>\n<Language LocaleId=\"" +
                    std::to_string(locale_) + "\"/>\n<Group Group.ID=\"Group.Root\">\n";
    CxnsFrom cxnsFrom;
    for (const CxnRow& c : cxns_) cxnsFrom[c.from].push_back(&c);
    // In the root group the object definitions come before the models.
    for (const ItemRow& item : items_)
        if (item.group.empty() && !item.isModel) x += ItemXml(item, cxnsFrom);
    for (const ItemRow& item : items_)
        if (item.group.empty() && item.isModel) x += ItemXml(item, cxnsFrom);
    for (const GroupRow& g : groups_) {
        x += "<Group Group.ID=\"" + g.id + "\"><GUID>guid-" + g.id + "</GUID>" + AttrsXml(g.name, g.attrs) + "\n";
        for (const ItemRow& item : items_)
            if (item.group == g.id) x += ItemXml(item, cxnsFrom);
        x += "</Group>\n";
    }
    return x + "</Group>\n</AML>\n";
}

}  // namespace amltest
