#pragma once
#include <cstdint>
#include <string>
#include <utility>

/// Token classes of a mapping profile.
enum MappingTokenType : std::int32_t {
    kTokenKeyword = 1,     ///< one of the profile keywords, held in upper case
    kTokenName = 2,        ///< a word that does not read as a number
    kTokenNumber = 3,      ///< a word that reads as a number (held as written)
    kTokenAssignment = 6,  ///< "="
};

/// One token of a mapping profile: its text and its class.
class clsMappingRuleToken {
public:
    clsMappingRuleToken() = default;
    clsMappingRuleToken(std::string value, std::int32_t type) : TokenValue(std::move(value)), TokenType(type) {}

    std::string TokenValue;
    std::int32_t TokenType = 0;
    /// The line of the profile the token stands on, from 1 (0 when not read from a profile).
    int Line = 0;
};
