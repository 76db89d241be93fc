#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/Error.h"
#include "platform/Text.h"

namespace platform {

/// The key index of an OrderedCollection: positions of keyed items in an open-addressing table,
/// hashed and compared ignoring ASCII letter case. It keeps no copy of the keys; every call is
/// given the collection's keys, so a copied or moved collection keeps a valid index.
class CollectionKeyIndex {
public:
    /// Position (from 0) of the key, or npos.
    std::size_t Find(const std::vector<std::string>& keys, std::string_view key) const {
        if (slots_.empty()) return npos;
        std::uint32_t hash = Hash(key);
        std::size_t mask = slots_.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            const Slot& slot = slots_[i];
            if (slot.position == 0) return npos;
            if (slot.hash == hash && EqualsFolded(keys[slot.position - 1], key)) return slot.position - 1;
        }
    }

    /// Record the key at a position (from 0); the key must not be present.
    void Insert(std::string_view key, std::size_t position) {
        if ((used_ + 1) * 4 > slots_.size() * 3) Grow();
        Place(Slot{Hash(key), static_cast<std::uint32_t>(position + 1)});
        ++used_;
    }

    void Clear() {
        slots_.clear();
        used_ = 0;
    }

    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

private:
    struct Slot {
        std::uint32_t hash = 0;
        std::uint32_t position = 0;  ///< position + 1; 0 marks a free slot
    };

    static char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

    static std::uint32_t Hash(std::string_view key) {
        std::uint64_t h = 14695981039346656037ULL;  // FNV-1a over the folded bytes
        for (char c : key) {
            h ^= static_cast<unsigned char>(Lower(c));
            h *= 1099511628211ULL;
        }
        return static_cast<std::uint32_t>(h ^ (h >> 32));
    }

    static bool EqualsFolded(std::string_view a, std::string_view b) {
        if (a.size() != b.size()) return false;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (Lower(a[i]) != Lower(b[i])) return false;
        return true;
    }

    void Place(Slot slot) {
        std::size_t mask = slots_.size() - 1;
        std::size_t i = slot.hash & mask;
        while (slots_[i].position != 0) i = (i + 1) & mask;
        slots_[i] = slot;
    }

    void Grow() {
        std::vector<Slot> old = std::move(slots_);
        slots_.assign(old.empty() ? 8 : old.size() * 2, Slot{});
        for (const Slot& slot : old)
            if (slot.position != 0) Place(slot);
    }

    std::vector<Slot> slots_;
    std::size_t used_ = 0;
};

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
            if (index_.Find(keys_, key) != CollectionKeyIndex::npos) RaiseStandardError(kErrDuplicateKey);
            // Keys are kept from the first keyed item on; unkeyed lists hold none.
            keys_.resize(items_.size());
            keys_.emplace_back(key);
            index_.Insert(key, items_.size());
        } else if (!keys_.empty()) {
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
        std::size_t at = index_.Find(keys_, key);
        if (at == CollectionKeyIndex::npos) RaiseStandardError(kErrInvalidCall);
        return items_[at];
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
        std::size_t at = index_.Find(keys_, key);
        return at == CollectionKeyIndex::npos ? nullptr : &items_[at];
    }
    const T* Find(std::string_view key) const {
        return const_cast<OrderedCollection*>(this)->Find(key);
    }

    /// True when the key is present.
    bool Contains(std::string_view key) const { return index_.Find(keys_, key) != CollectionKeyIndex::npos; }

    /// The key an item was added with ("" for none), by position from 1.
    const std::string& KeyAt(std::size_t position) const {
        if (position < 1 || position > items_.size()) RaiseStandardError(kErrInvalidCall);
        static const std::string kNoKey;
        return position <= keys_.size() ? keys_[position - 1] : kNoKey;
    }

    /// Remove the item at a position from 1; later positions move up by one.
    void Remove(std::size_t position) {
        if (position < 1 || position > items_.size()) RaiseStandardError(kErrInvalidCall);
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(position - 1));
        if (position <= keys_.size()) keys_.erase(keys_.begin() + static_cast<std::ptrdiff_t>(position - 1));
        RebuildIndex();
    }

    /// Remove the item under a key; a missing key raises error 5.
    void Remove(std::string_view key) {
        std::size_t at = index_.Find(keys_, key);
        if (at == CollectionKeyIndex::npos) RaiseStandardError(kErrInvalidCall);
        Remove(at + 1);
    }

    void Clear() {
        items_.clear();
        keys_.clear();
        index_.Clear();
    }

    iterator begin() { return items_.begin(); }
    iterator end() { return items_.end(); }
    const_iterator begin() const { return items_.begin(); }
    const_iterator end() const { return items_.end(); }

private:
    void RebuildIndex() {
        index_.Clear();
        for (std::size_t i = 0; i < keys_.size(); ++i)
            if (!keys_[i].empty()) index_.Insert(keys_[i], i);
    }

    std::vector<T> items_;
    std::vector<std::string> keys_;  ///< by position; shorter than items_ where no key follows
    CollectionKeyIndex index_;
};

}  // namespace platform
