#include "core/dashboard/NextBestAction.h"

namespace tallowmere {

AppSection sectionOpenedAfter(NextBestActionKind kind) {
    switch (kind) {
        case NextBestActionKind::runICloudScan:
        case NextBestActionKind::downloadCloudOnlyFiles:
            return AppSection::iCloudDriveSafety;
        case NextBestActionKind::scanPhotos:
            return AppSection::photosSafety;
        case NextBestActionKind::chooseExternalDrive:
        case NextBestActionKind::prepareBackup:
        case NextBestActionKind::startCopy:
            return AppSection::backupDestination;
        case NextBestActionKind::quickVerify:
        case NextBestActionKind::restoreTest:
            return AppSection::verification;
    }
    return AppSection::dashboard;
}

NextBestAction::NextBestAction(NextBestActionKind kind, std::string title, std::string detail,
                               std::string buttonTitle, std::string systemImage,
                               std::int64_t priority, bool isPrimary)
    : id(rawValue(kind)),
      kind(kind),
      title(std::move(title)),
      detail(std::move(detail)),
      buttonTitle(std::move(buttonTitle)),
      systemImage(std::move(systemImage)),
      priority(priority),
      isPrimary(isPrimary) {}

void to_json(Json& json, const NextBestAction& action) {
    json = Json{{"id", action.id},
                {"kind", action.kind},
                {"title", action.title},
                {"detail", action.detail},
                {"buttonTitle", action.buttonTitle},
                {"systemImage", action.systemImage},
                {"priority", action.priority},
                {"isPrimary", action.isPrimary}};
}

}  // namespace tallowmere

namespace nlohmann {

tallowmere::NextBestAction adl_serializer<tallowmere::NextBestAction>::from_json(const json& json) {
    tallowmere::NextBestAction action(
        json.at("kind").get<tallowmere::NextBestActionKind>(), json.at("title").get<std::string>(),
        json.at("detail").get<std::string>(), json.at("buttonTitle").get<std::string>(),
        json.at("systemImage").get<std::string>(), json.at("priority").get<std::int64_t>(),
        json.at("isPrimary").get<bool>());
    if (json.at("id").get<std::string>() != action.id)
        throw json::other_error::create(501, "action id does not match its kind", &json);
    return action;
}

}  // namespace nlohmann
