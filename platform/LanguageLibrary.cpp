#include "platform/LanguageLibrary.h"

#include <algorithm>

#include <dlfcn.h>

namespace platform {

LanguageLibrary::~LanguageLibrary() { Free(); }

bool LanguageLibrary::Load(const std::string& fileName) {
    Free();
    void* h = ::dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!h) {
        const char* e = ::dlerror();
        lastError_ = e ? e : "cannot be loaded";
        return false;
    }
    auto* table = static_cast<const LanguageTableEntry*>(::dlsym(h, kLanguageTableSymbol));
    auto* count = static_cast<const unsigned*>(::dlsym(h, kLanguageTableSizeSymbol));
    if (!table || !count) {
        lastError_ = fileName + " holds no message table";
        ::dlclose(h);
        return false;
    }
    handle_ = h;
    for (unsigned i = 0; i < *count; ++i)
        table_.emplace(table[i].id, table[i].text ? std::string_view(table[i].text) : std::string_view());
    return true;
}

void LanguageLibrary::Free() {
    table_.clear();
    if (handle_) ::dlclose(handle_);
    handle_ = nullptr;
}

std::optional<std::string> LanguageLibrary::Text(int id) const {
    const std::string_view text = TextView(id);
    if (text.empty()) return std::nullopt;
    return std::string(text);
}

std::string_view LanguageLibrary::TextView(int id) const {
    auto it = table_.find(id);
    return it == table_.end() ? std::string_view() : it->second;
}

std::vector<int> LanguageLibrary::Ids() const {
    std::vector<int> ids;
    ids.reserve(table_.size());
    for (const auto& entry : table_) ids.push_back(entry.first);
    std::sort(ids.begin(), ids.end());
    return ids;
}

}  // namespace platform
