#include "tests/support/InMemoryFileSystem.h"

#include <algorithm>
#include <cstring>

namespace tallowmere::testing {
namespace {

std::error_code errorOf(std::errc error) {
    return std::make_error_code(error);
}

std::string normalized(const std::string& path) {
    std::string result = path;
    while (result.size() > 1 && result.back() == '/') result.pop_back();
    return result;
}

std::string parentOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return "";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    if (path == "/")
        return "/";
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string join(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

bool isUnder(const std::string& path, const std::string& folder) {
    if (folder == "/")
        return path.size() > 1 && path.front() == '/';
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
           path[folder.size()] == '/';
}

class InMemoryReader final : public FileReader {
public:
    InMemoryReader(std::string contents, std::optional<std::error_code> readError)
        : m_contents(std::move(contents)), m_readError(readError) {}

    FileResult<std::size_t> read(std::span<std::uint8_t> buffer) override {
        if (m_readError)
            return *m_readError;
        const std::size_t count = std::min(buffer.size(), m_contents.size() - m_offset);
        std::memcpy(buffer.data(), m_contents.data() + m_offset, count);
        m_offset += count;
        return count;
    }

private:
    std::string m_contents;
    std::size_t m_offset = 0;
    std::optional<std::error_code> m_readError;
};

}  // namespace

InMemoryFileSystem::InMemoryFileSystem()
    : m_home("/home/tester"), m_applicationSupport("/home/tester/.local/share") {
    m_nodes["/"].values = localFolderValues("/");
}

ResourceValues InMemoryFileSystem::localFileValues(std::string name, std::int64_t size,
                                                   Date modified) {
    ResourceValues values;
    values.isHidden = !name.empty() && name.front() == '.';
    values.name = std::move(name);
    values.isRegularFile = true;
    values.fileSize = size;
    values.contentModificationDate = modified;
    values.downloadingStatus = DownloadingStatus::current();
    return values;
}

ResourceValues InMemoryFileSystem::localFolderValues(std::string name) {
    ResourceValues values;
    values.isHidden = !name.empty() && name.front() == '.';
    values.name = std::move(name);
    values.isDirectory = true;
    values.contentModificationDate = kDefaultDate;
    return values;
}

// ---------------------------------------------------------------- building

void InMemoryFileSystem::ensureFolders(const std::string& path) {
    const std::string parent = parentOf(path);
    if (parent.empty() || m_nodes.count(parent) != 0)
        return;
    ensureFolders(parent);
    m_nodes[parent].values = localFolderValues(nameOf(parent));
}

void InMemoryFileSystem::addFolder(const std::string& rawPath) {
    addItem(rawPath, localFolderValues(nameOf(normalized(rawPath))));
}

void InMemoryFileSystem::addFile(const std::string& rawPath, std::string contents, Date modified) {
    const std::string path = normalized(rawPath);
    const auto size = static_cast<std::int64_t>(contents.size());
    addItem(path, localFileValues(nameOf(path), size, modified), std::move(contents));
}

void InMemoryFileSystem::addLink(const std::string& rawPath, std::string target) {
    const std::string path = normalized(rawPath);
    ResourceValues values;
    values.name = nameOf(path);
    values.isHidden = values.name.front() == '.';
    values.isSymbolicLink = true;
    values.fileSize = static_cast<std::int64_t>(target.size());
    values.contentModificationDate = kDefaultDate;
    std::lock_guard lock(m_mutex);
    ensureFolders(path);
    Node& node = m_nodes[path];
    node = Node{};
    node.values = std::move(values);
    node.linkTarget = std::move(target);
}

void InMemoryFileSystem::addItem(const std::string& rawPath, ResourceValues values,
                                 std::string contents) {
    const std::string path = normalized(rawPath);
    if (values.name.empty())
        values.name = nameOf(path);
    std::lock_guard lock(m_mutex);
    ensureFolders(path);
    Node& node = m_nodes[path];
    node = Node{};
    node.values = std::move(values);
    node.contents = std::move(contents);
}

void InMemoryFileSystem::updateValues(const std::string& path,
                                      const std::function<void(ResourceValues&)>& edit) {
    std::lock_guard lock(m_mutex);
    if (Node* node = find(path))
        edit(node->values);
}

void InMemoryFileSystem::erase(const std::string& rawPath) {
    const std::string path = normalized(rawPath);
    std::lock_guard lock(m_mutex);
    for (auto it = m_nodes.begin(); it != m_nodes.end();) {
        if (it->first != "/" && (it->first == path || isUnder(it->first, path))) {
            it = m_nodes.erase(it);
        } else {
            ++it;
        }
    }
}

void InMemoryFileSystem::failOperation(Operation operation, const std::string& path,
                                       std::error_code error) {
    std::lock_guard lock(m_mutex);
    m_failures[{operation, normalized(path)}] = error;
}

void InMemoryFileSystem::setReadable(const std::string& path, bool readable) {
    std::lock_guard lock(m_mutex);
    if (Node* node = find(path))
        node->readable = readable;
}

void InMemoryFileSystem::setWritable(const std::string& path, bool writable) {
    std::lock_guard lock(m_mutex);
    if (Node* node = find(path))
        node->writable = writable;
}

void InMemoryFileSystem::setEnumerationHook(std::function<void(const std::string&)> hook) {
    std::lock_guard lock(m_mutex);
    m_hook = std::move(hook);
}

void InMemoryFileSystem::setChangeHook(std::function<void(Operation, const std::string&)> hook) {
    std::lock_guard lock(m_mutex);
    m_changeHook = std::move(hook);
}

void InMemoryFileSystem::runChangeHook(Operation operation, const std::string& path) const {
    std::function<void(Operation, const std::string&)> hook;
    {
        std::lock_guard lock(m_mutex);
        hook = m_changeHook;
    }
    if (hook)
        hook(operation, normalized(path));
}

std::unique_lock<std::mutex> InMemoryFileSystem::startChange(Operation operation,
                                                             const std::string& path) const {
    runChangeHook(operation, path);
    return std::unique_lock(m_mutex);
}

void InMemoryFileSystem::addVolume(const std::string& mountPath, VolumeValues values,
                                   std::optional<std::int64_t> freeBytes) {
    std::lock_guard lock(m_mutex);
    m_volumes[normalized(mountPath)] = Volume{std::move(values), freeBytes};
}

void InMemoryFileSystem::setHomeDirectory(std::optional<std::string> path) {
    std::lock_guard lock(m_mutex);
    m_home = std::move(path);
}

void InMemoryFileSystem::setApplicationSupportDirectory(std::optional<std::string> path) {
    std::lock_guard lock(m_mutex);
    m_applicationSupport = std::move(path);
}

// ---------------------------------------------------------------- looking

std::optional<std::string> InMemoryFileSystem::contents(const std::string& path) const {
    std::lock_guard lock(m_mutex);
    const Node* node = find(path);
    if (node == nullptr || node->values.isDirectory || node->values.isSymbolicLink)
        return std::nullopt;
    return node->contents;
}

std::optional<ResourceValues> InMemoryFileSystem::storedValues(const std::string& path) const {
    std::lock_guard lock(m_mutex);
    const Node* node = find(path);
    if (node == nullptr)
        return std::nullopt;
    return node->values;
}

std::vector<std::string> InMemoryFileSystem::changes() const {
    std::lock_guard lock(m_mutex);
    return m_changes;
}

std::vector<std::string> InMemoryFileSystem::pathsBelow(const std::string& rawFolder) const {
    const std::string folder = normalized(rawFolder);
    std::lock_guard lock(m_mutex);
    std::vector<std::string> paths;
    for (const auto& [path, node] : m_nodes) {
        if (path == folder || isUnder(path, folder))
            paths.push_back(path);
    }
    return paths;
}

// ---------------------------------------------------------------- helpers

const InMemoryFileSystem::Node* InMemoryFileSystem::find(const std::string& path) const {
    const auto found = m_nodes.find(normalized(path));
    return found == m_nodes.end() ? nullptr : &found->second;
}

InMemoryFileSystem::Node* InMemoryFileSystem::find(const std::string& path) {
    const auto found = m_nodes.find(normalized(path));
    return found == m_nodes.end() ? nullptr : &found->second;
}

std::optional<std::string> InMemoryFileSystem::resolve(const std::string& rawPath) const {
    std::string path = normalized(rawPath);
    for (int hops = 0; hops < 8; ++hops) {
        const Node* node = find(path);
        if (node == nullptr)
            return std::nullopt;
        if (!node->values.isSymbolicLink)
            return path;
        const std::string& target = node->linkTarget;
        path = normalized(!target.empty() && target.front() == '/' ? target
                                                                   : join(parentOf(path), target));
    }
    return std::nullopt;
}

std::optional<std::error_code> InMemoryFileSystem::injected(Operation operation,
                                                            const std::string& path) const {
    const auto found = m_failures.find({operation, normalized(path)});
    if (found == m_failures.end())
        return std::nullopt;
    return found->second;
}

std::vector<std::string> InMemoryFileSystem::childNames(const std::string& folder) const {
    std::vector<std::string> names;
    const std::string prefix = folder == "/" ? "/" : folder + "/";
    for (auto it = m_nodes.lower_bound(prefix); it != m_nodes.end(); ++it) {
        if (it->first.compare(0, prefix.size(), prefix) != 0)
            break;
        const std::string rest = it->first.substr(prefix.size());
        if (!rest.empty() && rest.find('/') == std::string::npos)
            names.push_back(rest);
    }
    std::sort(names.begin(), names.end());
    return names;
}

const InMemoryFileSystem::Volume* InMemoryFileSystem::volumeOf(const std::string& path) const {
    const Volume* best = nullptr;
    std::size_t bestLength = 0;
    for (const auto& [mount, volume] : m_volumes) {
        if ((path == mount || isUnder(path, mount)) &&
            (best == nullptr || mount.size() > bestLength)) {
            best = &volume;
            bestLength = mount.size();
        }
    }
    return best;
}

FileResult<const InMemoryFileSystem::Volume*> InMemoryFileSystem::volumeAt(
    Operation operation, const std::string& path) const {
    if (const auto error = injected(operation, path))
        return *error;
    const auto resolved = resolve(path);
    if (!resolved)
        return errorOf(std::errc::no_such_file_or_directory);
    const Volume* volume = volumeOf(*resolved);
    if (volume == nullptr)
        return errorOf(std::errc::no_such_device);
    return volume;
}

std::error_code InMemoryFileSystem::checkCopy(const std::string& source,
                                              const std::string& destination) const {
    if (const auto error = injected(Operation::copy, source))
        return *error;
    if (const auto error = injected(Operation::copy, destination))
        return *error;
    const Node* from = find(source);
    if (from == nullptr)
        return errorOf(std::errc::no_such_file_or_directory);
    if (from->values.isSymbolicLink)
        return errorOf(std::errc::too_many_symbolic_link_levels);
    if (from->values.isDirectory)
        return errorOf(std::errc::is_a_directory);
    if (!from->readable)
        return errorOf(std::errc::permission_denied);
    // A read fault on the source fails a copy as it fails a reader.
    if (const auto error = injected(Operation::read, source))
        return *error;
    if (const auto error = checkParentForNewItem(destination))
        return error;
    if (find(destination) != nullptr)
        return errorOf(std::errc::file_exists);
    return {};
}

std::error_code InMemoryFileSystem::checkParentForNewItem(const std::string& path) const {
    const auto parent = resolve(parentOf(path));
    if (!parent)
        return errorOf(std::errc::no_such_file_or_directory);
    const Node* folder = find(*parent);
    if (!folder->values.isDirectory)
        return errorOf(std::errc::not_a_directory);
    if (!folder->writable)
        return errorOf(std::errc::permission_denied);
    return {};
}

// ---------------------------------------------------------------- FileSystem

FileResult<std::string> InMemoryFileSystem::homeDirectory() const {
    std::lock_guard lock(m_mutex);
    if (!m_home)
        return errorOf(std::errc::no_such_file_or_directory);
    return *m_home;
}

FileResult<std::string> InMemoryFileSystem::applicationSupportDirectory() const {
    std::lock_guard lock(m_mutex);
    if (!m_applicationSupport)
        return errorOf(std::errc::no_such_file_or_directory);
    return *m_applicationSupport;
}

bool InMemoryFileSystem::exists(const std::string& path) const {
    std::lock_guard lock(m_mutex);
    return resolve(path).has_value();
}

bool InMemoryFileSystem::isDirectory(const std::string& path) const {
    std::lock_guard lock(m_mutex);
    const auto resolved = resolve(path);
    return resolved && find(*resolved)->values.isDirectory;
}

bool InMemoryFileSystem::isReadable(const std::string& path) const {
    std::lock_guard lock(m_mutex);
    const auto resolved = resolve(path);
    return resolved && find(*resolved)->readable;
}

bool InMemoryFileSystem::isWritable(const std::string& path) const {
    std::lock_guard lock(m_mutex);
    const auto resolved = resolve(path);
    return resolved && find(*resolved)->writable;
}

FileResult<ResourceValues> InMemoryFileSystem::resourceValues(const std::string& path) const {
    std::lock_guard lock(m_mutex);
    if (const auto error = injected(Operation::resourceValues, path))
        return *error;
    const Node* node = find(path);
    if (node == nullptr)
        return errorOf(std::errc::no_such_file_or_directory);
    return node->values;
}

std::error_code InMemoryFileSystem::enumerate(const std::string& rawRoot,
                                              const DirectoryVisitor& visitor,
                                              const EnumerationErrorHandler& onError) const {
    struct Frame {
        std::string storedPath;    // where the folder is in the tree
        std::string reportedPath;  // the path the caller sees
        int depth = 0;
        std::vector<std::string> names;
        std::size_t next = 0;
    };
    std::vector<Frame> stack;
    std::function<void(const std::string&)> hook;
    {
        std::lock_guard lock(m_mutex);
        const std::string root = normalized(rawRoot);
        if (const auto error = injected(Operation::enumerate, root))
            return *error;
        const auto resolved = resolve(root);
        if (!resolved)
            return errorOf(std::errc::no_such_file_or_directory);
        const Node* node = find(*resolved);
        if (!node->values.isDirectory)
            return errorOf(std::errc::not_a_directory);
        if (!node->readable)
            return errorOf(std::errc::permission_denied);
        stack.push_back(Frame{*resolved, root, 0, childNames(*resolved)});
        hook = m_hook;
    }

    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next == top.names.size()) {
            stack.pop_back();
            continue;
        }
        const std::string name = top.names[top.next++];
        const std::string stored = join(top.storedPath, name);
        const std::string reported = join(top.reportedPath, name);
        const int depth = top.depth + 1;
        if (hook)
            hook(reported);

