#pragma once
// AML fixtures and helpers shared by the local ARIS server tests.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "aris/LocalServer.h"

namespace aristest {

/// An AML export around `groups` (the children of the root group), with the locale entities
/// and language elements ARIS writes. `extraTop` goes between the languages and the root group.
inline std::string Aml(const std::string& groups, const std::string& extraTop = "") {
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE AML SYSTEM "ARIS-Export.dtd" [
	<!ENTITY LocaleId.USen "1033">
	<!ENTITY LocaleId.DEde "1031">
]>
<!-- exported with version 10.0.17.4 -->
<AML>
<Header-Info CreateTime="09:35:35.210" CreateDate="10-07-2022" DatabaseName="Test" UserName="system" ArisExeVersion="100"/>
<Language LocaleId="&LocaleId.USen;" Codepage="1252"><LogFont FaceName="Arial"/></Language>
<Language LocaleId="&LocaleId.DEde;" Codepage="1252"/>
)" + extraTop +
           R"(<Group Group.ID="Group.Root">
)" + groups +
           R"(
</Group>
</AML>
)";
}

/// An AT_NAME attribute with an English and a German value ("" leaves a language out).
inline std::string Names(const std::string& en, const std::string& de = "") {
    std::string xml = R"(<AttrDef AttrDef.Type="AT_NAME">)";
    if (!en.empty()) xml += R"(<AttrValue LocaleId="&LocaleId.USen;">)" + en + "</AttrValue>";
    if (!de.empty()) xml += R"(<AttrValue LocaleId="&LocaleId.DEde;">)" + de + "</AttrValue>";
    return xml + "</AttrDef>";
}

/// Load AML text; fails the test with the server's message when it is rejected.
inline std::unique_ptr<aris::Database> Load(const std::string& xml, std::string* report = nullptr,
                                            const std::string& serverTypes = "") {
    std::ostringstream out;
    std::unique_ptr<aris::Database> db;
    try {
        db = aris::LoadAmlText(xml, "Test.xml", out, serverTypes);
    } catch (const aris::ServerError& e) {
        ADD_FAILURE() << "rejected: " << e.what();
    }
    if (report) *report = out.str();
    return db;
}

/// The ServerError a load raises ("" when it loads).
inline std::string LoadError(const std::string& xml, const std::string& sourceName = "Bad.xml") {
    std::ostringstream out;
    try {
        aris::LoadAmlText(xml, sourceName, out);
    } catch (const aris::ServerError& e) {
        EXPECT_EQ(e.Number(), 440);
        return e.what();
    }
    return "";
}

/// The model of a name (English) among all models, nullptr when absent.
inline const aris::Model* ModelNamed(const aris::Database& db, const std::string& name) {
    for (const aris::Model* m : db.AllModels()) {
        if (m->Name(1033) == name) return m;
    }
    return nullptr;
}

/// English names of a list of items.
template <class T>
std::vector<std::string> NamesOf(const std::vector<const T*>& items) {
    std::vector<std::string> names;
    for (const T* item : items) names.push_back(item->Name(1033));
    return names;
}

/// Sets environment variables for one test and restores them afterwards.
class EnvGuard {
public:
    void Set(const std::string& name, const std::string& value) {
        if (!saved_.count(name)) {
            const char* old = std::getenv(name.c_str());
            saved_[name] = old ? std::make_unique<std::string>(old) : nullptr;
        }
        ::setenv(name.c_str(), value.c_str(), 1);
    }
    ~EnvGuard() {
        for (auto& [name, value] : saved_) {
            if (value) ::setenv(name.c_str(), value->c_str(), 1);
            else ::unsetenv(name.c_str());
        }
    }

private:
    std::map<std::string, std::unique_ptr<std::string>> saved_;
};

}  // namespace aristest
