#include "data/DataStructureIndex.h"

#include <limits>

#include "data/clsDATA_MEMBER.h"
#include "runtime/modGlobals.h"

namespace {

constexpr std::size_t kNoStop = std::numeric_limits<std::size_t>::max();

}  // namespace

DataStructureIndex& DataStructureIndex::Instance() {
    // Owned by the export, which releases its structures before it ends the index.
    return CurrentExport().Part<DataStructureIndex>();
}

clsDATA_STRUCTURE* DataStructureIndex::FindEquivalent(const ARISObjDefCollection& members,
                                                      const aris::ObjDef* dataObject) {
    Synchronize(clsDATA_STRUCTURE::Registry());
    std::unordered_set<std::string> givenKeys;
    BucketKey key{members.Count(), 0};
    for (const aris::ObjDef* member : members) {
        const std::string guid = member ? member->Guid() : std::string();
        if (givenKeys.insert(guid).second) key.keyHashSum += MemberSignature::KeyHash(guid);
    }
    auto bucket = buckets_.find(key);
    if (bucket == buckets_.end()) return nullptr;
    const std::size_t stop = dataObject ? StopPosition(dataObject) : kNoStop;
    for (const std::size_t position : bucket->second) {
        if (position >= stop) break;
        clsDATA_STRUCTURE* candidate = entries_[position - 1];
        if (HasExactlyTheseMembers(*candidate, members, givenKeys)) return candidate;
    }
    return nullptr;
}

bool DataStructureIndex::HasExactlyTheseMembers(const clsDATA_STRUCTURE& structure, const ARISObjDefCollection& members,
                                                const std::unordered_set<std::string>& givenKeys) {
    if (members.Count() != structure.ColDATA_MEMBER().Count()) return false;
    std::unordered_set<std::string> ownKeys;
    for (const clsDATA_MEMBER* member : structure.ColDATA_MEMBER()) {
        std::optional<std::string> matchKey = member->MatchKey();
        if (!matchKey || !givenKeys.count(*matchKey)) return false;
        ownKeys.insert(*matchKey);
    }
    for (const aris::ObjDef* member : members)
        if (!member || !ownKeys.count(member->Guid())) return false;
    return true;
}

void DataStructureIndex::MembersChanged(clsDATA_STRUCTURE& structure) {
    if (!Indexed(structure)) return;  // taken in with its members at the next search
    const std::size_t position = structure.indexPosition;
    if (const std::optional<BucketKey>& old = bucketKeyOf_[position - 1]) buckets_[*old].erase(position);
    PutIntoBucket(position);
}

void DataStructureIndex::Forget(const clsDATA_STRUCTURE& structure) {
    if (Indexed(structure)) Clear();
}

void DataStructureIndex::Synchronize(ConstructRegistry<clsDATA_STRUCTURE>& registry) {
    const bool sameRegistry = entries_.size() <= registry.Count() &&
                              (entries_.empty() || registry.Item(entries_.size()).get() == entries_.back());
    if (!sameRegistry) Clear();
    while (entries_.size() < registry.Count()) Append(*registry.Item(entries_.size() + 1));
}

void DataStructureIndex::Append(clsDATA_STRUCTURE& structure) {
    entries_.push_back(&structure);
    bucketKeyOf_.emplace_back();
    const std::size_t position = entries_.size();
    structure.indexPosition = position;
    if (!structure.IsGenerated && firstStructuresOfDataObjects_.size() < 2)
        firstStructuresOfDataObjects_.push_back(position);
    PutIntoBucket(position);
}

void DataStructureIndex::Clear() {
    for (clsDATA_STRUCTURE* structure : entries_) structure->indexPosition = 0;
    entries_.clear();
    bucketKeyOf_.clear();
    buckets_.clear();
    firstStructuresOfDataObjects_.clear();
}

void DataStructureIndex::PutIntoBucket(std::size_t position) {
    const MemberSignature& signature = entries_[position - 1]->Signature();
    std::optional<BucketKey>& key = bucketKeyOf_[position - 1];
    key.reset();
    if (signature.unmatchable) return;
    key = BucketKey{signature.count, signature.keyHashSum};
    buckets_[*key].insert(position);
}

std::size_t DataStructureIndex::StopPosition(const aris::ObjDef* dataObject) const {
    // Structures of one data object are registered under its key, so at most one of the first
    // two structures of data objects can be the given object's own.
    for (const std::size_t position : firstStructuresOfDataObjects_)
        if (!modMappingRule::SameARISItem(entries_[position - 1]->ARISObjectDefinition, dataObject)) return position;
    return kNoStop;
}

bool DataStructureIndex::Indexed(const clsDATA_STRUCTURE& structure) const {
    const std::size_t position = structure.indexPosition;
    return position != 0 && position <= entries_.size() && entries_[position - 1] == &structure;
}