        std::optional<FileResult<ResourceValues>> values;
        {
            std::lock_guard lock(m_mutex);
            const Node* node = find(stored);
            if (node == nullptr)
                continue;  // vanished since the folder was listed
            if (const auto error = injected(Operation::resourceValues, reported)) {
                values.emplace(*error);
            } else {
                values.emplace(node->values);
            }
        }
        const bool folder = values->ok() && (*values)->isDirectory && !(*values)->isSymbolicLink;
        const WalkAction action = visitor(DirectoryEntry{reported, depth, std::move(*values)});
        if (action == WalkAction::stop)
            return {};
        if (action != WalkAction::descend || !folder)
            continue;

        std::error_code error;
        std::vector<std::string> names;
        {
            std::lock_guard lock(m_mutex);
            const Node* node = find(stored);
            if (node == nullptr || !node->values.isDirectory)
                continue;
            if (const auto failure = injected(Operation::enumerate, reported)) {
                error = *failure;
            } else if (!node->readable) {
                error = errorOf(std::errc::permission_denied);
            } else {
                names = childNames(stored);
            }
        }
        if (error) {
            if (onError)
                onError(reported, error);
            continue;
        }
        stack.push_back(Frame{stored, reported, depth, std::move(names)});
    }
    return {};
}

FileResult<VolumeValues> InMemoryFileSystem::volumeValues(const std::string& path) const {
    std::lock_guard lock(m_mutex);
    const auto volume = volumeAt(Operation::volumeValues, path);
    if (!volume)
        return volume.error();
    return (*volume)->values;
}

