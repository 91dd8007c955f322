// The switch operations as the command line sees them: each takes its
// arguments from the run's argument line, runs its engine and formats the
// result. Each returns the exit code.
#pragma once

#include "front/run_state.h"
#include "front/tokenizer.h"

namespace bytewarp {

int runReplace(RunState& s);          // a b
int runInsertAtOffset(RunState& s);   // o x
int runDeletePerLine(RunState& s);    // d
int runInsertPerLine(RunState& s);    // i h
int runTabConversion(RunState& s);    // t s
int runCropRemoveExtract(RunState& s);  // c r e
int runSplit(RunState& s);            // j
int runChangeFileSize(RunState& s);   // z
int runBitRewrite(RunState& s);       // m u l - +
int runTranspose(RunState& s);        // p

// The name swap of "/n file1 file2", with the tokenizer just after file1.
int swapNames(Tokenizer& t, RunState& s);

// One whole run of the command line (the program name already removed).
int runCommand(const std::string& line, const StreamOptions& options = {});

}  // namespace bytewarp
