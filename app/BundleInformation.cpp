#include "app/BundleInformation.h"

namespace tallowmere {

BundleInformation compiledBundleInformation() {
    return {
        {BundleKeys::kShortVersion, QStringLiteral(TALLOWMERE_VERSION)},
        {BundleKeys::kBuild, QStringLiteral(TALLOWMERE_BUILD)},
        {BundleKeys::kUpdateFeedURL, QStringLiteral(TALLOWMERE_UPDATE_FEED_URL)},
        {BundleKeys::kUpdatePublicKey, QStringLiteral(TALLOWMERE_UPDATE_PUBLIC_KEY)},
    };
}

}  // namespace tallowmere
