#pragma once
// The answer typed to a question of a radio operation. The radio's link must keep running while
// the person at the terminal thinks (its keep-alive goes unanswered otherwise, and the radio drops
// the link after about a minute), so the line is awaited in an event loop, as the desktop program
// waits for a box, instead of a read that blocks the whole program.

#include <optional>
#include <string>

namespace km::cli {

// The next line read from `fd` (without its line end), or nothing at the end of the input. Events
// (the serial port, timers) are handled meanwhile. Reads byte by byte, so a later question gets
// the next line; a line is cut at 256 characters.
std::optional<std::string> ReadAnswerLine(int fd);

}  // namespace km::cli