FileResult<std::int64_t> InMemoryFileSystem::freeSpace(const std::string& path) const {
    std::lock_guard lock(m_mutex);
    const auto volume = volumeAt(Operation::freeSpace, path);
    if (!volume)
        return volume.error();
    if (!(*volume)->freeBytes)
        return errorOf(std::errc::no_such_device);
    return *(*volume)->freeBytes;
}

FileResult<std::unique_ptr<FileReader>> InMemoryFileSystem::openForReading(
    const std::string& path) const {
    std::lock_guard lock(m_mutex);
    if (const auto error = injected(Operation::open, path))
        return *error;
    const auto resolved = resolve(path);
    if (!resolved)
        return errorOf(std::errc::no_such_file_or_directory);
    const Node* node = find(*resolved);
    if (node->values.isDirectory)
        return errorOf(std::errc::is_a_directory);
    if (!node->readable)
        return errorOf(std::errc::permission_denied);
    return std::unique_ptr<FileReader>(
        std::make_unique<InMemoryReader>(node->contents, injected(Operation::read, path)));
}

std::error_code InMemoryFileSystem::createDirectory(const std::string& rawPath) {
    const std::string path = normalized(rawPath);
    const auto lock = startChange(Operation::createDirectory, path);
    if (const auto error = injected(Operation::createDirectory, path))
        return *error;
    // Top down, like mkdir -p.
    std::vector<std::string> chain;
    for (std::string at = path; !at.empty() && at != "/"; at = parentOf(at)) chain.push_back(at);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (const auto resolved = resolve(*it)) {
            if (find(*resolved)->values.isDirectory)
                continue;
            return errorOf(*it == path ? std::errc::file_exists : std::errc::not_a_directory);
        }
        if (const auto error = checkParentForNewItem(*it))
            return error;
        m_nodes[*it].values = localFolderValues(nameOf(*it));
    }
    m_changes.push_back("createDirectory " + path);
    return {};
}

