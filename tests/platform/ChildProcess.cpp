#include "tests/platform/ChildProcess.h"

#include <linux/capability.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace tallowmere::testing {

std::optional<std::string> runInChild(const std::function<std::string()>& work) {
    int fds[2];
    if (::pipe(fds) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return std::nullopt;
    }
    if (child == 0) {
        ::close(fds[0]);
        int status = 0;
        try {
            const std::string text = work();
            std::size_t done = 0;
            while (done < text.size()) {
                const ssize_t written = ::write(fds[1], text.data() + done, text.size() - done);
                if (written <= 0) {
                    status = 2;
                    break;
                }
                done += static_cast<std::size_t>(written);
            }
        } catch (...) {
            status = 3;
        }
        ::close(fds[1]);
        // Leave without running the test framework's exit handlers twice.
        ::_exit(status);
    }
    ::close(fds[1]);
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t count = ::read(fds[0], buffer, sizeof buffer);
        if (count > 0) {
            text.append(buffer, static_cast<std::size_t>(count));
        } else if (count == 0 || errno != EINTR) {
            break;
        }
    }
    ::close(fds[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return text;
}

bool dropPermissionOverride() {
    if (::geteuid() != 0)
        return true;
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3] = {};
    if (::syscall(SYS_capget, &header, data) != 0)
        return false;
    const unsigned mask = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);
    data[0].effective &= ~mask;
    data[0].permitted &= ~mask;
    data[0].inheritable &= ~mask;
    return ::syscall(SYS_capset, &header, data) == 0;
}

std::string joinRecords(const std::vector<std::string>& records) {
    std::string text;
    for (const auto& record : records) {
        text += record;
        text.push_back('\0');
    }
    return text;
}

std::vector<std::string> splitRecords(const std::string& text) {
    std::vector<std::string> records;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\0', start);
        if (end == std::string::npos)
            break;
        records.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return records;
}

}  // namespace tallowmere::testing
