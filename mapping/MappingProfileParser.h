#pragma once
#include <memory>
#include <string>

#include "mapping/clsMappingRule.h"
#include "mapping/clsMappingRuleToken.h"

/// The state machine that reads the tokens of a mapping profile and registers each complete
/// rule in the rule registry. States 0 to 27; a token a state does not accept raises the
/// syntax error of that state (2130 to 2190) with the token's value, a state outside 0 to 27
/// error 2200. A rule whose "END" never comes is never registered.
class MappingProfileParser {
public:
    /// Feed the next token.
    void Feed(const clsMappingRuleToken& token);
    /// The state the next token is read in (0 between rules).
    int State() const { return state_; }
    /// Put the parser into a state (for tests of the undefined-state error).
    void SetState(int state) { state_ = state; }

private:
    void StartRule(const clsMappingRuleToken& token);
    void RegisterRule();
    void StartStep();
    void AddStep();
    [[noreturn]] void ExpectedKeywords(const clsMappingRuleToken& token, const char* keywords) const;

    int state_ = 0;
    std::unique_ptr<clsMappingRule> rule_;
    clsObjectMapping objectMapping_;
    clsConnectionMapping step_;
};
