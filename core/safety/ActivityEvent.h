#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/platform/Json.h"
#include "core/safety/SafetyVocabulary.h"

namespace tallowmere {

enum class ActivityEventKind {
    iCloudScan,
    photosScan,
    destination,
    backup,
    verification,
    restoreTest,
    report,
    diagnostics
};

template <>
struct EnumTable<ActivityEventKind> {
    static constexpr std::array<EnumCase<ActivityEventKind>, 8> kCases{{
        {ActivityEventKind::iCloudScan, "iCloudScan"},
        {ActivityEventKind::photosScan, "photosScan"},
        {ActivityEventKind::destination, "destination"},
        {ActivityEventKind::backup, "backup"},
        {ActivityEventKind::verification, "verification"},
        {ActivityEventKind::restoreTest, "restoreTest"},
        {ActivityEventKind::report, "report"},
        {ActivityEventKind::diagnostics, "diagnostics"},
    }};
};

// One entry of the activity timeline. The message is always held in redacted form:
// the constructor passes it through redacted(), so no local path reaches the store.
struct ActivityEvent {
    ActivityEvent(Uuid id, ActivityEventKind kind, std::string title, std::string_view message,
                  SafetyState severity, std::optional<std::string> localActionTarget,
                  Date createdAt);

    // Replaces each local path or file URL in the text with "[local path omitted]".
    // A path runs from its prefix to the next white space, comma or semicolon. The
    // prefixes: /Users/, /Volumes/, file://, the Linux places a user's files live
    // (/home/, /root/, /run/media/, /media/, /mnt/) and the user's own home folder
    // wherever it is. Works on bytes, so text that is not UTF-8 is safe. Redacting
    // redacted text changes nothing.
    static std::string redacted(std::string_view text);

    Uuid id;
    ActivityEventKind kind;
    std::string title;
    std::string message;
    // Colours the entry.
    SafetyState severity;
    // Raw value of the screen section where the user can act on the event.
    std::optional<std::string> localActionTarget;
    Date createdAt;

    bool operator==(const ActivityEvent&) const = default;
};

void to_json(Json& json, const ActivityEvent& event);

}  // namespace tallowmere
