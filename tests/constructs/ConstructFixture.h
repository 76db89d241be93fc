#pragma once
// An export environment around a small ARIS database, written as AML and loaded through the
// local server: sandbox, log, built-in rules, empty registries.
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "../support/AmlBuilder.h"
#include "../support/TestEnv.h"
#include "app/clsARIS_Interface.h"
#include "app/clsIOHandler.h"
#include "aris/LocalServer.h"
#include "mapping/ColMappingRules.h"
#include "mapping/modMappingRule.h"
#include "platform/Text.h"
#include "runtime/modGlobals.h"

namespace constructtest {

/// One export's environment: sandbox (English catalog) with its export context, log and definition
/// file in the sandbox, locale 1033, built-in rules, empty registries, and the database of a
/// builder. The context ends what the export made.
class ExportEnv {
public:
    explicit ExportEnv(const amltest::AmlBuilder& builder, const std::string& language = "ENU")
        : ExportEnv(builder.Xml(), language) {}
    /// The same around an AML text.
    explicit ExportEnv(const std::string& aml, const std::string& language = "ENU") : box_(language) {
        io_.SetDefinitionFileName(box_.dir.File("out.wpx"));
        ExportContext& context = box_.context;
        context.IOHandler = &io_;
        context.Files = &io_;
        context.LocaleId = 1033;
        modMappingRule::CreateDefaultMappingRules();
        modGlobals::CreateRegistries();
        std::ostringstream report;
        auto db = aris::LoadAmlText(aml, "fixture.xml", report);
        if (!db) throw std::runtime_error("fixture not loaded: " + report.str());
        for (const aris::Model* model : db->AllModels()) models_[model->Guid().substr(5)] = model;
        session_.SetDatabase(std::move(db));
        context.ARIS_Interface = &session_;
    }

    const aris::Model* Model(const std::string& id) const { return models_.at(id); }
    /// The models of the ids, keyed by Item.Guid, in order.
    ARISModelCollection Models(const std::vector<std::string>& ids) const {
        ARISModelCollection models;
        for (const std::string& id : ids)
            if (!models.Contains(Model(id)->Guid())) models.Add(Model(id), Model(id)->Guid());
        return models;
    }
    /// The log lines written so far.
    std::vector<std::string> LogLines() const {
        io_.FlushFiles();
        return Lines(testenv::ReadFile(io_.LogFileName()));
    }
    /// The definition file's text.
    std::string FileText() const {
        io_.FlushFiles();
        return testenv::ReadFile(io_.DefinitionFileName());
    }
    /// The definition file's lines.
    std::vector<std::string> FileLines() const { return Lines(FileText()); }
    /// Message boxes shown so far.
    const std::vector<std::string>& Boxes() const { return box_.boxes->texts; }
    clsIOHandler& IO() { return io_; }
    const aris::Database* Database() const { return session_.Database(); }

    static std::vector<std::string> Lines(const std::string& text) {
        std::vector<std::string> lines;
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find("\r\n", start);
            if (end == std::string::npos) end = text.size();
            lines.push_back(text.substr(start, end - start));
            start = end + 2;
        }
        return lines;
    }

private:
    testenv::Sandbox box_;
    /// Mutable: reading the files writes out the lines buffered so far.
    mutable clsIOHandler io_;
    clsARIS_Interface session_;
    std::map<std::string, const aris::Model*> models_;
};

}  // namespace constructtest
