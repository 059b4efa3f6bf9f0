#include "bench/BenchSupport.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>
#include <thread>

namespace tallowmere::bench {

ScratchFolder::ScratchFolder(const std::string& prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    m_path = pattern;
}

ScratchFolder::~ScratchFolder() {
    removeTree(m_path);
}

void removeTree(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(folder, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        if (!it->is_directory(error) || it->is_symlink(error))
            files.push_back(it->path());
    }
    constexpr std::size_t kWorkers = 16;
    std::vector<std::thread> workers;
    for (std::size_t w = 0; w < kWorkers; ++w) {
        workers.emplace_back([&files, w] {
            for (std::size_t i = w; i < files.size(); i += kWorkers) ::unlink(files[i].c_str());
        });
    }
    for (auto& worker : workers) worker.join();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

void flushFileSystem(const std::filesystem::path& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw std::runtime_error("cannot open " + path.string());
    const int result = syncfs(fd);
    close(fd);
    if (result != 0)
        throw std::runtime_error("cannot flush " + path.string());
}

void runProgram(const std::vector<std::string>& arguments,
                const std::filesystem::path& standardInput) {
    const int input = open(standardInput.c_str(), O_RDONLY | O_CLOEXEC);
    if (input < 0)
        throw std::runtime_error("cannot open " + standardInput.string());
    std::vector<char*> argv;
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    const pid_t child = fork();
    if (child == 0) {
        dup2(input, STDIN_FILENO);
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0)
            dup2(null, STDOUT_FILENO);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(input);
    if (child < 0)
        throw std::runtime_error("cannot start " + arguments.front());
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error(arguments.front() + " failed");
    }
}

}  // namespace tallowmere::bench
