#pragma once

#include <cstddef>

// Paths are held in buffers of the platform's path limit, terminator included.
constexpr std::size_t kPathChars = 260;
