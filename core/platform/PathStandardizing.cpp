#include "core/platform/PathStandardizing.h"

#include <filesystem>
#include <system_error>

namespace tallowmere::PathStandardizing {

std::string standardizedPath(const std::string& path) {
    std::filesystem::path absolute(path);
    if (!absolute.is_absolute()) {
        std::error_code error;
        const auto current = std::filesystem::current_path(error);
        if (!error)
            absolute = current / absolute;
    }
    std::string text = absolute.lexically_normal().string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

std::string lastPathComponent(const std::string& path) {
    std::size_t end = path.size();
    while (end > 1 && path[end - 1] == '/') --end;
    if (end == 1 && path[0] == '/')
        return "/";
    const std::size_t slash = path.find_last_of('/', end - 1);
    if (slash == std::string::npos)
        return path.substr(0, end);
    return path.substr(slash + 1, end - slash - 1);
}

bool beginsWithFolder(std::string_view path, std::string_view folder) {
    // The root's text already ends with the separator; "//" would match nothing.
    if (folder == "/")
        return path.starts_with('/');
    return path.size() > folder.size() && path.starts_with(folder) && path[folder.size()] == '/';
}

}  // namespace tallowmere::PathStandardizing
