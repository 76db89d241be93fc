#include "platform/OrderedCollection.h"

#include <gtest/gtest.h>

#include <functional>

using platform::Error;
using platform::OrderedCollection;

namespace {

int ErrorNumberOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const Error& e) {
        return e.Number();
    }
    return 0;
}

TEST(OrderedCollection, KeepsInsertionOrderAndCountsPositionsFromOne) {
    OrderedCollection<std::string> c;
    c.Add("first", "K1");
    c.Add("unkeyed");
    c.Add("third", "k3");
    ASSERT_EQ(c.Count(), 3u);
    EXPECT_EQ(c.Item(1), "first");
    EXPECT_EQ(c.Item(2), "unkeyed");
    EXPECT_EQ(c.Item(3), "third");
    std::vector<std::string> seen(c.begin(), c.end());
    EXPECT_EQ(seen, (std::vector<std::string>{"first", "unkeyed", "third"}));
    EXPECT_EQ(c.KeyAt(1), "K1");
    EXPECT_EQ(c.KeyAt(2), "");
}

TEST(OrderedCollection, KeysIgnoreLetterCaseAndFailWithTheRuntimeNumbers) {
    OrderedCollection<int> c;
    c.Add(1, "Guid-ABC");
    EXPECT_EQ(c.Item("guid-abc"), 1);
    EXPECT_TRUE(c.Contains("GUID-abc"));
    EXPECT_EQ(ErrorNumberOf([&] { c.Add(2, "GUID-abc"); }), 457);
    EXPECT_EQ(c.Count(), 1u);  // the first stays
    EXPECT_EQ(ErrorNumberOf([&] { c.Item("missing"); }), 5);
    EXPECT_EQ(ErrorNumberOf([&] { c.Item(std::size_t{0}); }), 5);
    EXPECT_EQ(ErrorNumberOf([&] { c.Item(std::size_t{2}); }), 5);
    EXPECT_EQ(c.Find("nope"), nullptr);
}

TEST(OrderedCollection, RemoveKeepsTheKeyIndexRight) {
    OrderedCollection<int> c;
    c.Add(1, "a");
    c.Add(2, "b");
    c.Add(3, "c");
    c.Remove("a");
    EXPECT_EQ(c.Item("c"), 3);
    EXPECT_EQ(c.Item(1), 2);
    c.Add(4, "a");  // the key is free again
    EXPECT_EQ(c.Item(3), 4);
}

TEST(OrderedCollection, LooksUpManyKeysByHash) {
    OrderedCollection<int> c;
    for (int i = 0; i < 200000; ++i) c.Add(i, "key" + std::to_string(i));
    long sum = 0;
    for (int i = 0; i < 200000; ++i) sum += c.Item("KEY" + std::to_string(i));
    EXPECT_EQ(sum, 199999L * 200000L / 2);
}

TEST(OrderedCollection, KeysAfterUnkeyedItemsAndCopiesKeepTheirIndex) {
    OrderedCollection<int> c;
    c.Add(1);
    c.Add(2);
    c.Add(3, "Late");
    c.Add(4);
    EXPECT_EQ(c.KeyAt(1), "");
    EXPECT_EQ(c.KeyAt(3), "Late");
    EXPECT_EQ(c.KeyAt(4), "");
    EXPECT_EQ(ErrorNumberOf([&] { c.KeyAt(5); }), 5);
    OrderedCollection<int> copy = c;
    OrderedCollection<int> moved = std::move(c);
    for (OrderedCollection<int>* each : {&copy, &moved}) {
        EXPECT_EQ(each->Item("LATE"), 3);
        each->Add(5, "other");
        EXPECT_EQ(each->Item("Other"), 5);
        each->Remove(1);
        EXPECT_EQ(each->Item("late"), 3);
        EXPECT_EQ(each->KeyAt(2), "Late");
    }
    // Keys that differ only beyond ASCII letter case are different keys.
    OrderedCollection<int> u;
    u.Add(1, "\xC3\xA4");  // a-umlaut
    u.Add(2, "\xC3\x84");  // A-umlaut
    EXPECT_EQ(u.Item("\xC3\x84"), 2);
}

}  // namespace