std::error_code InMemoryFileSystem::createDirectoryBelow(const std::string& rawBase,
                                                         const std::string& rawPath) {
    const std::string base = normalized(rawBase);
    const std::string path = normalized(rawPath);
    const auto lock = startChange(Operation::createDirectory, path);
    if (const auto error = injected(Operation::createDirectory, path))
        return *error;
    if (path != base && !isUnder(path, base))
        return errorOf(std::errc::invalid_argument);
    const auto resolvedBase = resolve(base);
    if (!resolvedBase)
        return errorOf(std::errc::no_such_file_or_directory);
    if (!find(*resolvedBase)->values.isDirectory)
        return errorOf(std::errc::not_a_directory);
    std::vector<std::string> chain;
    for (std::string at = path; at != base; at = parentOf(at)) chain.push_back(at);
    bool created = false;
    // Below the base nothing is followed: a link where a folder belongs is refused.
    std::string folder = *resolvedBase;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const std::string at = join(folder, nameOf(*it));
        if (const Node* node = find(at)) {
            if (node->values.isDirectory && !node->values.isSymbolicLink) {
                folder = at;
                continue;
            }
            return errorOf(*it == path ? std::errc::file_exists : std::errc::not_a_directory);
        }
        if (const auto error = checkParentForNewItem(at))
            return error;
        m_nodes[at].values = localFolderValues(nameOf(at));
        folder = at;
        created = true;
    }
    if (created)
        m_changes.push_back("createDirectory " + path);
    return {};
}

