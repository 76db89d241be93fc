#include "process/modFlowLoops.h"

#include <algorithm>
#include <utility>

#include "platform/Text.h"

namespace modFlowLoops {

int FlowLoopIndex::FindNode(const std::string& guid) const {
    auto it = nodeOfGuid_.find(guid);
    return it == nodeOfGuid_.end() ? -1 : it->second;
}

int FlowLoopIndex::NodeOf(const std::string& guid) {
    const int found = FindNode(guid);
    if (found >= 0) return found;
    // The visited collection is keyed by Item.Guid ignoring letter case, as every keyed
    // collection is; two items whose identities differ only in case share one mark.
    auto [key, added] =
        visitKeyOfFoldedGuid_.emplace(platform::FoldAsciiCase(guid), static_cast<int>(visitedIn_.size()));
    if (added) visitedIn_.push_back(0);
    const int node = static_cast<int>(visitKeyOf_.size());
    visitKeyOf_.push_back(key->second);
    firstOut_.push_back(-1);
    lastOut_.push_back(-1);
    nodeOfGuid_.emplace(guid, node);
    return node;
}

void FlowLoopIndex::Add(const aris::ObjDef* from, const aris::ObjDef* to) {
    if (!from || !to) return;
    const auto source = static_cast<std::size_t>(NodeOf(from->Guid()));
    const int target = NodeOf(to->Guid());
    const int connector = static_cast<int>(targetOf_.size());
    targetOf_.push_back(target);
    nextOut_.push_back(-1);
    if (lastOut_[source] < 0) firstOut_[source] = connector;
    else nextOut_[static_cast<std::size_t>(lastOut_[source])] = connector;
    lastOut_[source] = connector;
}

bool FlowLoopIndex::Visit(int node) {
    std::uint32_t& mark = visitedIn_[static_cast<std::size_t>(visitKeyOf_[static_cast<std::size_t>(node)])];
    if (mark == search_) return false;
    mark = search_;
    return true;
}

bool FlowLoopIndex::ClosesLoop(const aris::ObjDef* from, const aris::ObjDef* to) {
    if (!from || !to) return false;
    const std::string fromGuid = from->Guid();
    const std::string toGuid = to->Guid();
    if (fromGuid == toGuid) return false;
    const int start = FindNode(toGuid);
    if (start < 0) return false;          // no connector leaves TO
    const int goal = FindNode(fromGuid);  // -1: no connector reaches FROM

    // A new search number stands for an empty visited collection.
    if (++search_ == 0) {
        std::fill(visitedIn_.begin(), visitedIn_.end(), 0);
        search_ = 1;
    }
    Visit(start);
    // Depth first, in collection order.
    frames_.clear();
    frames_.emplace_back(start, firstOut_[static_cast<std::size_t>(start)]);
    while (!frames_.empty()) {
        int& next = frames_.back().second;
        if (next < 0) {
            frames_.pop_back();
            continue;
        }
        const int target = targetOf_[static_cast<std::size_t>(next)];
        next = nextOut_[static_cast<std::size_t>(next)];
        if (!Visit(target)) continue;
        if (target == goal) return true;
        frames_.emplace_back(target, firstOut_[static_cast<std::size_t>(target)]);
    }
    return false;
}

}  // namespace modFlowLoops
