#pragma once

#include <string>

#include "core/platform/Bytes.h"
#include "core/platform/FileSystem.h"

namespace tallowmere {

// Where a bookmarked folder is now.
struct ResolvedBookmark {
    std::string path;
    // The folder was found somewhere other than where it was when bookmarked (its drive is
    // mounted at another place). Reported, not acted on.
    bool isStale = false;

    bool operator==(const ResolvedBookmark&) const = default;
};

// Bookmarks of folders the user picked: opaque bytes that find the folder again later, also
// when its drive has been mounted somewhere else, and that never take a different file
// system's folder for it.
//
// Thread safety: implementations are safe for concurrent use from any thread.
class Bookmarks {
public:
    virtual ~Bookmarks() = default;

    // The bookmark of the folder at `path`; an error when the folder cannot be examined.
    virtual FileResult<Bytes> create(const std::string& path) const = 0;

    // Where the bookmarked folder is now. Not found when the folder, or the file system it
    // was on, is not there now: a drive that is unplugged or mounted nowhere is never
    // mistaken for whatever folder now sits at the old path. Another error when the bytes
    // are not a bookmark this program can read.
    virtual FileResult<ResolvedBookmark> resolve(const Bytes& bookmark) const = 0;

    // Scoped access to a resolved folder, where the platform asks for it: true when access
    // was started and must be stopped with stopAccessing(). Platforms without it return false.
    virtual bool startAccessing(const std::string& path) = 0;
    virtual void stopAccessing(const std::string& path) = 0;
};

}  // namespace tallowmere
