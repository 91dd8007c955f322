// Edits at a column of every line. Every byte but CR and LF is a character;
// each CR and each LF ends a line and is copied unchanged.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/stream.h"

namespace bytewarp {

// Deletes the characters at positions column + 1 to `lastDeleted` (counted
// from 1) of every line; returns the number of lines in which deleting began.
int64_t deletePerLine(Stream& in, Stream& out, int64_t column, int64_t lastDeleted);

// Writes `repeat` copies of `str` before the character at position
// column + 1 of every line that has one; returns the number of such lines.
// The inserted bytes do not move the column, even when they hold CR or LF.
int64_t insertPerLine(Stream& in, Stream& out, int64_t column, std::string_view str, int64_t repeat);

}  // namespace bytewarp
