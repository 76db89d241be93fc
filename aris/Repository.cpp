#include "aris/Repository.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>
#include <utility>

namespace aris::repo {

namespace {

constexpr LocaleId kGermanLocale = 1031;

std::size_t Combine(std::size_t seed, std::size_t value) {
    return seed ^ (value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2));
}

Range RangeOf(std::size_t first, std::size_t count) {
    return Range{static_cast<std::uint32_t>(first), static_cast<std::uint32_t>(count)};
}

// Sort items into one flat array grouped by a key in [0, keys): stable, so each group keeps
// the order of `items`. Returns the range of every key.
template <class Item, class Key>
std::vector<Range> GroupInto(std::vector<Item>& out, const std::vector<Item>& items, std::size_t keys, Key keyOf) {
    std::vector<Range> ranges(keys);
    for (const Item& item : items) ++ranges[keyOf(item)].count;
    std::uint32_t next = 0;
    for (Range& range : ranges) {
        range.first = next;
        next += range.count;
        range.count = 0;
    }
    out.assign(items.size(), Item{});
    for (const Item& item : items) {
        Range& range = ranges[keyOf(item)];
        out[range.first + range.count++] = item;
    }
    return ranges;
}

// Stable sort of each range by a key of its items.
template <class Item, class Key>
void SortRangesBy(std::vector<Item>& items, const std::vector<Range>& ranges, Key keyOf) {
    for (const Range& range : ranges) {
        if (range.count < 2) continue;
        auto first = items.begin() + range.first;
        std::stable_sort(first, first + range.count, [&](const Item& a, const Item& b) { return keyOf(a) < keyOf(b); });
    }
}

// The items of a range sorted by a key (see SortRangesBy) that have the key.
template <class Item, class Key, class KeyOf>
std::pair<const Item*, const Item*> RunWithKey(const std::vector<Item>& items, Range range, Key key, KeyOf keyOf) {
    const Item* first = items.data() + range.first;
    const Item* last = first + range.count;
    const Item* lower = std::partition_point(first, last, [&](const Item& item) { return keyOf(item) < key; });
    const Item* upper = std::partition_point(lower, last, [&](const Item& item) { return keyOf(item) == key; });
    return {lower, upper};
}

// A range of one of the flat arrays as a list of the automation interface.
template <class Out, class Item>
std::vector<Out> ListOf(const std::vector<Item>& items, Range range) {
    auto first = items.begin() + range.first;
    return std::vector<Out>(first, first + range.count);
}

// The address of an occurrence's model as the automation interface hands it out.
std::uintptr_t ModelAddress(const ObjOccImpl* occ) {
    return reinterpret_cast<std::uintptr_t>(static_cast<const void*>(static_cast<const Model*>(occ->model)));
}

}  // namespace

// --- texts ------------------------------------------------------------------------------------

std::string_view TextPool::Add(std::string_view text) {
    if (text.empty()) return {};
    if (text.size() > left_) {
        // A long text gets a block of its own, leaving the current one open.
        if (text.size() > kBlockSize / 4) {
            blocks_.push_back(std::make_unique<char[]>(text.size()));
            std::memcpy(blocks_.back().get(), text.data(), text.size());
            return {blocks_.back().get(), text.size()};
        }
        blocks_.push_back(std::make_unique<char[]>(kBlockSize));
        next_ = blocks_.back().get();
        left_ = kBlockSize;
    }
    char* copy = next_;
    std::memcpy(copy, text.data(), text.size());
    next_ += text.size();
    left_ -= text.size();
    return {copy, text.size()};
}

// --- attributes -------------------------------------------------------------------------------

const AttrValue* Attributes::ValueInRun(const AttrValue* first, const AttrValue* last, LocaleId loc) const {
    const AttrValue* common = nullptr;
    for (const AttrValue* value = first; value != last; ++value) {
        if (!value->HasLocale()) {
            if (!common) common = value;
        } else if (value->Locale() == loc) {
            return value;
        }
    }
    return common;
}

const AttrValue* Attributes::Value(int typeNum, LocaleId loc) const {
    if (typeNum == kUnmappedType) return nullptr;
    const AttrValue* last = end();
    for (const AttrValue* value = begin(); value != last; ++value) {
        if (value->type->number != typeNum) continue;
        const AttrValue* runEnd = value;
        while (runEnd != last && runEnd->type == value->type) ++runEnd;
        return ValueInRun(value, runEnd, loc);
    }
    return nullptr;
}

std::vector<Attribute> Attributes::List(LocaleId loc) const {
    std::vector<Attribute> list;
    const AttrValue* last = end();
    for (const AttrValue* run = begin(); run != last;) {
        const AttrValue* runEnd = run;
        while (runEnd != last && runEnd->type == run->type) ++runEnd;
        if (const AttrValue* value = ValueInRun(run, runEnd, loc))
            list.emplace_back(run->type->number, std::string(value->Text()));
        run = runEnd;
    }
    return list;
}

// --- items ------------------------------------------------------------------------------------

