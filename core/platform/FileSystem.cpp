#include "core/platform/FileSystem.h"

namespace tallowmere {

bool isNotFound(const std::error_code& error) {
    return error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory;
}

FileResult<std::string> FileSystem::picturesDirectory() const {
    auto home = homeDirectory();
    if (!home)
        return home.error();
    return (*home == "/" ? std::string() : *home) + "/Pictures";
}

}  // namespace tallowmere
