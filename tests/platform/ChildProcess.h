#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tallowmere::testing {

// Runs `work` in a forked child process and returns the text it produced; no value when the
// child did not finish normally or `work` threw. For tests that change process-wide limits
// or privileges, which must not leak into the test binary.
std::optional<std::string> runInChild(const std::function<std::string()>& work);

// Makes the calling process obey file permissions even when it runs as root, by giving up
// the capabilities that bypass them. False when that is not possible.
bool dropPermissionOverride();

// Serialises a list of texts that may themselves hold any byte except NUL.
std::string joinRecords(const std::vector<std::string>& records);
std::vector<std::string> splitRecords(const std::string& text);

}  // namespace tallowmere::testing
