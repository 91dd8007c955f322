// Conversion between blanks and tabs, with tab stops every `tabLength`
// columns (tabLength >= 2). A tab reaches the next stop; CR and LF end a line.
#pragma once

#include <cstdint>

#include "platform/stream.h"

namespace bytewarp {

// Runs of blanks that reach a tab stop become one tab each; blanks between
// quotes (either kind, closed by either kind, ended by every line end) stay;
// blanks pending at a line end or the end of the input are dropped.
// Returns the number of tabs written in place of blanks.
int64_t blanksToTabs(Stream& in, Stream& out, int64_t tabLength);

// Every tab becomes the blanks up to the next tab stop; returns the tabs.
int64_t tabsToBlanks(Stream& in, Stream& out, int64_t tabLength);

}  // namespace bytewarp
