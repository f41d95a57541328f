#include "platform/ReplaceFile.h"

#include "platform/NativePath.h"

#include <windows.h>

bool ReplaceFileWith(const std::string& temporary, const std::string& target) {
    return ::MoveFileExW(NativePath(temporary).c_str(), NativePath(target).c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
