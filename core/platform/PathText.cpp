#include "core/platform/PathText.h"

namespace tallowmere::path_text {

std::string standardized(std::string_view path) {
    std::vector<std::string_view> kept;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string_view::npos)
            end = path.size();
        const std::string_view part = path.substr(start, end - start);
        if (part == "..") {
            if (!kept.empty())
                kept.pop_back();
        } else if (!part.empty() && part != ".") {
            kept.push_back(part);
        }
        start = end + 1;
    }
    if (kept.empty())
        return "/";
    std::string result;
    for (const auto part : kept) {
        result += '/';
        result += part;
    }
    return result;
}

std::vector<std::string> components(std::string_view path) {
    const std::string text = standardized(path);
    std::vector<std::string> parts{"/"};
    std::size_t start = 1;
    while (start < text.size()) {
        std::size_t end = text.find('/', start);
        if (end == std::string::npos)
            end = text.size();
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::string lastComponent(std::string_view path) {
    const std::string text = standardized(path);
    return text.substr(text.find_last_of('/') + 1);
}

std::string parent(std::string_view path) {
    const std::string text = standardized(path);
    const std::size_t slash = text.find_last_of('/');
    return slash == 0 ? "/" : text.substr(0, slash);
}

std::string appending(std::string_view folder, std::string_view name) {
    std::string result(folder);
    if (result.empty() || result.back() != '/')
        result += '/';
    std::size_t skip = 0;
    while (skip < name.size() && name[skip] == '/') ++skip;
    result += name.substr(skip);
    return result;
}

bool isWithin(std::string_view path, std::string_view folder) {
    const std::string inner = standardized(path);
    const std::string outer = standardized(folder);
    if (outer == "/")
        return true;
    return inner.compare(0, outer.size(), outer) == 0 &&
           (inner.size() == outer.size() || inner[outer.size()] == '/');
}

}  // namespace tallowmere::path_text
