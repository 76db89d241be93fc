#include "aris/Automation.h"

namespace aris {

std::string Attribute::GetValue(bool removeLineBreaks) const {
    if (!value_) return "";
    if (!removeLineBreaks) return *value_;
    std::string out;
    const std::string& v = *value_;
    out.reserve(v.size());
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (v[i] == '\r') {
            out.push_back(' ');
            if (i + 1 < v.size() && v[i + 1] == '\n') ++i;
        } else if (v[i] == '\n') {
            out.push_back(' ');
        } else {
            out.push_back(v[i]);
        }
    }
    return out;
}

}  // namespace aris
