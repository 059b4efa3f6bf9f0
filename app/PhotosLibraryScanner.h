#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "core/photos/PhotoLibrary.h"
#include "core/photos/PhotosLibraryCandidate.h"
#include "core/photos/PhotosScanProgressSnapshot.h"
#include "core/photos/PhotosScanSummary.h"
#include "core/platform/Clock.h"
#include "core/platform/FileSystem.h"

namespace tallowmere {

// The read-only Photos safety scan: asks for Photos access if it was never asked, finds the
// library package on disk and measures the space it takes, and, when access allows, counts
// the library's assets by kind from their metadata. It never opens, exports, edits or deletes
// a photo; it reads metadata and lists folders through a const FileSystem.
//
// A scan always runs to its end and never fails: missing access, a missing library and
// unreadable parts of it are outcomes recorded in the summary.
//
// Thread safety: runScan is synchronous and does all its work on the calling thread (the
// application runs it off the main thread); it blocks only while the access request waits
// for the user's answer. setProgressHandler may be called from any thread at any time. The
// handler is called on the scanning thread and never while the scanner's lock is held, so it
// may call back into the scanner; it must hand the snapshot to the user-interface thread
// itself. Scans must not overlap (the application starts one only when none runs).
class PhotosLibraryScanner {
public:
    using ProgressHandler = std::function<void(const PhotosScanProgressSnapshot&)>;

    // Where the library package is looked for when the user chose none: this file name in the
    // pictures folder.
    static constexpr const char* kDefaultLibraryName = "Photos Library.photoslibrary";

    // `fileSystem` and `photoLibrary` must outlive the scanner. A null clock means the
    // system clock.
    PhotosLibraryScanner(const FileSystem& fileSystem, PhotoLibrary& photoLibrary,
                         std::shared_ptr<const Clock> clock = nullptr);

    // Replaces the handler (an empty function removes it).
    void setProgressHandler(ProgressHandler handler);

    // Runs one scan of the library at `userSelectedLibraryPath`, or at the default location
    // when none is given. Publishes a snapshot as each stage begins, for the first asset,
    // every 500th and the last, and one at the end.
    PhotosScanSummary runScan(const std::optional<std::string>& userSelectedLibraryPath);

    // The library package at the chosen path (in its standardized form), else at the default
    // location, with its size on disk when it is a folder. Always gives a candidate, also for
    // a path where nothing is.
    PhotosLibraryCandidate detectLibraryCandidate(
        const std::optional<std::string>& userSelectedLibraryPath) const;

    // Bytes allocated on disk for the regular files inside the package, hidden items (and
    // everything inside hidden folders) left out; items whose values cannot be read and
    // folders that cannot be listed count nothing. None when the package itself cannot be
    // listed; 0 when it holds no readable regular file.
    std::optional<std::int64_t> packageSize(const std::string& path) const;

private:
    PhotosAuthorizationState authorizationState(const std::optional<std::string>& libraryPath);
    void publish(const PhotosScanProgressSnapshot& snapshot) const;

    // Constant after construction.
    const FileSystem& m_fileSystem;
    PhotoLibrary& m_photoLibrary;
    const std::shared_ptr<const Clock> m_clock;

    mutable std::mutex m_mutex;
    // Guarded by m_mutex.
    ProgressHandler m_progressHandler;
};

}  // namespace tallowmere
