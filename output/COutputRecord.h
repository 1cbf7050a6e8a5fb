// The record of one file that an output run wrote.
#pragma once

#include <string>

/// A file that a run wrote completely: the input and the output made from it.
struct COutputRecord {
  std::string inputName;
  std::string outputName;
};
