#include "aris/Repository.h"

#include <algorithm>

namespace aris::repo {

namespace {

constexpr LocaleId kGermanLocale = 1031;

std::size_t Combine(std::size_t seed, std::size_t value) {
    return seed ^ (value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2));
}

}  // namespace

// --- attributes -------------------------------------------------------------------------------

const std::string* AttrRecord::ValueFor(LocaleId loc) const {
    const std::string* common = nullptr;
    for (const AttrValue& value : values) {
        if (!value.hasLocale) {
            if (!common) common = &value.text;
        } else if (value.locale == loc) {
            return &value.text;
        }
    }
    return common;
}

AttrRecord& Attributes::RecordOf(const TypeInfo* type) {
    constexpr std::size_t kIndexFrom = 16;
    if (index_) {
        auto [it, added] = index_->emplace(type, records_.size());
        if (added) records_.push_back(AttrRecord{type, {}});
        return records_[it->second];
    }
    auto same = std::find_if(records_.begin(), records_.end(), [&](const AttrRecord& r) { return r.type == type; });
    if (same != records_.end()) return *same;
    records_.push_back(AttrRecord{type, {}});
    if (records_.size() >= kIndexFrom) {
        index_ = std::make_unique<std::unordered_map<const TypeInfo*, std::size_t>>();
        for (std::size_t i = 0; i < records_.size(); ++i) index_->emplace(records_[i].type, i);
    }
    return records_.back();
}

void Attributes::Add(const TypeInfo* type, std::vector<AttrValue> values) {
    AttrRecord& record = RecordOf(type);
    for (AttrValue& value : values) {
        auto present = std::find_if(record.values.begin(), record.values.end(), [&](const AttrValue& v) {
            return v.hasLocale == value.hasLocale && (!v.hasLocale || v.locale == value.locale);
        });
        if (present != record.values.end()) *present = std::move(value);
        else record.values.push_back(std::move(value));
    }
}

const std::string* Attributes::Value(int typeNum, LocaleId loc) const {
    if (typeNum == kUnmappedType) return nullptr;
    for (const AttrRecord& record : records_) {
        if (record.type->number == typeNum) return record.ValueFor(loc);
    }
    return nullptr;
}

std::vector<Attribute> Attributes::List(LocaleId loc) const {
    std::vector<Attribute> list;
    for (const AttrRecord& record : records_) {
        if (const std::string* value = record.ValueFor(loc)) list.emplace_back(record.type->number, *value);
    }
    return list;
}

// --- items ------------------------------------------------------------------------------------

std::string GroupImpl::TypeName(LocaleId loc) const { return loc == kGermanLocale ? "Gruppe" : "Group"; }

std::vector<const ObjDef*> ModelImpl::ObjDefList(int objType, LocaleId) const { return db->ObjDefsIn(this, objType); }

std::vector<const Occurrence*> ObjDefImpl::OccListInModel(const Model* model) const {
    return db->OccurrencesIn(this, model);
}

std::vector<const CxnDef*> ObjDefImpl::CxnList(int direction, LocaleId, int cxnType) const {
    return db->Connections(this, direction, cxnType);
}

int ObjOccImpl::SymbolNum() const {
    if (symbol) return symbol->number;
    if (objDef && objDef->defaultSymbol) return objDef->defaultSymbol->number;
    return 0;
}

// --- database ---------------------------------------------------------------------------------

DatabaseImpl::DatabaseImpl(std::unique_ptr<TypeCatalog> catalog) : catalog_(std::move(catalog)) {}

std::string DatabaseImpl::TypeName(LocaleId loc) const { return loc == kGermanLocale ? "Datenbank" : "Database"; }

std::string DatabaseImpl::Name(LocaleId) const { return name; }

std::size_t DatabaseImpl::PairKeyHash::operator()(const PairKey& k) const {
    std::size_t h = std::hash<const void*>()(k.item);
    h = Combine(h, std::hash<const void*>()(k.other));
    return Combine(h, std::hash<int>()(k.number));
}

std::size_t DatabaseImpl::NameKeyHash::operator()(const NameKey& k) const {
    return Combine(std::hash<int>()(k.type), std::hash<std::string>()(k.name));
}

void DatabaseImpl::BuildIndexes() {
    modelList_.clear();
    for (const ModelImpl& model : models) modelList_.push_back(&model);
    IndexOccurrences();
    IndexConnections();
    IndexModelNames();
}

