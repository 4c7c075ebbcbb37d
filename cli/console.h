#pragma once

#include <cstdio>
#include <string_view>

namespace wienbridge {

// Makes the standard streams carry the program's bytes unchanged: on Windows, lines end in "\n"
// as everywhere (the C library's text mode would add "\r"), and a console shows the UTF-8 of the
// Italian messages ("è", "²") as such rather than in the console's old code page, which it gets
// back when the program ends, also by Ctrl+C, Ctrl+Break or the console's closing, with what was
// written until then shown. Elsewhere there is nothing to do. Call before anything is written.
void prepareConsole();

// Writes to stdout or stderr; whether the C library took the whole text. On Windows, an end
// by Ctrl+C or the like waits for a write under way and shows it whole.
bool writeWhole(std::FILE* stream, std::string_view text);

// The program's arguments in UTF-8, argv[argc] a null pointer: on Windows, where argv is in the
// ANSI code page and loses what that cannot spell (an accented path in another script), they
// are taken from the UTF-16 command line; elsewhere argv itself. What is returned lives until
// the program ends.
char** utf8Arguments(int argc, char** argv);

}  // namespace wienbridge
