#pragma once

#include <string>

// Paths as the user picked them, made comparable. Byte-based: a name that is not UTF-8
// passes through unchanged.
namespace tallowmere::PathText {

// "." and ".." resolved, repeated separators collapsed, no trailing separator ("/" stays).
std::string standardized(const std::string& path);

// The last component of the standardized path; "/" for the root.
std::string lastComponent(const std::string& path);

}  // namespace tallowmere::PathText
