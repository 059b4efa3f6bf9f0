#pragma once

#include <string>
#include <string_view>

namespace tallowmere {

// An absolute path with its "." and ".." components resolved by their text alone, repeated
// and trailing slashes removed: "/a/./b//../c/" gives "/a/c". ".." above the root stays at
// the root. Symbolic links are not looked at. A relative path is taken as starting at "/".
std::string standardizedPath(std::string_view path);

// True when `path` begins with `folder` followed by "/" (for the root folder, with "/").
// Both are compared as given, byte for byte; standardize them first where that matters.
bool beginsWithFolder(std::string_view path, std::string_view folder);

}  // namespace tallowmere
