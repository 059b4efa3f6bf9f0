#pragma once

#include <memory>
#include <optional>
#include <string>

#include <QUrl>
#include <QVariant>

#include "app/BundleInformation.h"

namespace tallowmere {

// Where updates are announced and the key their signatures are checked with.
struct UpdateConfiguration {
    QUrl feedURL;
    std::string publicKey;

    bool operator==(const UpdateConfiguration&) const = default;
};

// A self-update framework: it owns the update checks and their user interface.
class SelfUpdater {
public:
    virtual ~SelfUpdater() = default;
    // A check the user asked for; the framework shows its own interface.
    virtual void checkForUpdatesByUser() = 0;
};

// Offers update checks when the build carries a complete self-update configuration and a
// self-update framework is available. Main thread only.
class UpdateController {
public:
    // The updater is already started.
    explicit UpdateController(std::unique_ptr<SelfUpdater> updater)
        : m_updater(std::move(updater)) {}

    void checkForUpdates() { m_updater->checkForUpdatesByUser(); }

    // Text trimmed of white space at both ends; none when the value is missing, not
    // text, empty after trimming or still holding an unexpanded "$(" placeholder.
    static std::optional<std::string> cleanInfoValue(const QVariant& value);

    // The feed address and key, each through cleanInfoValue, the address also reading as
    // an absolute URL; none when either is missing.
    static std::optional<UpdateConfiguration> configuration(const BundleInformation& bundle);

    static bool updateConfigurationIsComplete(const BundleInformation& bundle) {
        return configuration(bundle).has_value();
    }

private:
    // Constant after construction.
    std::unique_ptr<SelfUpdater> m_updater;
};

}  // namespace tallowmere
