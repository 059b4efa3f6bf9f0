#pragma once

#include <string>
#include <string_view>

// How paths of folders and items are compared and stored: the same folder spelled in
// different ways ("/a/./b/", "/a/x/../b", "/a//b") is one path. Purely textual: symbolic
// links are not resolved and the file system is not asked.
namespace tallowmere::PathStandardizing {

// Absolute (a relative path is taken from the process's working folder), "." and ".."
// segments resolved, repeated separators collapsed and no trailing separator; "/" stays
// "/". ".." above "/" stays at "/".
std::string standardizedPath(const std::string& path);

// The name after the last separator, trailing separators ignored: "/a/b/" gives "b";
// "/" gives "/"; a path without a separator is its own last component.
std::string lastPathComponent(const std::string& path);

// True when `path` begins with `folder` followed by "/" (for the root folder, with "/").
// Both are compared as given, byte for byte; standardize them first where that matters.
bool beginsWithFolder(std::string_view path, std::string_view folder);

}  // namespace tallowmere::PathStandardizing
