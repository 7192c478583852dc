#pragma once
// Running a batch request: one input to one output, or many inputs into an
// output folder, one file per worker thread.
#include "batch/BatchRequest.h"

#include <iosfwd>

namespace px {

// Returns the exit code: 0 success, 1 when the input (or, in folder mode,
// any input) could not be read, processed or written; the reasons go to
// `err`, in folder mode each after its input's name.
int runBatch(const BatchRequest& request, std::ostream& err);

// The name an input gets in the output folder: its own name, with
// `format`'s extension when one is given.
std::string outputNameFor(const std::string& input, const std::string& format);

} // namespace px
