#include "core/secondcopy/BackupManifestBuilder.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "core/platform/PathText.h"

namespace tallowmere::BackupManifestBuilder {
namespace {

constexpr const char* kUnknownSubpath = "iCloud Drive/Added Folders/Unknown";

// One decoded code point of a name, or one byte that is not valid UTF-8 (kept as it is).
struct Piece {
    char32_t codePoint = 0;
    bool valid = false;
    std::string_view bytes;
};

std::vector<Piece> decode(std::string_view text) {
    std::vector<Piece> pieces;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        char32_t value = 0;
        if (lead < 0x80) {
            length = 1;
            value = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            value = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            value = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            value = lead & 0x07;
        }
        bool valid = length > 0 && i + length <= text.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            value = (value << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and values beyond Unicode are not text.
        valid = valid && !(length == 3 && value < 0x800) && !(length == 4 && value < 0x10000) &&
                !(value >= 0xD800 && value <= 0xDFFF) && value <= 0x10FFFF;
        if (!valid)
            length = 1;
        pieces.push_back(Piece{valid ? value : 0, valid, text.substr(i, length)});
        i += length;
    }
    return pieces;
}

bool isControl(char32_t c) {
    return c <= 0x1F || (c >= 0x7F && c <= 0x9F);
}

// White space and line separators; the control characters among them are already hyphens.
bool isWhiteSpace(char32_t c) {
    return c == 0x20 || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 ||
           c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

std::string sanitizedComponent(std::string_view text) {
    const std::vector<Piece> pieces = decode(text);
    std::size_t first = 0;
    std::size_t last = pieces.size();
    const auto trimmable = [&](std::size_t index) {
        const Piece& piece = pieces[index];
        return piece.valid && isWhiteSpace(piece.codePoint);
    };
    while (first < last && trimmable(first)) ++first;
    while (last > first && trimmable(last - 1)) --last;
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = first; i < last; ++i) {
        const Piece& piece = pieces[i];
        if (piece.valid &&
            (piece.codePoint == '/' || piece.codePoint == ':' || isControl(piece.codePoint))) {
            result += '-';
        } else {
            result += piece.bytes;
        }
    }
    return result.empty() ? "Untitled" : result;
}

std::size_t characterCount(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

const ICloudScanRoot* rootOf(const ICloudFileScanResult& result,
                             const std::vector<ICloudScanRoot>& roots) {
    for (const auto& root : roots) {
        if (root.id == result.rootID)
            return &root;
    }
    std::vector<const ICloudScanRoot*> byLength;
    for (const auto& root : roots) byLength.push_back(&root);
    std::stable_sort(byLength.begin(), byLength.end(), [](const auto* a, const auto* b) {
        return characterCount(a->path) > characterCount(b->path);
    });
    for (const auto* root : byLength) {
        if (result.path.compare(0, root->path.size(), root->path) == 0)
            return root;
    }
    return nullptr;
}

std::string relativePath(const ICloudFileScanResult& result, const ICloudScanRoot* root) {
    if (root != nullptr) {
        const auto itemParts = path_text::components(result.path);
        const auto rootParts = path_text::components(root->path);
        if (rootParts.size() < itemParts.size() &&
            std::equal(rootParts.begin(), rootParts.end(), itemParts.begin())) {
            std::string relative;
            for (std::size_t i = rootParts.size(); i < itemParts.size(); ++i) {
                if (!relative.empty())
                    relative += '/';
                relative += sanitizedComponent(itemParts[i]);
            }
            return relative;
        }
    }
    return sanitizedComponent(result.displayName);
}

std::string destinationPath(const ICloudScanRoot* root, const std::string& relative,
                            const std::string& backupRootPath) {
    const std::string subpath = root != nullptr ? destinationSubpath(*root) : kUnknownSubpath;
    return path_text::standardized(
        path_text::appending(path_text::appending(backupRootPath, subpath), relative));
}

}  // namespace

std::vector<BackupManifestItem> makeItems(const Uuid& jobID,
                                          const std::vector<ICloudFileScanResult>& fileResults,
                                          const std::vector<ICloudScanRoot>& roots,
                                          const std::string& backupRootPath, Date now) {
    std::vector<BackupManifestItem> items;
    items.reserve(fileResults.size());
    for (const auto& result : fileResults) {
        const ICloudScanRoot* root = rootOf(result, roots);
        std::string relative = relativePath(result, root);
        std::string destination = destinationPath(root, relative, backupRootPath);
        BackupEligibility verdict = eligibility(result);
        items.push_back(BackupManifestItem{
            .id = Uuid::random(),
            .jobID = jobID,
            .sourceResultID = result.id,
            .rootID = result.rootID,
            .sourcePath = result.path,
            .relativePath = std::move(relative),
            .destinationPath = std::move(destination),
            .fileSize = result.fileSize,
            .modifiedAt = result.modifiedAt,
            .sourceState = result.state,
            .isEligible = verdict.isEligible,
            .status = verdict.isEligible ? BackupItemStatus::pending : BackupItemStatus::skipped,
            .message = std::move(verdict.message),
            .createdAt = now,
            .updatedAt = now,
        });
    }
    return items;
}

BackupEligibility eligibility(const ICloudFileScanResult& result) {
    if (result.isDirectory) {
        return {false,
                "Folders are represented by their files and are not copied as standalone backup "
                "items."};
    }
    switch (result.state) {
        case ICloudFileState::localCurrent:
        case ICloudFileState::downloaded:
            return {true, "Ready to copy."};
        case ICloudFileState::cloudOnly:
            return {false, "Cloud-only files must be downloaded before they can be copied."};
        case ICloudFileState::waitingToUpload:
        case ICloudFileState::waitingToDownload:
            return {false, "This item may still be syncing."};
        case ICloudFileState::possibleSyncIssue:
            return {false, "This item has a possible sync issue."};
        case ICloudFileState::excluded:
            return {false, "Tallowmere skipped this item for safety."};
        case ICloudFileState::unknown:
            break;
    }
    return {false, "Tallowmere could not verify this item."};
}

std::string destinationSubpath(const ICloudScanRoot& root) {
    switch (root.kind) {
        case ICloudScanRootKind::iCloudDrive:
            return "iCloud Drive";
        case ICloudScanRootKind::desktop:
            return "iCloud Drive/Desktop";
        case ICloudScanRootKind::documents:
            return "iCloud Drive/Documents";
        case ICloudScanRootKind::userSelected:
            break;
    }
    return "iCloud Drive/Added Folders/" + sanitizedComponent(root.displayName) + "-" +
           root.id.toString().substr(0, 8);
}

}  // namespace tallowmere::BackupManifestBuilder
