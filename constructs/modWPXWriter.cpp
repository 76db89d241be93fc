#include "constructs/modWPXWriter.h"

#include "mapping/modMappingRule.h"
#include "platform/Error.h"
#include "runtime/modGlobals.h"

namespace modWPXWriter {

namespace {

// Line end and three TABs: one level deeper than a connector's DESCRIPTION line.
std::string ContributionStart() { return "\r\n" + Indent(3); }

std::string ObjectHead(const aris::ObjDef& objDef) {
    return objDef.TypeName(CurrentExport().LocaleId) + " '" + objDef.Name(CurrentExport().LocaleId) + "'";
}

void AppendObjectAttributes(std::string& text, const aris::ObjDef& objDef, const std::string& ruleName) {
    if (!ruleName.empty()) {
        const std::string value = modMappingRule::Find_ARIS_ObjDef_Attribute_Using_Mapping_Rule(&objDef, ruleName);
        if (!value.empty()) text += ContributionStart() + ObjectHead(objDef) + " " + value;
        return;
    }
    for (const aris::Attribute& attribute : objDef.AttrList(CurrentExport().LocaleId)) {
        if (!attribute.IsMaintained()) continue;
        text += ContributionStart() + ObjectHead(objDef) + " (" + std::to_string(attribute.Type()) +
                "): " + attribute.GetValue(CurrentExport().Options.RemoveLineBreaks);
    }
}

}  // namespace

std::string Indent(std::int16_t level) {
    const ProcedureScope scope("modWPXWriter.Indent");
    if (level < 0)
        platform::RaiseStandardError(platform::kErrInvalidCall, "indentation level " + std::to_string(level));
    return std::string(static_cast<std::size_t>(level), '\t');
}

std::string SetupPrintingOfConnectorAttribute(const PathCollection& paths, const std::string& ruleName) {
    const ProcedureScope scope("modWPXWriter.SetupPrintingOfConnectorAttribute");
    std::string text;
    for (const std::shared_ptr<clsPath>& path : paths) {
        if (!path) continue;
        for (const aris::ObjDef* objDef : path->ColARISObjectDefinitionsOnPath) {
            if (!modMappingRule::ObjDefOccurs(objDef)) continue;
            AppendObjectAttributes(text, *objDef, ruleName);
        }
    }
    return text;
}

}  // namespace modWPXWriter
