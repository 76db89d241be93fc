#pragma once
// The index behind the equivalence search of structures. A search visits the structure
// registry in order and takes the first structure whose members are exactly the given data
// objects; with a data object given it ends, without result, at the first registered structure
// of another data object. The index gives the same answer without visiting every structure:
// it keeps the registry positions of the structures in buckets by member signature (count and
// order-free hash of the member keys), so a search looks at the few structures of its bucket
// and checks each of them exactly.
//
// The index follows the registry by itself: structures registered by any route are taken in
// at the next search, a structure whose member list grows tells the index (AddMember), and a
// destroyed structure (the registries are released) empties it.
#include <cstddef>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "data/clsDATA_STRUCTURE.h"
#include "mapping/modMappingRule.h"

class DataStructureIndex {
public:
    /// The index of the structure registry.
    static DataStructureIndex& Instance();

    /// The first structure of the registry, in registry order, whose members are exactly the
    /// given objects; with a data object given, only structures before the first registered
    /// structure of another data object count. nullptr when there is none.
    clsDATA_STRUCTURE* FindEquivalent(const ARISObjDefCollection& members, const aris::ObjDef* dataObject);

    /// True when the structure has as many members as objects are given, every member matches
    /// a given object and every given object a member (`givenKeys`: the objects' Item.Guid texts).
    static bool HasExactlyTheseMembers(const clsDATA_STRUCTURE& structure, const ARISObjDefCollection& members,
                                       const std::unordered_set<std::string>& givenKeys);

    /// The structure's member list changed: move it to the bucket of its new signature.
    void MembersChanged(clsDATA_STRUCTURE& structure);
    /// A registered structure is being destroyed: the registry is being released.
    void Forget(const clsDATA_STRUCTURE& structure);

private:
    struct BucketKey {
        std::size_t count;
        std::uint64_t keyHashSum;
        bool operator==(const BucketKey&) const = default;
    };
    struct BucketKeyHash {
        std::size_t operator()(const BucketKey& key) const {
            return std::hash<std::uint64_t>()(key.keyHashSum * 31u + key.count);
        }
    };
    using Bucket = std::set<std::size_t>;  // registry positions, ascending

    /// Take in the structures registered since the last search; start over when the registry
    /// is not the one indexed.
    void Synchronize(ConstructRegistry<clsDATA_STRUCTURE>& registry);
    void Append(clsDATA_STRUCTURE& structure);
    void Clear();
    void PutIntoBucket(std::size_t position);
    /// The registry position at which a search for the data object ends (past the end: none).
    std::size_t StopPosition(const aris::ObjDef* dataObject) const;
    bool Indexed(const clsDATA_STRUCTURE& structure) const;

    std::vector<clsDATA_STRUCTURE*> entries_;            // by registry position - 1
    std::vector<std::optional<BucketKey>> bucketKeyOf_;  // by registry position - 1; none: unmatchable
    std::unordered_map<BucketKey, Bucket, BucketKeyHash> buckets_;
    std::vector<std::size_t> firstStructuresOfDataObjects_;  // positions of the first two not generated
};
