#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/dashboard/AppSection.h"
#include "core/platform/Json.h"

namespace tallowmere {

// What a dashboard card asks the user to do, in the order of the program's main path.
enum class NextBestActionKind {
    runICloudScan,
    scanPhotos,
    chooseExternalDrive,
    downloadCloudOnlyFiles,
    prepareBackup,
    startCopy,
    quickVerify,
    restoreTest
};

template <>
struct EnumTable<NextBestActionKind> {
    static constexpr std::array<EnumCase<NextBestActionKind>, 8> kCases{{
        {NextBestActionKind::runICloudScan, "runICloudScan"},
        {NextBestActionKind::scanPhotos, "scanPhotos"},
        {NextBestActionKind::chooseExternalDrive, "chooseExternalDrive"},
        {NextBestActionKind::downloadCloudOnlyFiles, "downloadCloudOnlyFiles"},
        {NextBestActionKind::prepareBackup, "prepareBackup"},
        {NextBestActionKind::startCopy, "startCopy"},
        {NextBestActionKind::quickVerify, "quickVerify"},
        {NextBestActionKind::restoreTest, "restoreTest"},
    }};
};

// The sidebar section the dashboard opens after carrying out an action of this kind:
// scans and verifications show their own progress there, and preparing, copying and
// choosing a destination are done on the destination screen.
AppSection sectionOpenedAfter(NextBestActionKind kind);

// One card of the dashboard's next-step list.
struct NextBestAction {
    NextBestAction(NextBestActionKind kind, std::string title, std::string detail,
                   std::string buttonTitle, std::string systemImage, std::int64_t priority,
                   bool isPrimary);

    // Always the raw value of `kind`, so a list never holds two actions of one kind.
    std::string id;
    NextBestActionKind kind;
    std::string title;
    std::string detail;
    std::string buttonTitle;
    // A system symbol name.
    std::string systemImage;
    // Higher is more urgent.
    std::int64_t priority;
    // The single most urgent action, drawn with the prominent button.
    bool isPrimary;

    bool operator==(const NextBestAction&) const = default;
};

void to_json(Json& json, const NextBestAction& action);

}  // namespace tallowmere

namespace nlohmann {

// Read through the constructor so that `id` follows `kind`; text whose id disagrees
// with its kind is rejected.
template <>
struct adl_serializer<tallowmere::NextBestAction> {
    static tallowmere::NextBestAction from_json(const json& json);
    static void to_json(json& json, const tallowmere::NextBestAction& action) {
        tallowmere::to_json(json, action);
    }
};

}  // namespace nlohmann
