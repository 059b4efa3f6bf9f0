#include "core/platform/StandardizedPath.h"

#include <vector>

namespace tallowmere {

std::string standardizedPath(std::string_view path) {
    std::vector<std::string_view> components;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string_view::npos)
            end = path.size();
        const std::string_view component = path.substr(start, end - start);
        if (component == "..") {
            if (!components.empty())
                components.pop_back();
        } else if (!component.empty() && component != ".") {
            components.push_back(component);
        }
        start = end + 1;
    }
    if (components.empty())
        return "/";
    std::string result;
    for (const auto component : components) {
        result += '/';
        result += component;
    }
    return result;
}

bool beginsWithFolder(std::string_view path, std::string_view folder) {
    // The root's text already ends with the separator; "//" would match nothing.
    if (folder == "/")
        return path.starts_with('/');
    return path.size() > folder.size() && path.starts_with(folder) && path[folder.size()] == '/';
}

}  // namespace tallowmere
