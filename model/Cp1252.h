#pragma once
// Windows-1252 is the text encoding of the project file and the trace; everything else in
// the program is UTF-8.

#include <string>
#include <string_view>

// UTF-8 to Windows-1252. A character Windows-1252 cannot hold becomes '?'. The five bytes
// that Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) are reached from
// U+0081, U+008D, U+008F, U+0090, U+009D, so they survive a round trip. Invalid UTF-8 bytes
// become '?'.
std::string toCp1252(std::string_view utf8);
// Windows-1252 to UTF-8.
std::string fromCp1252(std::string_view cp1252);
// Cuts UTF-8 text so that its Windows-1252 form holds at most maxBytes characters.
std::string truncateForField(std::string_view utf8, int maxBytes);
