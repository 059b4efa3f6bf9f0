#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace tallowmere::bench {

// A fresh folder under the system's temporary directory, removed with everything in
// it when the object goes away.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& prefix);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// Removes the folder and everything in it, many files at once: on a disk mounted with
// online discard each removed file waits for its own discard, and one at a time that takes
// minutes for a few ten thousand files. Errors are ignored.
void removeTree(const std::filesystem::path& folder);

// Flushes the file system holding the path to its disk.
void flushFileSystem(const std::filesystem::path& path);

// Seconds taken by `work`.
template <typename Work>
double secondsOf(Work&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Runs the program with the given arguments, its standard input read from
// `standardInput` and its output discarded. Throws std::runtime_error when it cannot
// be started or does not exit with status 0.
void runProgram(const std::vector<std::string>& arguments,
                const std::filesystem::path& standardInput);

}  // namespace tallowmere::bench
