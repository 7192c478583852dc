#pragma once
// The batch forms of the command line read into a request, macro files
// included.
#include "batch/BatchRequest.h"

#include <string>
#include <string_view>
#include <vector>

namespace px {

// The batch arguments (everything but the program's name). Throws UsageError.
BatchRequest parseBatch(const EffectRegistry& registry, const std::vector<std::string>& args);

// Options of the batch forms (their presence starts a batch run).
bool isBatchOption(std::string_view arg);

} // namespace px
