#pragma once

#include <cstdint>
#include <string>

// A signed number as "%d" writes it. Written by hand so that the program
// carries no printf family just to write its numbers.
std::wstring DecimalText(int64_t value);
