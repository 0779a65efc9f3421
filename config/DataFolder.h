#pragma once

#include <cstddef>

// Paths are held in buffers of the platform's path limit, terminator included.
constexpr size_t kPathChars = 260;

// Writes "<per-user application data>\Lumivane" into buffer. False, writing
// nothing, when buffer is null or capacity is below kPathChars. Never creates
// the Lumivane folder itself.
bool GetDataFolderPath(wchar_t* buffer, size_t capacity);
