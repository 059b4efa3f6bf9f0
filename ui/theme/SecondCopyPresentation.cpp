#include "ui/theme/SecondCopyPresentation.h"

namespace tallowmere {

ThemeColor statusColor(BackupDestinationStatus status) {
    switch (status) {
        case BackupDestinationStatus::connected:
            return ThemeColor::success;
        case BackupDestinationStatus::missing:
        case BackupDestinationStatus::permissionIssue:
            return ThemeColor::danger;
        case BackupDestinationStatus::lowStorage:
            return ThemeColor::amber;
        case BackupDestinationStatus::notSelected:
        case BackupDestinationStatus::unknown:
            return ThemeColor::secondaryLabel;
    }
    return ThemeColor::secondaryLabel;
}

ThemeColor statusColor(BackupItemStatus status) {
    switch (status) {
        case BackupItemStatus::pending:
            return ThemeColor::blue;
        case BackupItemStatus::copied:
        case BackupItemStatus::alreadyCopied:
            return ThemeColor::success;
        case BackupItemStatus::skipped:
            return ThemeColor::secondaryLabel;
        case BackupItemStatus::conflict:
        case BackupItemStatus::failed:
            return ThemeColor::amber;
    }
    return ThemeColor::secondaryLabel;
}

ThemeColor statusColor(VerificationStatus status) {
    switch (status) {
        case VerificationStatus::running:
            return ThemeColor::blue;
        case VerificationStatus::verified:
            return ThemeColor::success;
        case VerificationStatus::failed:
            return ThemeColor::danger;
        case VerificationStatus::notRun:
        case VerificationStatus::unknown:
            return ThemeColor::secondaryLabel;
    }
    return ThemeColor::secondaryLabel;
}

ThemeColor statusColor(VerificationItemStatus status) {
    switch (status) {
        case VerificationItemStatus::passed:
            return ThemeColor::success;
        case VerificationItemStatus::skipped:
            return ThemeColor::secondaryLabel;
        case VerificationItemStatus::missing:
        case VerificationItemStatus::sizeMismatch:
        case VerificationItemStatus::checksumMismatch:
        case VerificationItemStatus::unreadable:
        case VerificationItemStatus::unknown:
            return ThemeColor::danger;
    }
    return ThemeColor::danger;
}

std::string_view statusSymbol(BackupItemStatus status) {
    switch (status) {
        case BackupItemStatus::pending:
            return "clock";
        case BackupItemStatus::copied:
            return "doc.on.doc.fill";
        case BackupItemStatus::alreadyCopied:
            return "checkmark.circle.fill";
        case BackupItemStatus::skipped:
            return "minus.circle";
        case BackupItemStatus::conflict:
            return "exclamationmark.triangle.fill";
        case BackupItemStatus::failed:
            return "xmark.octagon.fill";
    }
    return "questionmark.circle.fill";
}

std::string_view statusSymbol(VerificationItemStatus status) {
    switch (status) {
        case VerificationItemStatus::passed:
            return "checkmark.circle.fill";
        case VerificationItemStatus::missing:
            return "questionmark.folder.fill";
        case VerificationItemStatus::sizeMismatch:
            return "ruler.fill";
        case VerificationItemStatus::checksumMismatch:
            return "number.circle.fill";
        case VerificationItemStatus::unreadable:
            return "lock.fill";
        case VerificationItemStatus::skipped:
            return "minus.circle";
        case VerificationItemStatus::unknown:
            return "questionmark.circle.fill";
    }
    return "questionmark.circle.fill";
}

std::string_view verificationStatusLabel(VerificationStatus status) {
    switch (status) {
        case VerificationStatus::notRun:
            return "Not run";
        case VerificationStatus::running:
            return "Running";
        case VerificationStatus::verified:
            return "Passed";
        case VerificationStatus::failed:
            return "Needs attention";
        case VerificationStatus::unknown:
            return "Unknown";
    }
    return "Unknown";
}

}  // namespace tallowmere
