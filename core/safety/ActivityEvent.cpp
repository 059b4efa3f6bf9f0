#include "core/safety/ActivityEvent.h"

#include <cstdlib>

namespace tallowmere {
namespace {

constexpr std::string_view kOmitted = "[local path omitted]";

bool endsPath(char c) {
    switch (c) {
        case ' ': case '\t': case '\n': case '\v': case '\f': case '\r': case ',': case ';': return true;
        default: return false;
    }
}

// Replaces every occurrence of `prefix` followed by at least one path character, up to
// the next delimiter. With `wholeFolder` the prefix is a folder named in full, which
// also matches on its own (followed by a delimiter, a slash or the end of the text).
std::string replacePaths(std::string_view text, std::string_view prefix, bool wholeFolder) {
    std::string result;
    result.reserve(text.size());
    std::size_t from = 0;
    while (true) {
        const std::size_t found = text.find(prefix, from);
        if (found == std::string_view::npos) break;
        std::size_t end = found + prefix.size();
        const bool atBoundary = end == text.size() || endsPath(text[end]) || text[end] == '/';
        if (wholeFolder ? !atBoundary : (end == text.size() || endsPath(text[end]))) {
            result.append(text.substr(from, end - from));
            from = end;
            continue;
        }
        while (end < text.size() && !endsPath(text[end])) ++end;
        result.append(text.substr(from, found - from));
        result.append(kOmitted);
        from = end;
    }
    result.append(text.substr(from));
    return result;
}

}  // namespace

ActivityEvent::ActivityEvent(Uuid id, ActivityEventKind kind, std::string title, std::string_view message,
                             SafetyState severity, std::optional<std::string> localActionTarget, Date createdAt)
    : id(id),
      kind(kind),
      title(std::move(title)),
      message(redacted(message)),
      severity(severity),
      localActionTarget(std::move(localActionTarget)),
      createdAt(createdAt) {}

std::string ActivityEvent::redacted(std::string_view text) {
    static constexpr std::array<std::string_view, 8> kPrefixes{
        "/Users/", "/Volumes/", "file://", "/home/", "/root/", "/run/media/", "/media/", "/mnt/"};
    std::string result(text);
    for (const auto prefix : kPrefixes) result = replacePaths(result, prefix, false);
    const char* home = std::getenv("HOME");
    if (home != nullptr) {
        std::string_view homeFolder(home);
        while (homeFolder.size() > 1 && homeFolder.back() == '/') homeFolder.remove_suffix(1);
        if (homeFolder.size() > 1) result = replacePaths(result, homeFolder, true);
    }
    return result;
}

void to_json(Json& json, const ActivityEvent& event) {
    json = Json{{"id", event.id},
                {"kind", event.kind},
                {"title", event.title},
                {"message", event.message},
                {"severity", event.severity},
                {"createdAt", event.createdAt}};
    putOptional(json, "localActionTarget", event.localActionTarget);
}

}  // namespace tallowmere
