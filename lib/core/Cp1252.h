#pragma once
// The images, CSV files and text files beside the program hold single-byte Windows-1252 text.
// The rest of the program speaks UTF-8; these two functions are the only crossing.

#include <string>
#include <string_view>

namespace km {

std::string Cp1252ToUtf8(std::string_view cp1252);
// Characters that Windows-1252 cannot hold become '?'. Malformed UTF-8 bytes also become '?'.
std::string Utf8ToCp1252(std::string_view utf8);

}  // namespace km
