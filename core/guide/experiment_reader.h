// The reader of EX.INI, the experiment catalogue. The catalogue is a sequence of
//   实验定义 = {  fields  }
// whose fields name the experiment, its wiring and operating steps, its three text blocks and
// its two pictures. The reader stops at the first error; what it read until then stays.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "guide/catalogue_lexer.h"
#include "guide/experiment.h"

namespace edumac8 {

// Fills `catalogue` from the file's bytes (cleared first; CurrentExp 1 when an entry was
// read, else 0). Returns the error that stopped the reading.
std::optional<CatalogueError> ParseExperiments(std::string_view file,
                                               ExperimentCatalogue& catalogue);

// The error box's text: the message, "   行：" and the line (UTF-8).
std::string ErrorBoxText(const CatalogueError& error);

// LoadExperiments: reads helpDir + "EX.INI" into the catalogue. Returns the error box's text
// when the file cannot be read ("读文件错: " and the path) or holds an error.
std::optional<std::string> LoadExperiments(const std::string& helpDir,
                                           ExperimentCatalogue& catalogue);

}  // namespace edumac8
