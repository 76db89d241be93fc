// The loop search shared by control and data connectors: its answers against a plain
// transcription of the depth-first search over the connector collection, and its cost on a
// long chain.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "../constructs/FakeAris.h"
#include "platform/OrderedCollection.h"
#include "process/modFlowLoops.h"

namespace {

// A connector as the tests hold it: two functions.
struct Flow {
    const aris::ObjDef* from;
    const aris::ObjDef* to;
};
using FlowCollection = platform::OrderedCollection<Flow>;

modFlowLoops::ConnectorEnds EndsOf(const Flow& flow) { return {flow.from, flow.to}; }

// Functions by name; the name is the Item.Guid.
class Functions {
public:
    const aris::ObjDef* operator()(const std::string& guid) {
        for (const auto& f : functions_)
            if (f->Guid() == guid) return f.get();
        functions_.push_back(std::make_unique<fakearis::ObjDef>(guid));
        return functions_.back().get();
    }

private:
    std::vector<std::unique_ptr<fakearis::ObjDef>> functions_;
};

// The search as the connector class describes it, word for word: recursive, visiting the whole
// collection for every function entered, with one visited collection keyed by Item.Guid.
bool PlainSearch(const FlowCollection& flows, const Flow& self,
                 std::unique_ptr<platform::OrderedCollection<int>>& visited, const Flow*& start) {
    if (!start) {
        start = &self;
        visited = std::make_unique<platform::OrderedCollection<int>>();
        visited->Add(0, self.to->Guid());
    }
    if (self.from->Guid() == self.to->Guid()) return false;
    for (const Flow& flow : flows) {
        if (flow.from->Guid() != self.to->Guid() || visited->Contains(flow.to->Guid())) continue;
        visited->Add(0, flow.to->Guid());
        bool found = PlainSearch(flows, flow, visited, start);
        if (flow.to->Guid() == start->from->Guid() || found) return true;
    }
    return false;
}

bool PlainSearch(const FlowCollection& flows, const Flow& flow) {
    std::unique_ptr<platform::OrderedCollection<int>> visited;
    const Flow* start = nullptr;
    return PlainSearch(flows, flow, visited, start);
}

// Add the flows in order, each tested before it is added (as the connectors are created);
// returns the answers of the index.
std::vector<bool> AnswersWhileAdding(const std::vector<Flow>& flows, FlowCollection& collection,
                                     modFlowLoops::FlowLoopIndex& index) {
    std::vector<bool> answers;
    for (const Flow& flow : flows) {
        answers.push_back(modFlowLoops::IsMemberOfInvalidFlowLoop(index, collection, flow.from, flow.to, EndsOf));
        collection.Add(flow, flow.from->Guid() + "/" + flow.to->Guid());
    }
    return answers;
}

}  // namespace

