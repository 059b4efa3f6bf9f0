#include "core/platform/FileSystem.h"

namespace tallowmere {

bool isNotFound(const std::error_code& error) {
    return error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory;
}

}  // namespace tallowmere
