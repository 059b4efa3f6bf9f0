#pragma once

#include <QVariantMap>

namespace tallowmere {

// What the build says about itself: version, build number and the optional self-update
// configuration. Values may be of any type, or missing; readers check.
using BundleInformation = QVariantMap;

namespace BundleKeys {
inline constexpr const char* kShortVersion = "ApplicationVersion";
inline constexpr const char* kBuild = "BuildNumber";
inline constexpr const char* kUpdateFeedURL = "UpdateFeedURL";
inline constexpr const char* kUpdatePublicKey = "UpdatePublicKey";
}  // namespace BundleKeys

// The values compiled into this build. The update feed and key are empty unless the
// build was configured with them.
BundleInformation compiledBundleInformation();

}  // namespace tallowmere
