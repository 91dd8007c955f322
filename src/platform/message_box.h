// Messages to the user. A box has a caption, a text and an icon kind; on a
// terminal an information box goes to standard output and a warning box to
// standard error, as the caption, a line feed, the text and a final line
// feed unless the text already ends with one.
#pragma once

#include <functional>
#include <string_view>

namespace bytewarp {

enum class BoxIcon { Information, Warning };

void showBox(std::string_view text, std::string_view caption, BoxIcon icon);

// Replaces the terminal as the place boxes go to (an empty function restores
// it); used by tests and by in-process runs that collect the messages.
using BoxSink = std::function<void(std::string_view text, std::string_view caption, BoxIcon icon)>;
void setBoxSink(BoxSink sink);

}  // namespace bytewarp