std::string GroupImpl::TypeName(LocaleId loc) const { return loc == kGermanLocale ? "Gruppe" : "Group"; }

std::vector<const ObjDef*> ModelImpl::ObjDefList(int objType, LocaleId) const { return db->ObjDefsIn(this, objType); }

std::vector<const Occurrence*> ModelImpl::OccList() const { return db->ModelOccsOf(occs); }

std::vector<const Occurrence*> ObjDefImpl::OccList() const { return db->ObjOccsOf(occs); }

std::vector<const Occurrence*> ObjDefImpl::OccListInModel(const Model* model) const {
    return db->OccurrencesIn(this, model);
}

std::vector<const Model*> ObjDefImpl::AssignedModels() const { return db->LinkedModelsOf(linkedModels); }

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

std::vector<Database::UnnumberedType> DatabaseImpl::UnnumberedTypes() const {
    std::vector<std::pair<const TypeInfo*, int>> unmapped = catalog_->Unmapped();
    std::stable_sort(unmapped.begin(), unmapped.end(),
                     [](const auto& a, const auto& b) { return a.first->kind < b.first->kind; });
    std::vector<UnnumberedType> types;
    types.reserve(unmapped.size());
    for (const auto& [type, uses] : unmapped) types.push_back({TypeKindWord(type->kind), type->apiName, uses});
    return types;
}

std::string DatabaseImpl::TypeName(LocaleId loc) const { return loc == kGermanLocale ? "Datenbank" : "Database"; }

std::string DatabaseImpl::Name(LocaleId) const { return name; }

std::vector<const Model*> DatabaseImpl::AllModels() const {
    std::vector<const Model*> list;
    list.reserve(models.size());
    for (const ModelImpl& model : models) list.push_back(&model);
    return list;
}

std::size_t DatabaseImpl::NameKeyHash::operator()(const NameKey& k) const {
    return Combine(std::hash<int>()(k.type), std::hash<std::string_view>()(k.name));
}

Range DatabaseImpl::AddLinkedModels(const std::vector<const Model*>& list) {
    Range range = RangeOf(linkedModels_.size(), list.size());
    linkedModels_.insert(linkedModels_.end(), list.begin(), list.end());
    return range;
}

void DatabaseImpl::BuildIndexes() {
    IndexOccurrences();
    IndexConnections();
    IndexModelNames();
    linkedModels_.shrink_to_fit();
}

void DatabaseImpl::IndexOccurrences() {
    std::vector<const ObjOccImpl*> linked;
    for (const ObjOccImpl& occ : objOccs)
        if (occ.objDef) linked.push_back(&occ);

    std::vector<Range> byDef =
        GroupInto(occsByDef_, linked, objDefs.size(), [](const ObjOccImpl* occ) { return occ->objDef->index; });
    for (ObjDefImpl& def : objDefs) def.occs = byDef[def.index];
    occsByDefAndModel_ = occsByDef_;
    SortRangesBy(occsByDefAndModel_, byDef, ModelAddress);

    std::vector<const ObjOccImpl*> inModels;
    std::vector<Range> byModel =
        GroupInto(inModels, linked, models.size(), [](const ObjOccImpl* occ) { return occ->model->index; });
    occsByModel_.assign(inModels.begin(), inModels.end());
    linked = {};

    // The definitions of each model in the order of their first occurrence there, then by type.
    constexpr std::uint32_t kNotYet = std::numeric_limits<std::uint32_t>::max();
    std::vector<std::uint32_t> lastModel(objDefs.size(), kNotYet);
    std::vector<Range> defRanges(models.size());
    for (ModelImpl& model : models) {
        const Range occRange = byModel[model.index];
        model.occs = occRange;
        defRanges[model.index].first = static_cast<std::uint32_t>(defsByModel_.size());
        for (std::uint32_t i = 0; i < occRange.count; ++i) {
            const ObjDefImpl* def = inModels[occRange.first + i]->objDef;
            if (lastModel[def->index] == model.index) continue;
            lastModel[def->index] = model.index;
            defsByModel_.push_back(def);
        }
        defRanges[model.index].count = static_cast<std::uint32_t>(defsByModel_.size()) - defRanges[model.index].first;
        model.defs = defRanges[model.index];
    }
    defsByModel_.shrink_to_fit();
    SortRangesBy(defsByModel_, defRanges, [](const ObjDefImpl* def) { return def->type->number; });
}

