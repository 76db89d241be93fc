#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/Error.h"
#include "platform/Text.h"

namespace platform {

/// The keys of an OrderedCollection: the texts back to back in one buffer, and their positions
/// in an open-addressing table hashed and compared ignoring ASCII letter case.
class CollectionKeys {
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    /// The key at a position from 0 ("" for an item added without key).
    std::string_view KeyAt(std::size_t position) const {
        if (position >= ends_.size()) return {};
        const std::size_t begin = position == 0 ? 0 : ends_[position - 1];
        return std::string_view(chars_).substr(begin, ends_[position] - begin);
    }

    /// Position (from 0) of the key, or npos.
    std::size_t Find(std::string_view key) const {
        if (key.empty()) return npos;
        if (slots_.empty()) {
            // A few keys are compared one by one; the table comes with the kHashFrom-th position.
            for (std::size_t i = 0; i < ends_.size(); ++i)
                if (EqualsFolded(KeyAt(i), key)) return i;
            return npos;
        }
        const std::uint32_t hash = Hash(key);
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            const Slot& slot = slots_[i];
            if (slot.position == 0) return npos;
            if (slot.hash == hash && EqualsFolded(KeyAt(slot.position - 1), key)) return slot.position - 1;
        }
    }

    /// Record a key (not present yet) for the item at a position from 0, the last one added.
    void Add(std::string_view key, std::size_t position) {
        while (ends_.size() < position) ends_.push_back(static_cast<std::uint32_t>(chars_.size()));
        chars_.append(key);
        ends_.push_back(static_cast<std::uint32_t>(chars_.size()));
        if (!slots_.empty()) {
            Insert(Hash(key), position);
        } else if (ends_.size() >= kHashFrom) {
            IndexAll();
        }
    }

    /// Drop the key of the item at a position from 0; later positions move up by one.
    void Erase(std::size_t position) {
        if (position < ends_.size()) {
            const std::size_t begin = position == 0 ? 0 : ends_[position - 1];
            const std::uint32_t length = ends_[position] - static_cast<std::uint32_t>(begin);
            chars_.erase(begin, length);
            ends_.erase(ends_.begin() + static_cast<std::ptrdiff_t>(position));
            for (std::size_t i = position; i < ends_.size(); ++i) ends_[i] -= length;
        }
        slots_.clear();
        used_ = 0;
        if (ends_.size() >= kHashFrom) IndexAll();
    }

private:
    static constexpr std::size_t kHashFrom = 8;

    void IndexAll() {
        for (std::size_t i = 0; i < ends_.size(); ++i) {
            const std::string_view key = KeyAt(i);
            if (!key.empty()) Insert(Hash(key), i);
        }
    }

    struct Slot {
        std::uint32_t hash = 0;
        std::uint32_t position = 0;  ///< position + 1; 0 marks a free slot
    };

    // A hash equal for keys that differ in ASCII letter case only: every byte with bit 0x20
    // set (which makes upper and lower case letters one), eight bytes at a time.
    static std::uint32_t Hash(std::string_view key) {
        constexpr std::uint64_t kFold = 0x2020202020202020ULL;
        constexpr std::uint64_t kMix = 0x9E3779B97F4A7C15ULL;
        std::uint64_t h = key.size() * kMix;
        std::size_t i = 0;
        for (; i + 8 <= key.size(); i += 8) {
            std::uint64_t word;
            std::memcpy(&word, key.data() + i, 8);
            h = (h ^ (word | kFold)) * kMix;
            h ^= h >> 29;
        }
        std::uint64_t tail = 0;
        for (std::size_t shift = 0; i < key.size(); ++i, shift += 8)
            tail |= static_cast<std::uint64_t>(static_cast<unsigned char>(key[i]) | 0x20U) << shift;
        h = (h ^ tail) * kMix;
        h ^= h >> 32;
        return static_cast<std::uint32_t>(h);
    }

    static bool EqualsFolded(std::string_view a, std::string_view b) { return a == b || EqualsIgnoringCase(a, b); }

    void Insert(std::uint32_t hash, std::size_t position) {
        if ((used_ + 1) * 4 > slots_.size() * 3) Grow();
        Place(Slot{hash, static_cast<std::uint32_t>(position + 1)});
        ++used_;
    }

