#include "app/modModelListing.h"

#include <unordered_set>

#include "aris/TypeTable.h"
#include "mapping/ColMappingRules.h"
#include "runtime/modUtilities.h"

namespace modModelListing {

namespace {

bool HoldsSeparator(const std::string& text) { return text.find_first_of(",;/") != std::string::npos; }

}  // namespace

std::vector<ListedModel> ClassifyModels(const aris::Database& database, aris::LocaleId locale) {
    // The rule is looked up without the error path: a profile without it is a reason to tell,
    // not an error that ends a listing.
    const std::unique_ptr<clsMappingRule>* processRule = modMappingRule::ColMappingRules().Find("PROCESS");
    std::unordered_set<int> processTypes;
    if (processRule) {
        for (const clsObjectMapping& mapping : (*processRule)->ColObjectMapping)
            processTypes.insert(mapping.ObjTypeNum);
    }
    std::vector<ListedModel> listed;
    for (const aris::Model* model : database.AllModels()) {
        ListedModel entry;
        entry.model = model;
        entry.name = model->Name(locale);
        if (model->TypeNum() == aris::kUnmappedType) entry.verdict = Verdict::NoTypeNumber;
        else if (!processRule) entry.verdict = Verdict::NoProcessRule;
        else if (!processTypes.count(model->TypeNum())) entry.verdict = Verdict::NotProcessType;
        else if (entry.name.empty()) entry.verdict = Verdict::NoName;
        else if (HoldsSeparator(entry.name) || HoldsSeparator(model->Guid())) entry.verdict = Verdict::CannotCarry;
        listed.push_back(std::move(entry));
    }
    return listed;
}

std::string SelectionItem(const ListedModel& listed) {
    return listed.model->Guid() + "," + listed.name + "," + std::to_string(listed.model->TypeNum());
}

std::string Reason(const ListedModel& listed, aris::LocaleId locale) {
    switch (listed.verdict) {
        case Verdict::Selectable: return "";
        case Verdict::NoTypeNumber: return modUtilities::GetNLSString(60210);
        case Verdict::NoProcessRule: return modUtilities::GetNLSString(60214);
        case Verdict::NotProcessType: return modUtilities::GetNLSString(60211);
        case Verdict::NoName: return modUtilities::GetNLSString(60213, std::to_string(locale));
        case Verdict::CannotCarry: return modUtilities::GetNLSString(60212);
    }
    return "";
}

std::string RefusalLine(const ListedModel& listed, aris::LocaleId locale) {
    // A model without a name in the locale is marked by its identifier and an empty name.
    const std::string shown = listed.name.empty()
                                  ? listed.model->Guid() + ",," + std::to_string(listed.model->TypeNum())
                                  : "'" + listed.name + "'";
    std::string type = listed.model->TypeApiName();
    if (type.empty()) type = listed.model->TypeName(locale);
    if (listed.model->TypeNum() != aris::kUnmappedType) type += " = " + std::to_string(listed.model->TypeNum());
    return modUtilities::GetNLSString(60215, shown, type, Reason(listed, locale));
}

}  // namespace modModelListing
