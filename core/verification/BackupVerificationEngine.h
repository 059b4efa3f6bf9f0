#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "core/platform/Date.h"
#include "core/platform/FileSystem.h"
#include "core/platform/Uuid.h"
#include "core/secondcopy/BackupManifestItem.h"
#include "core/verification/VerificationItemResult.h"

// Checks one copied manifest item: the file in the backup folder itself, or a copy of it
// restored into a restore-test folder. Every file-system problem becomes the result's
// status and reason; nothing here throws, and nothing is written anywhere but below the
// restore folder. Pure functions of their arguments and the file system, safe to call from
// any number of threads at once.
//
// `checksumBuffer`, when not empty, is the chunk buffer for hashing (at most 1 MiB of it is
// used); otherwise each hash allocates its own.
namespace tallowmere::BackupVerificationEngine {

// Checks the file at the item's destination path: present, a readable file, of the
// recorded size and, when `expectedChecksum` is given, with that SHA-256. The size is
// compared first, so a file of the wrong size is never read. Without an expected checksum
// the file passes on its size and its own checksum is recorded as the baseline in both
// checksum fields. An item that is not `copied` or `alreadyCopied` is `skipped`.
// The same as destinationFileResult() of inspectDestinationFile().
VerificationItemResult verifyDestinationFile(const BackupManifestItem& item, const Uuid& runID,
                                             const std::optional<std::string>& expectedChecksum,
                                             const FileSystem& fileSystem, Date now,
                                             std::span<std::uint8_t> checksumBuffer = {});

// What the disk says about an item's backup file: all of verifyDestinationFile() that
// reads anything, so that files can be read ahead of (and apart from) looking up the
// checksum they are compared with.
struct DestinationFileFacts {
    enum class Finding {
        // Neither `copied` nor `alreadyCopied`: nothing was looked at.
        notCopied,
        missing,
        directory,
        notReadable,
        // Not hashed.
        sizeMismatch,
        hashFailed,
        hashed,
    };

    Finding finding = Finding::notCopied;
    std::optional<std::int64_t> actualSize = std::nullopt;
    // Present when hashed.
    std::optional<std::string> checksum = std::nullopt;

    bool operator==(const DestinationFileFacts&) const = default;
};

DestinationFileFacts inspectDestinationFile(const BackupManifestItem& item,
                                            const FileSystem& fileSystem,
                                            std::span<std::uint8_t> checksumBuffer = {});

VerificationItemResult destinationFileResult(const BackupManifestItem& item, const Uuid& runID,
                                             const std::optional<std::string>& expectedChecksum,
                                             const DestinationFileFacts& facts, Date now);

// Copies the backup file to `restoreRoot` + the item's relative path (replacing whatever an
// earlier test left there) and checks the restored file against the recorded size and
// against `expectedChecksum`, or, when none is given, the backup file's own checksum. A
// relative path that leads outside `restoreRoot` is `skipped` and nothing is written.
VerificationItemResult restoreTest(const BackupManifestItem& item, const Uuid& runID,
                                   const std::string& restoreRoot,
                                   const std::optional<std::string>& expectedChecksum,
                                   FileSystem& fileSystem, Date now,
                                   std::span<std::uint8_t> checksumBuffer = {});

}  // namespace tallowmere::BackupVerificationEngine