std::error_code InMemoryFileSystem::copyFile(const std::string& source,
                                             const std::string& destination) {
    const auto copied = copyFrom(source, destination, false);
    return copied ? std::error_code{} : copied.error();
}

FileResult<std::string> InMemoryFileSystem::copyToTemporaryFile(const std::string& source,
                                                                const std::string& destination) {
    return copyFrom(source, destination, true);
}

FileResult<std::string> InMemoryFileSystem::copyFrom(const std::string& rawSource,
                                                     const std::string& rawDestination,
                                                     bool toTemporary) {
    const std::string source = normalized(rawSource);
    const std::string destination = normalized(rawDestination);
    const auto lock = startChange(Operation::copy, destination);
    if (const auto error = checkCopy(source, destination))
        return error;
    const Node* from = find(source);
    const std::string target =
        toTemporary ? join(parentOf(destination),
                           std::string(kPartialFilePrefix) + std::to_string(++m_temporaryCount))
                    : destination;
    Node copy;
    copy.contents = from->contents;
    copy.values = localFileValues(nameOf(target), static_cast<std::int64_t>(from->contents.size()),
                                  from->values.contentModificationDate.value_or(kDefaultDate));
    m_nodes[target] = std::move(copy);
    m_changes.push_back((toTemporary ? "copyToTemporary " : "copy ") + source + " -> " + target);
    return target;
}

