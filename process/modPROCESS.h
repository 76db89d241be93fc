#pragma once
#include <functional>
#include <string>
#include <vector>

#include "process/clsPROCESS.h"

/// One round: register a process for every model the rule "PROCESS" accepts, set up every
/// process of the registry, and return the models for the next round (possibly empty).
ARISModelCollection PROCESS_Create(const ARISModelCollection& models);
/// Register a process for every model the rule "PROCESS" accepts; message 3050 per model.
void PROCESS_Find_ARIS_Mapping(const ARISModelCollection& models);
/// SetupProperties of every process, in registry order, with one new next-round collection,
/// which it returns.
ARISModelCollection PROCESS_SetupProperties();
/// What happens to each process right after its set-up (the export writes it ahead, so that
/// only the process being set up holds its constructs); by default
/// nothing, and every process keeps everything. An empty function restores the default.
void PROCESS_AfterSetup(std::function<void(clsPROCESS&)> step);
/// The models (each once, in order) whose model type is one of the rule's object types.
ARISModelCollection PROCESS_Find_ARIS_Model_In_ModelCollection_Using_Mapping_Rule(const ARISModelCollection& models,
                                                                                  const std::string& ruleName);
/// The same for an ARIS list of models.
ARISModelCollection Find_ARIS_Model_In_ModelList(const std::vector<const aris::Model*>& models,
                                                 const std::string& ruleName);
/// One attribute of a model: its name for -1, else the maintained value (or "").
std::string PROCESS_Find_ARIS_Model_Attribute(const aris::Model* model, int attrTypeNum);
/// The attribute of a model that the attribute rule names (a missing rule: error 2100).
std::string PROCESS_Find_ARIS_Model_Attribute_Using_Mapping_Rule(const aris::Model* model, const std::string& ruleName);