void DatabaseImpl::IndexOccurrences() {
    for (ObjOccImpl& occ : objOccs) {
        occ.model->occs.push_back(&occ);
        occ.objDef->occs.push_back(&occ);
        auto& inModel = occsByDefAndModel_[PairKey{occ.objDef, occ.model, 0}];
        if (inModel.empty()) {
            defsByModelAndType_[PairKey{occ.model, nullptr, occ.objDef->TypeNum()}].push_back(occ.objDef);
        }
        inModel.push_back(&occ);
    }
    for (CxnOccImpl& occ : cxnOccs) occ.cxnDef->occs.push_back(&occ);
}

void DatabaseImpl::IndexConnections() {
    std::size_t order = 0;
    for (CxnDefImpl& cxn : cxnDefs) {
        if (!cxn.source || !cxn.target) continue;
        cxn.order = order++;
        cxnsByDefAndType_[0][PairKey{cxn.source, nullptr, cxn.TypeNum()}].push_back(&cxn);
        cxnsByDefAndType_[1][PairKey{cxn.target, nullptr, cxn.TypeNum()}].push_back(&cxn);
    }
}

void DatabaseImpl::IndexModelNames() {
    for (const ModelImpl& model : models) {
        for (const AttrRecord& record : model.attrs.Records()) {
            if (record.type->number != kNameAttributeType) continue;
            for (const AttrValue& value : record.values) {
                auto& list = modelsByName_[NameKey{model.TypeNum(), value.text}];
                if (list.empty() || list.back() != &model) list.push_back(&model);
            }
        }
    }
}

std::vector<const Model*> DatabaseImpl::FindModels(int modelType, LocaleId loc, const std::string& modelName) const {
    std::vector<const Model*> found;
    if (modelType == kUnmappedType) return found;
    auto it = modelsByName_.find(NameKey{modelType, modelName});
    if (it == modelsByName_.end()) return found;
    for (const ModelImpl* model : it->second) {
        const std::string* value = model->attrs.Value(kNameAttributeType, loc);
        if (value && *value == modelName) found.push_back(model);
    }
    return found;
}

std::vector<const Occurrence*> DatabaseImpl::OccurrencesIn(const ObjDefImpl* objDef, const Model* model) const {
    auto it = occsByDefAndModel_.find(PairKey{objDef, model, 0});
    return it == occsByDefAndModel_.end() ? std::vector<const Occurrence*>() : it->second;
}

std::vector<const ObjDef*> DatabaseImpl::ObjDefsIn(const ModelImpl* model, int objType) const {
    if (objType == kUnmappedType) return {};
    auto it = defsByModelAndType_.find(PairKey{model, nullptr, objType});
    return it == defsByModelAndType_.end() ? std::vector<const ObjDef*>() : it->second;
}

std::vector<const CxnDef*> DatabaseImpl::Connections(const ObjDefImpl* objDef, int direction, int cxnType) const {
    std::vector<const CxnDef*> result;
    if (cxnType == kUnmappedType) return result;
    static const std::vector<const CxnDefImpl*> kNone;
    auto listOf = [&](int side) -> const std::vector<const CxnDefImpl*>& {
        auto it = cxnsByDefAndType_[side].find(PairKey{objDef, nullptr, cxnType});
        return it == cxnsByDefAndType_[side].end() ? kNone : it->second;
    };
    const auto& outgoing = (direction & kCxnOutgoing) ? listOf(0) : kNone;
    const auto& incoming = (direction & kCxnIncoming) ? listOf(1) : kNone;
    result.reserve(outgoing.size() + incoming.size());
    // Both lists are in file order; merge them, keeping a connection from the definition to
    // itself once.
    std::size_t o = 0;
    std::size_t i = 0;
    while (o < outgoing.size() || i < incoming.size()) {
        if (i == incoming.size() || (o < outgoing.size() && outgoing[o]->order < incoming[i]->order)) {
            result.push_back(outgoing[o++]);
        } else if (o == outgoing.size() || incoming[i]->order < outgoing[o]->order) {
            result.push_back(incoming[i++]);
        } else {
            result.push_back(outgoing[o++]);
            ++i;
        }
    }
    return result;
}

}  // namespace aris::repo