std::error_code InMemoryFileSystem::publishTemporaryFile(const std::string& rawTemporary,
                                                         const std::string& rawDestination) {
    const std::string temporary = normalized(rawTemporary);
    const std::string destination = normalized(rawDestination);
    const auto lock = startChange(Operation::publish, destination);
    if (const auto error = injected(Operation::publish, destination))
        return *error;
    if (parentOf(temporary) != parentOf(destination) || temporary == destination)
        return errorOf(std::errc::invalid_argument);
    const auto found = m_nodes.find(temporary);
    if (found == m_nodes.end())
        return errorOf(std::errc::no_such_file_or_directory);
    if (find(destination) != nullptr)
        return errorOf(std::errc::file_exists);
    Node node = std::move(found->second);
    m_nodes.erase(found);
    node.values.name = nameOf(destination);
    node.values.isHidden = node.values.name.front() == '.';
    m_nodes[destination] = std::move(node);
    m_changes.push_back("publish " + temporary + " -> " + destination);
    return {};
}

std::error_code InMemoryFileSystem::remove(const std::string& rawPath) {
    const std::string path = normalized(rawPath);
    {
        const auto lock = startChange(Operation::remove, path);
        if (const auto error = injected(Operation::remove, path))
            return *error;
        if (path == "/")
            return errorOf(std::errc::invalid_argument);
        if (find(path) == nullptr)
            return errorOf(std::errc::no_such_file_or_directory);
        m_changes.push_back("remove " + path);
    }
    erase(path);
    return {};
}

std::error_code InMemoryFileSystem::setModificationDate(const std::string& path, Date date) {
    const auto lock = startChange(Operation::setModificationDate, path);
    if (const auto error = injected(Operation::setModificationDate, path))
        return *error;
    Node* node = find(path);
    if (node == nullptr)
        return errorOf(std::errc::no_such_file_or_directory);
    node->values.contentModificationDate = date;
    m_changes.push_back("setModificationDate " + normalized(path));
    return {};
}

std::error_code InMemoryFileSystem::writeFileAtomically(const std::string& rawPath,
                                                        std::span<const std::uint8_t> contents) {
    const std::string path = normalized(rawPath);
    const auto lock = startChange(Operation::write, path);
    if (const auto error = injected(Operation::write, path))
        return *error;
    if (const auto error = checkParentForNewItem(path))
        return error;
    if (const Node* existing = find(path); existing != nullptr && existing->values.isDirectory) {
        return errorOf(std::errc::is_a_directory);
    }
    Node node;
    node.contents.assign(reinterpret_cast<const char*>(contents.data()), contents.size());
    node.values = localFileValues(nameOf(path), static_cast<std::int64_t>(contents.size()));
    m_nodes[path] = std::move(node);
    m_changes.push_back("write " + path);
    return {};
}

std::error_code InMemoryFileSystem::synchronize(const std::string& path) {
    const auto lock = startChange(Operation::synchronize, path);
    if (const auto error = injected(Operation::synchronize, path))
        return *error;
    if (!resolve(path))
        return errorOf(std::errc::no_such_file_or_directory);
    m_changes.push_back("synchronize " + normalized(path));
    return {};
}

}  // namespace tallowmere::testing
