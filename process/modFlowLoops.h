#pragma once
// The loop search shared by control and data connectors: does a new flow from one function to
// another close a cycle over the flows a process already holds?
//
// The answer is that of a depth-first walk from the new flow's TO along the connectors already
// in the process's collection (in collection order), with one visited collection shared by all
// branches and keyed by Item.Guid, that is true as soon as it reaches the new flow's FROM. A
// flow from a function to itself is a loop connector and never closes a cycle.
//
// The walk reads the connectors through an index by FROM that follows the collection: each
// search first takes in the connectors appended since the last search (the collections only
// grow), so one search walks each connector at most once and the index is built once overall.
//
// Use, for a kind of connector held in `Col_X_CONNECTOR` of the process:
//
//   bool closes = modFlowLoops::IsMemberOfInvalidFlowLoop(
//       process.X_FlowLoopIndex, process.Col_X_CONNECTOR, from, to,
//       [](const Owned<clsX_CONNECTOR>& c) {
//           return modFlowLoops::ConnectorEnds{c->FROM_ARISObjectDefinition, c->TO_ARISObjectDefinition};
//       });
//
// A connector whose ends function gives a missing end (a data connector from the process's
// source or to its sink) takes no part in the walk.
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "aris/Automation.h"

namespace modFlowLoops {

/// The two functions a connector joins, as the loop search reads them.
struct ConnectorEnds {
    const aris::ObjDef* from = nullptr;
    const aris::ObjDef* to = nullptr;
};

/// The connectors of one collection, indexed by the Item.Guid of their FROM, in collection order.
class FlowLoopIndex {
public:
    /// Take in the connectors at the positions (from 1) after the ones already taken in;
    /// `endsOf` gives the ends of one connector (an item of the collection).
    template <class Collection, class EndsOf>
    void Follow(const Collection& connectors, EndsOf endsOf) {
        for (std::size_t position = followed_ + 1; position <= connectors.Count(); ++position) {
            const ConnectorEnds ends = endsOf(connectors.Item(position));
            Add(ends.from, ends.to);
            followed_ = position;
        }
    }

    /// How many items of the collection have been taken in.
    std::size_t Followed() const { return followed_; }

    /// True when a flow from `from` to `to` closes a cycle over the connectors taken in: `from`
    /// is reached from `to`. False for a loop connector (`from` the same item as `to`) and when
    /// either end is missing.
    bool ClosesLoop(const aris::ObjDef* from, const aris::ObjDef* to);

private:
    void Add(const aris::ObjDef* from, const aris::ObjDef* to);
    int NodeOf(const std::string& guid);
    int FindNode(const std::string& guid) const;
    // Mark a function visited in the current search; false when it was already.
    bool Visit(int node);

    std::size_t followed_ = 0;
    // Functions met as ends of connectors, by exact Item.Guid (the same ARIS item).
    std::unordered_map<std::string, int> nodeOfGuid_;
    // Per function: its place in the visited marks (its Item.Guid ignoring case), and the first
    // and last connector leaving it. Per connector: its TO and the next connector leaving the
    // same FROM, in collection order. Flat arrays keep a long walk in few cache lines.
    std::vector<int> visitKeyOf_;
    std::vector<int> firstOut_;
    std::vector<int> lastOut_;
    std::vector<int> targetOf_;
    std::vector<int> nextOut_;
    std::unordered_map<std::string, int> visitKeyOfFoldedGuid_;
    std::vector<std::uint32_t> visitedIn_;  // per visit key: the search that marked it
    std::uint32_t search_ = 0;
    // The walk of the current search: a function entered and the next connector to follow from
    // it (-1: none left); kept between searches to save allocations.
    std::vector<std::pair<int, int>> frames_;
};

/// The loop search over a process's connector collection: brings the index up to date with
/// the collection, then answers ClosesLoop.
template <class Collection, class EndsOf>
bool IsMemberOfInvalidFlowLoop(FlowLoopIndex& index, const Collection& connectors, const aris::ObjDef* from,
                               const aris::ObjDef* to, EndsOf endsOf) {
    index.Follow(connectors, endsOf);
    return index.ClosesLoop(from, to);
}

}  // namespace modFlowLoops
