#include "core/verification/VerificationResultClassifier.h"

namespace tallowmere::VerificationResultClassifier {

VerificationClassification classify(const VerificationFileMetadata& metadata) {
    using S = VerificationItemStatus;
    if (!metadata.exists)
        return {S::missing, "The copied file is missing from the backup destination."};
    if (!metadata.isReadable)
        return {S::unreadable, "Tallowmere could not read the copied file."};
    if (!metadata.actualSize)
        return {S::unknown, "Tallowmere could not read the copied file size."};
    if (metadata.expectedSize && *metadata.expectedSize != *metadata.actualSize)
        return {S::sizeMismatch, "The copied file size does not match the manifest."};
    if (!metadata.actualChecksum)
        return {S::unknown, "Tallowmere could not calculate a checksum for the copied file."};
    if (metadata.expectedChecksum && *metadata.expectedChecksum != *metadata.actualChecksum) {
        return {S::checksumMismatch,
                "The copied file checksum does not match the last verified value."};
    }
    return {S::passed, std::nullopt};
}

}  // namespace tallowmere::VerificationResultClassifier
