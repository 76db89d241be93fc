#pragma once
#include <string>
#include <vector>

#include "aris/Automation.h"

/// Which models of a database can be selected for an export, and why the others cannot: a
/// model is selectable when its type has a number, the rule PROCESS accepts that number, it has
/// a name in the locale and neither its name nor its identifier holds a character that a
/// selection item cannot carry.
namespace modModelListing {

enum class Verdict {
    Selectable,
    NoTypeNumber,    ///< no type table gives its type a number
    NoProcessRule,   ///< the rules in force have no rule PROCESS
    NotProcessType,  ///< the rule PROCESS does not accept its type
    NoName,          ///< no name in the locale: a selection item needs one
    CannotCarry,     ///< "," ";" or "/" in its name or identifier
};

struct ListedModel {
    const aris::Model* model = nullptr;
    std::string name;  ///< in the locale listed for
    Verdict verdict = Verdict::Selectable;
};

/// Every model of the database in file order with its verdict under the rules now registered.
std::vector<ListedModel> ClassifyModels(const aris::Database& database, aris::LocaleId locale);

/// The selection item "guid,name,type" of a model.
std::string SelectionItem(const ListedModel& listed);

/// The reason a model cannot be selected, in the program's language.
std::string Reason(const ListedModel& listed, aris::LocaleId locale);

/// The line on standard error for a model that cannot be selected: name (or identifier), type
/// as the export names it, reason.
std::string RefusalLine(const ListedModel& listed, aris::LocaleId locale);

}  // namespace modModelListing
