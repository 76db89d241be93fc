#include "mapping/MappingProfileParser.h"

#include <optional>

#include "mapping/ColMappingRules.h"
#include "platform/Text.h"
#include "runtime/clsExceptionHandler.h"

namespace {

// Syntax error numbers: what the parser expected.
enum : int {
    kErrExpectedKeyword = 2130,
    kErrExpectedRuleName = 2140,
    kErrExpectedAssignment = 2150,
    kErrExpectedObjectType = 2160,
    kErrExpectedAttributeType = 2170,
    kErrExpectedConnectionKind = 2180,
    kErrExpectedConnectionType = 2190,
    kErrUndefinedState = 2200,
};

bool IsKeyword(const clsMappingRuleToken& token, const char* keyword) {
    return token.TokenType == kTokenKeyword && token.TokenValue == keyword;
}

bool IsName(const clsMappingRuleToken& token) { return token.TokenType == kTokenName; }
bool IsAssignment(const clsMappingRuleToken& token) { return token.TokenType == kTokenAssignment; }

// The whole number of a number token; a number beyond 32 bits counts as no number.
std::optional<std::int32_t> NumberOf(const clsMappingRuleToken& token) {
    if (token.TokenType != kTokenNumber) return std::nullopt;
    return platform::ToInt32(token.TokenValue);
}

void ExpectAssignment(const clsMappingRuleToken& token) {
    if (!IsAssignment(token)) RaiseError(kErrExpectedAssignment, token.TokenValue);
}

std::int32_t ExpectNumber(const clsMappingRuleToken& token, int errorNumber) {
    std::optional<std::int32_t> number = NumberOf(token);
    if (!number) RaiseError(errorNumber, token.TokenValue);
    return *number;
}

}  // namespace

void MappingProfileParser::ExpectedKeywords(const clsMappingRuleToken& token, const char* keywords) const {
    RaiseError(kErrExpectedKeyword, token.TokenValue, keywords);
}

void MappingProfileParser::StartRule(const clsMappingRuleToken& token) {
    if (!IsName(token)) RaiseError(kErrExpectedRuleName, token.TokenValue);
    rule_ = std::make_unique<clsMappingRule>();
    rule_->Name = token.TokenValue;
}

void MappingProfileParser::RegisterRule() { modMappingRule::AddMappingRule(std::move(rule_)); }

void MappingProfileParser::StartStep() { step_ = clsConnectionMapping(); }

void MappingProfileParser::AddStep() { rule_->ColConnectionMapping.Add(step_); }

void MappingProfileParser::Feed(const clsMappingRuleToken& token) {
    switch (state_) {
        case 0:
            if (IsKeyword(token, "OBJECT_MAPPING")) state_ = 1;
            else if (IsKeyword(token, "ATTRIBUTE_MAPPING")) state_ = 6;
            else if (IsKeyword(token, "CONNECTION_MAPPING")) state_ = 11;
            else ExpectedKeywords(token, "\"OBJECT_MAPPING\", \"ATTRIBUTE_MAPPING\", \"CONNECTION_MAPPING\"");
            return;

        // Object rule.
        case 1:
            StartRule(token);
            state_ = 2;
            return;
        case 2:
            if (!IsKeyword(token, "OBJECT_TYPE")) ExpectedKeywords(token, "\"OBJECT_TYPE\"");
            state_ = 3;
            return;
        case 3:
            ExpectAssignment(token);
            state_ = 4;
            return;
        case 4:
            objectMapping_ = clsObjectMapping(ExpectNumber(token, kErrExpectedObjectType));
            state_ = 5;
            return;
        case 5:
            if (IsKeyword(token, "END")) {
                rule_->ColObjectMapping.Add(objectMapping_);
                RegisterRule();
                state_ = 0;
            } else if (IsKeyword(token, "OBJECT_TYPE")) {
                rule_->ColObjectMapping.Add(objectMapping_);
                state_ = 3;
            } else {
                ExpectedKeywords(token, "\"END\", \"OBJECT_TYPE\"");
            }
            return;

        // Attribute rule.
        case 6:
            StartRule(token);
            state_ = 7;
            return;
        case 7:
            if (!IsKeyword(token, "ATTRIBUTE_TYPE")) ExpectedKeywords(token, "\"ATTRIBUTE_TYPE\"");
            state_ = 8;
            return;
        case 8:
            ExpectAssignment(token);
            state_ = 9;
            return;
        case 9:
            rule_->SetAttributeMappingNumber(ExpectNumber(token, kErrExpectedAttributeType));
            state_ = 10;
            return;
        case 10:
            if (!IsKeyword(token, "END")) ExpectedKeywords(token, "\"END\"");
            RegisterRule();
            state_ = 0;
            return;

        // Relation rule.
        case 11:
            StartRule(token);
            state_ = 12;
            return;
        case 12:
            if (!IsKeyword(token, "SOURCE_OBJECT_TYPE")) ExpectedKeywords(token, "\"SOURCE_OBJECT_TYPE\"");
            StartStep();
            state_ = 13;
            return;
        case 13:
        case 16:
        case 19:
        case 22:
        case 25:
            ExpectAssignment(token);
            ++state_;
            return;
        case 14:
            step_.SourceObjTypeNum = ExpectNumber(token, kErrExpectedObjectType);
            state_ = 15;
            return;
        case 15:
            if (!IsKeyword(token, "TARGET_OBJECT_TYPE")) ExpectedKeywords(token, "\"TARGET_OBJECT_TYPE\"");
            state_ = 16;
            return;
        case 17:
            step_.TargetObjTypeNum = ExpectNumber(token, kErrExpectedObjectType);
            state_ = 18;
            return;
        case 18:
            if (!IsKeyword(token, "CONNECTION_KIND")) ExpectedKeywords(token, "\"CONNECTION_KIND\"");
            state_ = 19;
            return;
        case 20:
            step_.CnxKind = ExpectNumber(token, kErrExpectedConnectionKind);
            state_ = 21;
            return;
        case 21:
            if (!IsKeyword(token, "CONNECTION_TYPE")) ExpectedKeywords(token, "\"CONNECTION_TYPE\"");
            state_ = 22;
            return;
        case 23:
            step_.CnxTypeNum = ExpectNumber(token, kErrExpectedConnectionType);
            state_ = 24;
            return;
        case 24:
            if (IsKeyword(token, "TARGET_OBJECT_RULE")) {
                state_ = 25;
            } else if (IsKeyword(token, "SOURCE_OBJECT_TYPE")) {
                AddStep();
                StartStep();
                state_ = 13;
            } else if (IsKeyword(token, "END")) {
                AddStep();
                RegisterRule();
                state_ = 0;
            } else {
                ExpectedKeywords(token, "\"SOURCE_OBJECT_TYPE\", \"TARGET_OBJECT_RULE\"");
            }
            return;
        case 26:
            if (!IsName(token)) RaiseError(kErrExpectedRuleName, token.TokenValue);
            step_.TargetObjRule = token.TokenValue;
            state_ = 27;
            return;
        case 27:
            if (IsKeyword(token, "SOURCE_OBJECT_TYPE")) {
                AddStep();
                StartStep();
                state_ = 13;
            } else if (IsKeyword(token, "END")) {
                AddStep();
                RegisterRule();
                state_ = 0;
            } else {
                ExpectedKeywords(token, "\"SOURCE_OBJECT_TYPE\", \"END\"");
            }
            return;

        default: RaiseError(kErrUndefinedState, token.TokenValue, std::to_string(state_));
    }
}
