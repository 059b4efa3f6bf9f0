#include "platform/linux/DirectoryWalker.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

namespace tallowmere::linux_fs {
namespace {

std::error_code lastError() {
    return {errno, std::generic_category()};
}

constexpr int kOpenFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

struct Frame {
    // Name in the parent folder; empty for the root.
    std::string name;
    std::string path;
    int depth = 0;  // 0 for the root
    UniqueFd fd;    // closed while the descriptor budget is spent on deeper folders
    dev_t device = 0;
    ino_t inode = 0;
    std::vector<std::string> names;
    std::size_t next = 0;
};

class Walk {
public:
    Walk(const WalkCallbacks& callbacks, std::size_t maxOpenFolders)
        : m_callbacks(callbacks), m_maxOpen(std::max<std::size_t>(maxOpenFolders, 2)) {}

    std::error_code run(UniqueFd root, const std::string& rootPath) {
        Frame frame;
        frame.path = rootPath;
        struct stat st {};
        if (::fstat(root.get(), &st) != 0)
            return lastError();
        frame.device = st.st_dev;
        frame.inode = st.st_ino;
        if (const auto ec = readFolderNames(root.get(), frame.names))
            return ec;
        frame.fd = std::move(root);
        m_stack.push_back(std::move(frame));
        m_open = 1;

        while (!m_stack.empty()) {
            const std::size_t top = m_stack.size() - 1;
            if (m_stack[top].next == m_stack[top].names.size()) {
                finishTop();
                continue;
            }
            if (!m_stack[top].fd && !reopen(top)) {
                m_stack.pop_back();  // its remaining entries cannot be reached any more
                continue;
            }
            Frame& folder = m_stack[top];
            const std::string name = folder.names[folder.next++];
            const std::string path = joinPath(folder.path, name);
            const WalkAction action =
                m_callbacks.entry(folder.fd.get(), name, path, folder.depth + 1);
            if (action == WalkAction::stop)
                return {};
            if (action == WalkAction::descend)
                enter(top, name, path);
        }
        return {};
    }

private:
    void reportError(const std::string& path, std::error_code ec) {
        if (m_callbacks.error)
            m_callbacks.error(path, ec);
    }

    void enter(std::size_t parent, const std::string& name, const std::string& path) {
        UniqueFd fd(::openat(m_stack[parent].fd.get(), name.c_str(), kOpenFolderFlags));
        if (!fd) {
            const int error = errno;
            // Gone, or replaced by a file or a link since it was looked at: there is
            // nothing to walk into, which is not a failure.
            if (error != ENOENT && error != ENOTDIR && error != ELOOP) {
                reportError(path, {error, std::generic_category()});
            }
            return;
        }
        Frame frame;
        frame.name = name;
        frame.path = path;
        frame.depth = m_stack[parent].depth + 1;
        struct stat st {};
        if (::fstat(fd.get(), &st) != 0) {
            reportError(path, lastError());
            return;
        }
        frame.device = st.st_dev;
        frame.inode = st.st_ino;
        if (const auto ec = readFolderNames(fd.get(), frame.names))
            reportError(path, ec);
        makeRoomForOneMore();
        frame.fd = std::move(fd);
        ++m_open;
        m_stack.push_back(std::move(frame));
    }

    void makeRoomForOneMore() {
        if (m_open < m_maxOpen)
            return;
        // The root keeps its descriptor: every reopen starts from it at the latest.
        for (std::size_t i = 1; i < m_stack.size(); ++i) {
            if (m_stack[i].fd) {
                m_stack[i].fd.reset();
                --m_open;
                return;
            }
        }
    }

    // Opens a folder again whose descriptor was given up, name by name from the nearest
    // open folder above it.
    bool reopen(std::size_t index) {
        std::size_t base = index;
        while (!m_stack[base].fd) --base;
        UniqueFd current;
        int currentFd = m_stack[base].fd.get();
        for (std::size_t i = base + 1; i <= index; ++i) {
            UniqueFd next(::openat(currentFd, m_stack[i].name.c_str(), kOpenFolderFlags));
            if (!next) {
                reportError(m_stack[index].path, lastError());
                return false;
            }
            current = std::move(next);
            currentFd = current.get();
        }
        struct stat st {};
        if (::fstat(currentFd, &st) != 0) {
            reportError(m_stack[index].path, lastError());
            return false;
        }
        if (st.st_dev != m_stack[index].device || st.st_ino != m_stack[index].inode) {
            // Something else now sits at the folder's place; its contents are not ours to
            // continue with.
            reportError(m_stack[index].path,
                        std::make_error_code(std::errc::no_such_file_or_directory));
            return false;
        }
        makeRoomForOneMore();
        m_stack[index].fd = std::move(current);
        ++m_open;
        return true;
    }

    void finishTop() {
        Frame done = std::move(m_stack.back());
        m_stack.pop_back();
        if (done.fd)
            --m_open;
        done.fd.reset();
        if (m_stack.empty() || !m_callbacks.leave)
            return;
        const std::size_t parent = m_stack.size() - 1;
        if (!m_stack[parent].fd && !reopen(parent)) {
            m_stack.pop_back();
            return;
        }
        m_callbacks.leave(m_stack[parent].fd.get(), done.name, done.path);
    }

    const WalkCallbacks& m_callbacks;
    const std::size_t m_maxOpen;
    std::vector<Frame> m_stack;
    std::size_t m_open = 0;
};

}  // namespace

std::error_code readFolderNames(int folderFd, std::vector<std::string>& names) {
    names.clear();
    alignas(8) std::array<char, 32 * 1024> buffer;
    std::error_code result;
    for (;;) {
        const ssize_t count = ::getdents64(folderFd, buffer.data(), buffer.size());
        if (count == 0)
            break;
        if (count < 0) {
            if (errno == EINTR)
                continue;
            result = lastError();
            break;
        }
        for (ssize_t offset = 0; offset < count;) {
            const auto* record = reinterpret_cast<const struct dirent64*>(buffer.data() + offset);
            offset += record->d_reclen;
            const char* name = record->d_name;
            if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
                continue;
            names.emplace_back(name);
        }
    }
    std::sort(names.begin(), names.end());
    return result;
}

std::string joinPath(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

std::error_code walkFolder(UniqueFd root, const std::string& rootPath,
                           const WalkCallbacks& callbacks, std::size_t maxOpenFolders) {
    Walk walk(callbacks, maxOpenFolders);
    return walk.run(std::move(root), rootPath);
}

}  // namespace tallowmere::linux_fs
