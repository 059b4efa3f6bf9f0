#pragma once

#include <array>

#include "core/platform/EnumText.h"

// Photos access and the Photos safety verdict. Raw values are stored and exported.
namespace tallowmere {

enum class PhotosAuthorizationState {
    notDetermined,
    denied,
    restricted,
    limited,
    authorized,
    unknown
};

enum class PhotosSafetyState {
    accessNeeded,
    libraryDetected,
    libraryNotFound,
    metadataScanned,
    localPackageSizeAvailable,
    localityUnknown,
    needsReview,
    unknown
};

template <>
struct EnumTable<PhotosAuthorizationState> {
    static constexpr std::array<EnumCase<PhotosAuthorizationState>, 6> kCases{{
        {PhotosAuthorizationState::notDetermined, "notDetermined", "Not requested"},
        {PhotosAuthorizationState::denied, "denied", "Access denied"},
        {PhotosAuthorizationState::restricted, "restricted", "Access restricted"},
        {PhotosAuthorizationState::limited, "limited", "Limited access"},
        {PhotosAuthorizationState::authorized, "authorized", "Authorized"},
        {PhotosAuthorizationState::unknown, "unknown", "Unknown"},
    }};
};

template <>
struct EnumTable<PhotosSafetyState> {
    static constexpr std::array<EnumCase<PhotosSafetyState>, 8> kCases{{
        {PhotosSafetyState::accessNeeded, "accessNeeded", "Photos access needed"},
        {PhotosSafetyState::libraryDetected, "libraryDetected", "Library detected"},
        {PhotosSafetyState::libraryNotFound, "libraryNotFound", "Library not found"},
        {PhotosSafetyState::metadataScanned, "metadataScanned", "Metadata scanned"},
        {PhotosSafetyState::localPackageSizeAvailable, "localPackageSizeAvailable",
         "Local package size available"},
        {PhotosSafetyState::localityUnknown, "localityUnknown", "Originals unknown"},
        {PhotosSafetyState::needsReview, "needsReview", "Needs review"},
        {PhotosSafetyState::unknown, "unknown", "Unknown"},
    }};
};

// True only for limited and full access.
constexpr bool canReadMetadata(PhotosAuthorizationState state) {
    return state == PhotosAuthorizationState::limited ||
           state == PhotosAuthorizationState::authorized;
}

}  // namespace tallowmere
