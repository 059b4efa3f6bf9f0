#include "app/UpdateController.h"

namespace tallowmere {

std::optional<std::string> UpdateController::cleanInfoValue(const QVariant& value) {
    if (!value.isValid() || value.typeId() != QMetaType::QString)
        return std::nullopt;
    const QString trimmed = value.toString().trimmed();
    if (trimmed.isEmpty() || trimmed.contains(QStringLiteral("$(")))
        return std::nullopt;
    return trimmed.toStdString();
}

std::optional<UpdateConfiguration> UpdateController::configuration(
    const BundleInformation& bundle) {
    const auto feed = cleanInfoValue(bundle.value(BundleKeys::kUpdateFeedURL));
    const auto key = cleanInfoValue(bundle.value(BundleKeys::kUpdatePublicKey));
    if (!feed || !key)
        return std::nullopt;
    const QUrl feedURL(QString::fromStdString(*feed), QUrl::StrictMode);
    if (!feedURL.isValid() || feedURL.isRelative())
        return std::nullopt;
    return UpdateConfiguration{feedURL, *key};
}

}  // namespace tallowmere