void DatabaseImpl::IndexConnections() {
    std::vector<const CxnDefImpl*> linked;
    std::uint32_t order = 0;
    for (CxnDefImpl& cxn : cxnDefs) {
        if (!cxn.source || !cxn.target) continue;
        cxn.order = order++;
        linked.push_back(&cxn);
    }
    auto typeOf = [](const CxnDefImpl* cxn) { return cxn->type->number; };
    std::vector<Range> out =
        GroupInto(outgoing_, linked, objDefs.size(), [](const CxnDefImpl* cxn) { return cxn->source->index; });
    SortRangesBy(outgoing_, out, typeOf);
    std::vector<Range> in =
        GroupInto(incoming_, linked, objDefs.size(), [](const CxnDefImpl* cxn) { return cxn->target->index; });
    SortRangesBy(incoming_, in, typeOf);
    for (ObjDefImpl& def : objDefs) {
        def.outgoing = out[def.index];
        def.incoming = in[def.index];
    }

    // Placements of linked connections, grouped by the connection's place among them.
    std::vector<const CxnOccImpl*> placed;
    for (const CxnOccImpl& occ : cxnOccs)
        if (occ.cxnDef && occ.cxnDef->target) placed.push_back(&occ);
    std::vector<const CxnOccImpl*> byCxn;
    std::vector<Range> ranges =
        GroupInto(byCxn, placed, linked.size(), [](const CxnOccImpl* occ) { return occ->cxnDef->order; });
    cxnOccsByCxn_.assign(byCxn.begin(), byCxn.end());
    for (CxnDefImpl& cxn : cxnDefs) {
        if (!cxn.source || !cxn.target) continue;
        const Range range = ranges[cxn.order];
        cxn.occs = cxnOccsByCxn_.data() + range.first;
        cxn.occCount = range.count;
    }
}

void DatabaseImpl::IndexModelNames() {
    for (const ModelImpl& model : models) {
        for (const AttrValue& value : model.attrs) {
            if (value.type->number != kNameAttributeType) continue;
            auto& list = modelsByName_[NameKey{model.TypeNum(), value.Text()}];
            if (list.empty() || list.back() != &model) list.push_back(&model);
        }
    }
}

std::vector<const Model*> DatabaseImpl::FindModels(int modelType, LocaleId loc, const std::string& modelName) const {
    std::vector<const Model*> found;
    if (modelType == kUnmappedType) return found;
    auto it = modelsByName_.find(NameKey{modelType, modelName});
    if (it == modelsByName_.end()) return found;
    for (const ModelImpl* model : it->second) {
        const AttrValue* value = model->attrs.Value(kNameAttributeType, loc);
        if (value && value->Text() == modelName) found.push_back(model);
    }
    return found;
}

std::vector<const Occurrence*> DatabaseImpl::ObjOccsOf(Range range) const {
    return ListOf<const Occurrence*>(occsByDef_, range);
}

std::vector<const Occurrence*> DatabaseImpl::ModelOccsOf(Range range) const {
    return ListOf<const Occurrence*>(occsByModel_, range);
}

std::vector<const Model*> DatabaseImpl::LinkedModelsOf(Range range) const {
    return ListOf<const Model*>(linkedModels_, range);
}

std::vector<const Occurrence*> DatabaseImpl::OccurrencesIn(const ObjDefImpl* objDef, const Model* model) const {
    // The definition's occurrences sorted by model: compared by address, never dereferenced.
    const std::uintptr_t key = reinterpret_cast<std::uintptr_t>(static_cast<const void*>(model));
    auto [lower, upper] = RunWithKey(occsByDefAndModel_, objDef->occs, key, ModelAddress);
    return std::vector<const Occurrence*>(lower, upper);
}

std::vector<const ObjDef*> DatabaseImpl::ObjDefsIn(const ModelImpl* model, int objType) const {
    if (objType == kUnmappedType) return {};
    auto [lower, upper] =
        RunWithKey(defsByModel_, model->defs, objType, [](const ObjDefImpl* def) { return def->type->number; });
    return std::vector<const ObjDef*>(lower, upper);
}

std::pair<const CxnDefImpl* const*, const CxnDefImpl* const*> DatabaseImpl::ConnectionsOfType(
    const std::vector<const CxnDefImpl*>& list, Range range, int cxnType) const {
    return RunWithKey(list, range, cxnType, [](const CxnDefImpl* cxn) { return cxn->type->number; });
}

std::vector<const CxnDef*> DatabaseImpl::Connections(const ObjDefImpl* objDef, int direction, int cxnType) const {
    std::vector<const CxnDef*> result;
    if (cxnType == kUnmappedType) return result;
    const std::pair<const CxnDefImpl* const*, const CxnDefImpl* const*> none{nullptr, nullptr};
    auto outgoing = (direction & kCxnOutgoing) ? ConnectionsOfType(outgoing_, objDef->outgoing, cxnType) : none;
    auto incoming = (direction & kCxnIncoming) ? ConnectionsOfType(incoming_, objDef->incoming, cxnType) : none;
    result.reserve(static_cast<std::size_t>((outgoing.second - outgoing.first) + (incoming.second - incoming.first)));
    // Both lists are in file order; merge them, keeping a connection from the definition to
    // itself once.
    auto o = outgoing.first;
    auto i = incoming.first;
    while (o != outgoing.second || i != incoming.second) {
        if (i == incoming.second || (o != outgoing.second && (*o)->order < (*i)->order)) {
            result.push_back(*o++);
        } else if (o == outgoing.second || (*i)->order < (*o)->order) {
            result.push_back(*i++);
        } else {
            result.push_back(*o++);
            ++i;
        }
    }
    return result;
}

}  // namespace aris::repo
