#include "app/PathText.h"

#include <filesystem>

namespace tallowmere::PathText {

std::string standardized(const std::string& path) {
    std::string normal = std::filesystem::path(path).lexically_normal().string();
    while (normal.size() > 1 && normal.back() == '/') normal.pop_back();
    return normal;
}

std::string lastComponent(const std::string& path) {
    const std::string normal = standardized(path);
    const auto slash = normal.rfind('/');
    if (slash == std::string::npos || normal.size() == 1)
        return normal;
    return normal.substr(slash + 1);
}

}  // namespace tallowmere::PathText
