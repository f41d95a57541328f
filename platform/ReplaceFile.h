#pragma once

#include <string>

// Puts a finished temporary file in the place of target in one step, so that a reader never sees
// half a file; on POSIX systems it first gets the permissions any new file would get.
// False when it could not; the temporary is then left for its owner to remove.
bool ReplaceFileWith(const std::string& temporary, const std::string& target);
