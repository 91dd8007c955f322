// Opening the input and the output, and the common end of an edit: the
// error check, the size line, the result box and the replacement with /w.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "front/run_state.h"

namespace bytewarp {

// The standard description of an error number, followed by a line break.
std::string describeError(int err);

// Shows a warning box with the error's description under `caption`; returns
// the exit code 0 for the caller to return.
int failWith(std::string_view caption, int err);

// Opens the input for update and the output beside it; on failure shows the
// box and returns false. The output is not emptied yet (see startOutput).
bool openFiles(RunState& s);

// Empties the output file once an operation has accepted its arguments, so a
// refused command never costs an earlier result. False after showing the box.
bool startOutput(RunState& s);

// Opens a file that the run writes besides the output (index file, chunk
// file), created or emptied, and never the input itself. Null with `err` set.
std::unique_ptr<Stream> createCompanion(const RunState& s, const std::string& name, int& err);

// Closes the output and deletes its file (the deletion's failure is ignored).
void discardOutput(RunState& s);

// Closes the output and deletes its file only when this run created it, so a
// result left by an earlier run survives a refused command.
void abandonOutput(RunState& s);

int reportAndFinish(RunState& s);

// The usage text box; deletes the output when this run created it. Returns 0.
int showUsage(RunState& s);
extern const char* const kUsageText;

}  // namespace bytewarp
