#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/Error.h"
#include "platform/Text.h"

namespace platform {

/// The ordered keyed collection used by every registry and list: insertion order, positions
/// from 1, optional unique keys compared ignoring ASCII letter case, hashed key lookup.
template <class T>
class OrderedCollection {
public:
    using value_type = T;
    using iterator = typename std::vector<T>::iterator;
    using const_iterator = typename std::vector<T>::const_iterator;

    /// Add a value at the end; a non-empty key already present raises error 457.
    void Add(T value, std::string_view key = {}) {
        if (!key.empty()) {
            std::string folded = FoldAsciiCase(key);
            if (index_.count(folded)) RaiseStandardError(kErrDuplicateKey);
            index_.emplace(std::move(folded), items_.size());
            keys_.emplace_back(key);
        } else {
            keys_.emplace_back();
        }
        items_.push_back(std::move(value));
    }

    /// Number of items.
    std::size_t Count() const { return items_.size(); }
    bool Empty() const { return items_.empty(); }

    /// Item at a position counted from 1; a position outside raises error 5.
    T& Item(std::size_t position) {
        if (position < 1 || position > items_.size()) RaiseStandardError(kErrInvalidCall);
        return items_[position - 1];
    }
    const T& Item(std::size_t position) const {
        return const_cast<OrderedCollection*>(this)->Item(position);
    }

    /// Item under a key; a missing key raises error 5.
    T& Item(std::string_view key) {
        auto it = index_.find(FoldAsciiCase(key));
        if (it == index_.end()) RaiseStandardError(kErrInvalidCall);
        return items_[it->second];
    }
    const T& Item(std::string_view key) const {
        return const_cast<OrderedCollection*>(this)->Item(key);
    }
    T& Item(const char* key) { return Item(std::string_view(key)); }
    const T& Item(const char* key) const { return Item(std::string_view(key)); }
    T& Item(const std::string& key) { return Item(std::string_view(key)); }
    const T& Item(const std::string& key) const { return Item(std::string_view(key)); }

    /// Pointer to the item under a key, or nullptr; never raises.
    T* Find(std::string_view key) {
        auto it = index_.find(FoldAsciiCase(key));
        return it == index_.end() ? nullptr : &items_[it->second];
    }
    const T* Find(std::string_view key) const {
        return const_cast<OrderedCollection*>(this)->Find(key);
    }

    /// True when the key is present.
    bool Contains(std::string_view key) const { return index_.count(FoldAsciiCase(key)) != 0; }

    /// The key an item was added with ("" for none), by position from 1.
    const std::string& KeyAt(std::size_t position) const {
        if (position < 1 || position > keys_.size()) RaiseStandardError(kErrInvalidCall);
        return keys_[position - 1];
    }

    /// Remove the item at a position from 1; later positions move up by one.
    void Remove(std::size_t position) {
        if (position < 1 || position > items_.size()) RaiseStandardError(kErrInvalidCall);
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(position - 1));
        keys_.erase(keys_.begin() + static_cast<std::ptrdiff_t>(position - 1));
        RebuildIndex();
    }

    /// Remove the item under a key; a missing key raises error 5.
    void Remove(std::string_view key) {
        auto it = index_.find(FoldAsciiCase(key));
        if (it == index_.end()) RaiseStandardError(kErrInvalidCall);
        Remove(it->second + 1);
    }

    void Clear() {
        items_.clear();
        keys_.clear();
        index_.clear();
    }

    iterator begin() { return items_.begin(); }
    iterator end() { return items_.end(); }
    const_iterator begin() const { return items_.begin(); }
    const_iterator end() const { return items_.end(); }

private:
    void RebuildIndex() {
        index_.clear();
        for (std::size_t i = 0; i < keys_.size(); ++i)
            if (!keys_[i].empty()) index_.emplace(FoldAsciiCase(keys_[i]), i);
    }

    std::vector<T> items_;
    std::vector<std::string> keys_;
    std::unordered_map<std::string, std::size_t> index_;
};

}  // namespace platform
