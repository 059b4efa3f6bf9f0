#pragma once

#include <string>
#include <string_view>
#include <vector>

// Paths as text, the way a file URL treats them: no file-system access, symbolic links are
// never resolved. Paths are byte strings; nothing here assumes they are UTF-8.
namespace tallowmere::path_text {

// The absolute path with repeated separators collapsed, "." removed and ".." taking away
// the component before it ("/.." stays "/"), and no trailing separator. A relative path is
// treated as lying below "/".
std::string standardized(std::string_view path);

// "/" followed by each component of the standardized path: "/a/b" -> {"/", "a", "b"}.
std::vector<std::string> components(std::string_view path);

// The last component of the standardized path; empty for "/".
std::string lastComponent(std::string_view path);

// The folder holding the standardized path; "/" for "/" itself.
std::string parent(std::string_view path);

// `folder` + "/" + `name` without doubling the separator.
std::string appending(std::string_view folder, std::string_view name);

// True when the standardized `path` is `folder` or lies below it, component by component:
// "/a/b" is within "/a", "/ab" is not.
bool isWithin(std::string_view path, std::string_view folder);

}  // namespace tallowmere::path_text
