#pragma once
#include <string>

#include "aris/Automation.h"

namespace modUtilities {

/// A person's WPX name: the attribute of rule "PERSON_PersonName" under name convention "7"
/// with that rule (the "@" cut applies to a user id), else the person's name under "7"
/// without a rule, else "".
std::string ConvertARISPersonName(const aris::ObjDef* person);

}  // namespace modUtilities
