#pragma once
// Helpers for the text properties of constructs: each property holds a finished fragment of
// the definition file.
#include <string>

#include "aris/Automation.h"

/// "'" + text + "'".
std::string Quoted(const std::string& text);

/// When `text` is not empty: `target` = the quoted conversion of `text` under the name
/// convention. An empty text, or a conversion that gives warning 2040 or 2050, leaves `target`
/// as it was.
void SetQuotedProperty(std::string& target, const std::string& text, const char* convention);

/// `target` = the quoted conversion of `text` under the name convention, also of an empty text
/// (a name that must be there: under convention "6" an empty one gives warning 2050). A
/// conversion that gives warning 2040 or 2050 leaves `target` as it was.
void SetQuotedRequiredName(std::string& target, const std::string& text, const char* convention);

/// When the converted text is not empty: `target` = its quoted form. An empty text, a text
/// that converts to nothing (blanks only), or a conversion that gives warning 2040 or 2050,
/// leaves `target` as it was.
void SetQuotedConvertedProperty(std::string& target, const std::string& text, const char* convention);

/// SetQuotedConvertedProperty with the text of the attribute that the attribute rule reads from
/// the item.
void SetQuotedConvertedAttribute(std::string& target, const aris::Item* item, const char* ruleName,
                                 const char* convention);

/// SetQuotedProperty with the text of the attribute that the attribute rule reads from the item.
void SetQuotedAttributeProperty(std::string& target, const aris::Item* item, const char* ruleName,
                                const char* convention);

/// `target` = the attribute that the rule reads from the item, unchanged, when the option
/// UseOtherSettings is on and the text is not empty.
void SetOtherSettingsProperty(std::string& target, const aris::Item* item, const char* ruleName);
