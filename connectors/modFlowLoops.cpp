#include "connectors/modFlowLoops.h"

#include <algorithm>
#include <utility>

#include "platform/Text.h"

namespace modFlowLoops {

int FlowLoopIndex::FindNode(const std::string& guid) const {
    auto it = nodeOfGuid_.find(guid);
    return it == nodeOfGuid_.end() ? -1 : it->second;
}

int FlowLoopIndex::NodeOf(const std::string& guid) {
    int found = FindNode(guid);
    if (found >= 0) return found;
    // The visited collection is keyed by Item.Guid ignoring letter case, as every keyed
    // collection is; two items whose identities differ only in case share one mark.
    auto [key, added] = visitKeyOfFoldedGuid_.emplace(platform::FoldAsciiCase(guid), static_cast<int>(visitedIn_.size()));
    if (added) visitedIn_.push_back(0);
    int node = static_cast<int>(nodes_.size());
    nodes_.push_back(Node{{}, key->second});
    nodeOfGuid_.emplace(guid, node);
    return node;
}

void FlowLoopIndex::Add(const aris::ObjDef* from, const aris::ObjDef* to) {
    if (!from || !to) return;
    int source = NodeOf(from->Guid());
    int target = NodeOf(to->Guid());
    nodes_[static_cast<std::size_t>(source)].targets.push_back(target);
}

bool FlowLoopIndex::Visit(int node) {
    std::uint32_t& mark = visitedIn_[static_cast<std::size_t>(nodes_[static_cast<std::size_t>(node)].visitKey)];
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
    if (start < 0) return false;  // no connector leaves TO
    const int goal = FindNode(fromGuid);  // -1: no connector reaches FROM

    // A new search number stands for an empty visited collection.
    if (++search_ == 0) {
        std::fill(visitedIn_.begin(), visitedIn_.end(), 0);
        search_ = 1;
    }
    Visit(start);
    // Depth first, in collection order: each frame is a function entered and the position of
    // the next connector leaving it.
    std::vector<std::pair<int, std::size_t>> frames{{start, 0}};
    while (!frames.empty()) {
        auto& [node, next] = frames.back();
        const std::vector<int>& targets = nodes_[static_cast<std::size_t>(node)].targets;
        if (next == targets.size()) {
            frames.pop_back();
            continue;
        }
        const int target = targets[next++];
        if (!Visit(target)) continue;
        if (target == goal) return true;
        frames.emplace_back(target, 0);
    }
    return false;
}

}  // namespace modFlowLoops
