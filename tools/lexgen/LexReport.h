// The readable report lexgen writes beside the table: per mode its rules,
// the ties that rule order decided, and every state with its transitions.
#pragma once

#include <string>
#include <vector>

#include "tools/lexgen/CharClasses.h"
#include "tools/lexgen/Dfa.h"
#include "tools/lexgen/LexRules.h"

/// The report text for the table built from \p rules.
std::string LexReport(const std::string& rulesFile, const LexRules& rules, const std::vector<Dfa>& automata,
                      const CharClasses& classes, size_t tableBytes);