    void Place(Slot slot) {
        const std::size_t mask = slots_.size() - 1;
        std::size_t i = slot.hash & mask;
        while (slots_[i].position != 0) i = (i + 1) & mask;
        slots_[i] = slot;
    }

    void Grow() {
        const std::vector<Slot> old = std::move(slots_);
        slots_.assign(old.empty() ? 8 : old.size() * 2, Slot{});
        for (const Slot& slot : old)
            if (slot.position != 0) Place(slot);
    }

    std::string chars_;                ///< the keys back to back
    std::vector<std::uint32_t> ends_;  ///< where each position's key ends in chars_
    std::vector<Slot> slots_;          ///< empty while fewer than kHashFrom positions have keys
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

    OrderedCollection() = default;
    OrderedCollection(const OrderedCollection& other)
        : items_(other.items_), keys_(other.keys_ ? std::make_unique<CollectionKeys>(*other.keys_) : nullptr) {}
    OrderedCollection& operator=(const OrderedCollection& other) {
        if (this != &other) {
            items_ = other.items_;
            keys_ = other.keys_ ? std::make_unique<CollectionKeys>(*other.keys_) : nullptr;
        }
        return *this;
    }
    OrderedCollection(OrderedCollection&&) noexcept = default;
    OrderedCollection& operator=(OrderedCollection&&) noexcept = default;

    /// Add a value at the end; a non-empty key already present raises error 457.
    void Add(T value, std::string_view key = {}) {
        if (!key.empty()) {
            if (Position(key) != CollectionKeys::npos) RaiseStandardError(kErrDuplicateKey);
            // Keys are kept from the first keyed item on; unkeyed lists hold none.
            if (!keys_) keys_ = std::make_unique<CollectionKeys>();
            items_.push_back(std::move(value));
            keys_->Add(key, items_.size() - 1);
            return;
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
    const T& Item(std::size_t position) const { return const_cast<OrderedCollection*>(this)->Item(position); }

    /// Item under a key; a missing key raises error 5.
    T& Item(std::string_view key) {
        const std::size_t at = Position(key);
        if (at == CollectionKeys::npos) RaiseStandardError(kErrInvalidCall);
        return items_[at];
    }
    const T& Item(std::string_view key) const { return const_cast<OrderedCollection*>(this)->Item(key); }
    T& Item(const char* key) { return Item(std::string_view(key)); }
    const T& Item(const char* key) const { return Item(std::string_view(key)); }
    T& Item(const std::string& key) { return Item(std::string_view(key)); }
    const T& Item(const std::string& key) const { return Item(std::string_view(key)); }

    /// Pointer to the item under a key, or nullptr; never raises.
    T* Find(std::string_view key) {
        const std::size_t at = Position(key);
        return at == CollectionKeys::npos ? nullptr : &items_[at];
    }
    const T* Find(std::string_view key) const { return const_cast<OrderedCollection*>(this)->Find(key); }

    /// True when the key is present.
    bool Contains(std::string_view key) const { return Position(key) != CollectionKeys::npos; }

    /// The key an item was added with ("" for none), by position from 1.
    std::string KeyAt(std::size_t position) const {
        if (position < 1 || position > items_.size()) RaiseStandardError(kErrInvalidCall);
        return keys_ ? std::string(keys_->KeyAt(position - 1)) : std::string();
    }

    /// Remove the item at a position from 1; later positions move up by one.
    void Remove(std::size_t position) {
        if (position < 1 || position > items_.size()) RaiseStandardError(kErrInvalidCall);
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(position - 1));
        if (keys_) keys_->Erase(position - 1);
    }

    /// Remove the item under a key; a missing key raises error 5.
    void Remove(std::string_view key) {
        std::size_t at = Position(key);
        if (at == CollectionKeys::npos) RaiseStandardError(kErrInvalidCall);
        Remove(at + 1);
    }

    void Clear() {
        items_.clear();
        keys_.reset();
    }

    iterator begin() { return items_.begin(); }
    iterator end() { return items_.end(); }
    const_iterator begin() const { return items_.begin(); }
    const_iterator end() const { return items_.end(); }

private:
    std::size_t Position(std::string_view key) const { return keys_ ? keys_->Find(key) : CollectionKeys::npos; }

    std::vector<T> items_;
    std::unique_ptr<CollectionKeys> keys_;  ///< null until the first keyed item
};

}  // namespace platform