TEST(FlowLoops, OnlyTheFlowThatClosesACycleReportsIt) {
    struct Row {
        const char* what;
        std::vector<std::pair<std::string, std::string>> flows;
        std::vector<bool> closes;
    };
    const std::vector<Row> rows = {
        {"cycle of three", {{"a", "b"}, {"b", "c"}, {"c", "a"}}, {false, false, true}},
        {"cycle of three added backwards", {{"c", "a"}, {"b", "c"}, {"a", "b"}}, {false, false, true}},
        {"self loop", {{"a", "a"}, {"a", "b"}, {"b", "a"}}, {false, false, true}},
        {"two functions both ways", {{"a", "b"}, {"b", "a"}, {"c", "b"}}, {false, true, false}},
        {"diamond without cycle", {{"a", "b"}, {"a", "c"}, {"b", "d"}, {"c", "d"}}, {false, false, false, false}},
        {"cycle reached through a side branch",
         {{"a", "b"}, {"b", "x"}, {"x", "y"}, {"b", "c"}, {"c", "a"}},
         {false, false, false, false, true}},
        {"flow into a separate cycle", {{"a", "b"}, {"b", "a"}, {"c", "a"}, {"b", "c"}}, {false, true, false, true}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Functions f;
        std::vector<Flow> flows;
        for (const auto& [from, to] : row.flows) flows.push_back({f(from), f(to)});
        FlowCollection collection;
        modFlowLoops::FlowLoopIndex index;
        EXPECT_EQ(AnswersWhileAdding(flows, collection, index), row.closes);
        EXPECT_EQ(index.Followed(), flows.size() - 1);
    }
}

TEST(FlowLoops, MissingEndsTakeNoPart) {
    Functions f;
    FlowCollection collection;
    collection.Add({f("a"), f("b")});
    collection.Add({nullptr, f("a")});  // from the process's source
    collection.Add({f("b"), nullptr});  // to the process's sink
    modFlowLoops::FlowLoopIndex index;
    EXPECT_TRUE(modFlowLoops::IsMemberOfInvalidFlowLoop(index, collection, f("b"), f("a"), EndsOf));
    EXPECT_FALSE(modFlowLoops::IsMemberOfInvalidFlowLoop(index, collection, nullptr, f("a"), EndsOf));
    EXPECT_FALSE(modFlowLoops::IsMemberOfInvalidFlowLoop(index, collection, f("a"), f("c"), EndsOf));
    EXPECT_EQ(index.Followed(), 3u);
}

// Random flows between a few functions, some of whose identities differ only in letter case
// (one entry in the visited collection, but different ARIS items): every answer of the index
// equals that of the plain search.
TEST(FlowLoops, SameAnswersAsThePlainSearch) {
    std::mt19937 random(20240305);
    const std::vector<std::string> names = {"a", "b", "c", "d", "e", "f", "g", "h", "A", "B", "C"};
    int cycles = 0;
    for (int round = 0; round < 3000; ++round) {
        Functions f;
        const int functions = 2 + static_cast<int>(random() % (names.size() - 1));
        const int count = static_cast<int>(random() % 30);
        std::vector<Flow> flows;
        FlowCollection plain;
        for (int i = 0; i < count; ++i) {
            const aris::ObjDef* from = f(names[random() % functions]);
            const aris::ObjDef* to = f(names[random() % functions]);
            std::string key = from->Guid() + "/" + to->Guid();
            if (plain.Contains(key)) continue;  // a connector key comes once
            plain.Add({from, to}, key);
            flows.push_back({from, to});
        }
        std::vector<bool> expected;
        FlowCollection growing;
        for (const Flow& flow : flows) {
            expected.push_back(PlainSearch(growing, flow));
            growing.Add(flow);
        }
        FlowCollection collection;
        modFlowLoops::FlowLoopIndex index;
        std::vector<bool> answers = AnswersWhileAdding(flows, collection, index);
        ASSERT_EQ(answers, expected) << "round " << round;
        for (bool closes : answers) cycles += closes ? 1 : 0;
    }
    EXPECT_GT(cycles, 1000);  // the rounds do exercise cycles
}

// One chain of 10,000 functions with a back edge from every tenth function nine places back and
// from every thousandth to the first, added from the end of the chain: each test walks the rest
// of the chain, which the index does once per test.
TEST(FlowLoops, LongChainWithBackEdgesIsCheckedInSeconds) {
    const int n = 10000;
    Functions f;
    std::vector<const aris::ObjDef*> chain(n + 1);
    for (int k = 1; k <= n; ++k) chain[k] = f("F" + std::to_string(k));
    std::vector<Flow> flows;
    for (int k = n; k >= 1; --k) {
        if (k < n) flows.push_back({chain[k], chain[k + 1]});
        if (k % 10 == 0) flows.push_back({chain[k], chain[k - 9]});
        if (k % 1000 == 0) flows.push_back({chain[k], chain[1]});
    }
    FlowCollection collection;
    modFlowLoops::FlowLoopIndex index;
    auto begin = std::chrono::steady_clock::now();
    std::vector<bool> answers = AnswersWhileAdding(flows, collection, index);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    std::printf("[ timing   ] %zu loop tests over a chain of %d functions: %.3f s\n", flows.size(), n, seconds);

    // Added from the end, a chain flow F(k) -> F(k+1) closes the cycle F(k+9) -> F(k) exactly
    // when k is 1 more than a multiple of ten; no back edge closes one (its chain is not there yet).
    int closing = 0;
    for (std::size_t i = 0; i < flows.size(); ++i) {
        if (!answers[i]) continue;
        ++closing;
        ASSERT_EQ(flows[i].to->Guid(), "F" + std::to_string(std::stoi(flows[i].from->Guid().substr(1)) + 1));
        ASSERT_EQ(std::stoi(flows[i].from->Guid().substr(1)) % 10, 1);
    }
    EXPECT_EQ(closing, n / 10);
#ifdef LP_SANITIZED
    EXPECT_LT(seconds, 120.0);  // checked builds run many times slower
#else
    EXPECT_LT(seconds, 10.0);
#endif
}
