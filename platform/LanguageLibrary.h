#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform {

/// One entry of a language library's table, as the library exports it.
struct LanguageTableEntry {
    int id;
    const char* text;  ///< UTF-8
};

/// A loaded language library: data only, an exported table of message ids and texts.
class LanguageLibrary {
public:
    LanguageLibrary() = default;
    ~LanguageLibrary();
    LanguageLibrary(const LanguageLibrary&) = delete;
    LanguageLibrary& operator=(const LanguageLibrary&) = delete;

    /// Load a library by file name ("kvbrdeu.so"), through the program's library search path;
    /// a name with a "/" is taken as a path. Return false when it cannot be loaded.
    bool Load(const std::string& fileName);
    /// Release the library; nothing happens when none is loaded.
    void Free();
    bool Loaded() const { return handle_ != nullptr; }
    /// The text of an id, or nothing when the table has no such entry.
    std::optional<std::string> Text(int id) const;
    /// The text of an id without a copy (valid while the library stays loaded); empty when the
    /// table has no such entry or its text is empty.
    std::string_view TextView(int id) const;
    /// Number of entries of the table.
    std::size_t Size() const { return table_.size(); }
    /// Every id of the table, in ascending order.
    std::vector<int> Ids() const;
    /// Why the last Load failed.
    const std::string& LastError() const { return lastError_; }

private:
    void* handle_ = nullptr;
    std::unordered_map<int, std::string_view> table_;  ///< lengths measured once, at load
    std::string lastError_;
};

/// Names of the symbols every language library exports.
inline constexpr const char* kLanguageTableSymbol = "kvbr_message_table";
inline constexpr const char* kLanguageTableSizeSymbol = "kvbr_message_count";

}  // namespace platform
