#include "core/verification/BackupVerificationEngine.h"

#include <exception>

#include "core/platform/PathStandardizing.h"
#include "core/verification/FileChecksumCalculator.h"
#include "core/verification/VerificationResultClassifier.h"

namespace tallowmere::BackupVerificationEngine {
namespace {

using S = VerificationItemStatus;

constexpr const char* kReasonNotCopied = "Only copied backup items are verified in this milestone.";
constexpr const char* kReasonMissing = "The copied file is missing from the backup destination.";
constexpr const char* kReasonUnreadable = "Tallowmere could not read the copied file.";
constexpr const char* kReasonSizeMismatch = "The copied file size does not match the manifest.";
constexpr const char* kReasonChecksumUnreadable =
    "Tallowmere could not read the copied file checksum.";
constexpr const char* kReasonUnsafeRestorePath =
    "Tallowmere skipped this restore sample because its path could not be safely mapped.";
constexpr const char* kReasonRestoreFailed =
    "Tallowmere could not copy this sample into the restore-test folder.";

VerificationItemResult resultFor(const BackupManifestItem& item, const Uuid& runID,
                                 std::string checkedPath, Date now) {
    VerificationItemResult result;
    result.id = Uuid::random();
    result.runID = runID;
    result.backupJobID = item.jobID;
    result.manifestItemID = item.id;
    result.checkedPath = std::move(checkedPath);
    result.relativePath = item.relativePath;
    result.algorithm = ChecksumAlgorithm::sha256;
    result.expectedSize = item.fileSize;
    result.createdAt = now;
    result.updatedAt = now;
    return result;
}

VerificationItemResult withOutcome(VerificationItemResult result, S status,
                                   std::optional<std::string> reason) {
    result.status = status;
    result.failureReason = std::move(reason);
    return result;
}

// The size of the item itself (a symbolic link is not followed); absent on any error.
std::optional<std::int64_t> fileSize(const FileSystem& fileSystem, const std::string& path) {
    const auto values = fileSystem.resourceValues(path);
    if (!values)
        return std::nullopt;
    return values->fileSize;
}

std::optional<std::string> checksumOf(const FileSystem& fileSystem, const std::string& path,
                                      std::span<std::uint8_t> buffer) {
    try {
        return buffer.empty() ? FileChecksumCalculator::sha256Hex(fileSystem, path)
                              : FileChecksumCalculator::sha256Hex(fileSystem, path, buffer);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::string parentOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == 0 || slash == std::string::npos ? std::string("/") : path.substr(0, slash);
}

}  // namespace

VerificationItemResult verifyDestinationFile(const BackupManifestItem& item, const Uuid& runID,
                                             const std::optional<std::string>& expectedChecksum,
                                             const FileSystem& fileSystem, Date now,
                                             std::span<std::uint8_t> checksumBuffer) {
    return destinationFileResult(item, runID, expectedChecksum,
                                 inspectDestinationFile(item, fileSystem, checksumBuffer), now);
}

DestinationFileFacts inspectDestinationFile(const BackupManifestItem& item,
                                            const FileSystem& fileSystem,
                                            std::span<std::uint8_t> checksumBuffer) {
    using F = DestinationFileFacts::Finding;
    const std::string& path = item.destinationPath;
    if (item.status != BackupItemStatus::copied && item.status != BackupItemStatus::alreadyCopied)
        return {F::notCopied};
    if (!fileSystem.exists(path))
        return {F::missing};
    if (fileSystem.isDirectory(path))
        return {F::directory};
    if (!fileSystem.isReadable(path))
        return {F::notReadable, fileSize(fileSystem, path)};

    const auto actualSize = fileSize(fileSystem, path);
    if (item.fileSize && actualSize && *item.fileSize != *actualSize)
        return {F::sizeMismatch, actualSize};
    auto checksum = checksumOf(fileSystem, path, checksumBuffer);
    if (!checksum)
        return {F::hashFailed, actualSize};
    return {F::hashed, actualSize, std::move(checksum)};
}

VerificationItemResult destinationFileResult(const BackupManifestItem& item, const Uuid& runID,
                                             const std::optional<std::string>& expectedChecksum,
                                             const DestinationFileFacts& facts, Date now) {
    using F = DestinationFileFacts::Finding;
    VerificationItemResult result = resultFor(item, runID, item.destinationPath, now);
    // An item that was not copied is not compared with anything.
    if (facts.finding != F::notCopied) {
        result.expectedChecksum = expectedChecksum;
        result.actualSize = facts.actualSize;
    }
    switch (facts.finding) {
        case F::notCopied:
            return withOutcome(std::move(result), S::skipped, kReasonNotCopied);
        case F::missing:
            return withOutcome(std::move(result), S::missing, kReasonMissing);
        case F::directory:
        case F::notReadable:
            return withOutcome(std::move(result), S::unreadable, kReasonUnreadable);
        case F::sizeMismatch:
            return withOutcome(std::move(result), S::sizeMismatch, kReasonSizeMismatch);
        case F::hashFailed:
            return withOutcome(std::move(result), S::unreadable, kReasonChecksumUnreadable);
        case F::hashed:
            break;
    }
    const auto outcome =
        VerificationResultClassifier::classify({.exists = true,
                                                .isReadable = true,
                                                .expectedSize = item.fileSize,
                                                .actualSize = facts.actualSize,
                                                .expectedChecksum = expectedChecksum,
                                                .actualChecksum = facts.checksum});
    result.actualChecksum = facts.checksum;
    // A first check records the file's own checksum as the baseline for later runs.
    result.expectedChecksum = expectedChecksum ? expectedChecksum : facts.checksum;
    return withOutcome(std::move(result), outcome.status, outcome.failureReason);
}

VerificationItemResult restoreTest(const BackupManifestItem& item, const Uuid& runID,
                                   const std::string& restoreRoot,
                                   const std::optional<std::string>& expectedChecksum,
                                   FileSystem& fileSystem, Date now,
                                   std::span<std::uint8_t> checksumBuffer) {
    const std::string& backupPath = item.destinationPath;
    const std::string root = PathStandardizing::standardizedPath(restoreRoot);
    const std::string restoredPath = PathStandardizing::standardizedPath(root + "/" + item.relativePath);
    VerificationItemResult result = resultFor(item, runID, restoredPath, now);
    result.expectedChecksum = expectedChecksum;

    if (!PathStandardizing::beginsWithFolder(restoredPath, root))
        return withOutcome(std::move(result), S::skipped, kReasonUnsafeRestorePath);

    const auto failed = [&] {
        return withOutcome(std::move(result), S::unreadable, kReasonRestoreFailed);
    };
    if (fileSystem.createDirectory(parentOf(restoredPath)))
        return failed();
    // Whatever an earlier test left at this path (a dangling link included) is replaced.
    if (fileSystem.resourceValues(restoredPath).ok() && fileSystem.remove(restoredPath))
        return failed();
    if (fileSystem.copyFile(backupPath, restoredPath))
        return failed();

    const auto backupChecksum = checksumOf(fileSystem, backupPath, checksumBuffer);
    if (!backupChecksum)
        return failed();
    const auto restoredChecksum = checksumOf(fileSystem, restoredPath, checksumBuffer);
    if (!restoredChecksum)
        return failed();
    const auto restoredSize = fileSize(fileSystem, restoredPath);

    const std::optional<std::string> expected =
        expectedChecksum ? expectedChecksum : backupChecksum;
    const auto outcome =
        VerificationResultClassifier::classify({.exists = true,
                                                .isReadable = true,
                                                .expectedSize = item.fileSize,
                                                .actualSize = restoredSize,
                                                .expectedChecksum = expected,
                                                .actualChecksum = restoredChecksum});
    result.actualSize = restoredSize;
    result.expectedChecksum = expected;
    result.actualChecksum = restoredChecksum;
    return withOutcome(std::move(result), outcome.status, outcome.failureReason);
}

}  // namespace tallowmere::BackupVerificationEngine
