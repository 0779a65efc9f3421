#include "engine/SelectArgument.h"

std::wstring SelectArgument(const std::wstring& path)
{
    const std::wstring select = L"/select,";
    if (path.empty()) return select;
    return select + L'"' + path + L'"';
}
