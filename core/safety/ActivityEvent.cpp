#include "core/safety/ActivityEvent.h"

#include <cstdlib>
#include <vector>

namespace tallowmere {
namespace {

constexpr std::string_view kOmitted = "[local path omitted]";

bool endsPath(char c) {
    switch (c) {
        case ' ':
        case '\t':
        case '\n':
        case '\v':
        case '\f':
        case '\r':
        case ',':
        case ';':
            return true;
        default:
            return false;
    }
}

struct PathPrefix {
    std::string_view text;
    // A folder named in full also matches on its own: followed by a delimiter, a slash
    // or the end of the text (a home folder "/srv/alice" must not take "/srv/alicex").
    bool wholeFolder;
};

// The length of the path starting at `at` when one of the prefixes starts there, else 0.
std::size_t pathLengthAt(std::string_view text, std::size_t at,
                         const std::vector<PathPrefix>& prefixes) {
    for (const auto& prefix : prefixes) {
        if (text.compare(at, prefix.text.size(), prefix.text) != 0)
            continue;
        std::size_t end = at + prefix.text.size();
        const bool nothingFollows = end == text.size() || endsPath(text[end]);
        if (prefix.wholeFolder ? !(nothingFollows || text[end] == '/') : nothingFollows)
            continue;
        while (end < text.size() && !endsPath(text[end])) ++end;
        return end - at;
    }
    return 0;
}

}  // namespace

ActivityEvent::ActivityEvent(Uuid id, ActivityEventKind kind, std::string title,
                             std::string_view message, SafetyState severity,
                             std::optional<std::string> localActionTarget, Date createdAt)
    : id(id),
      kind(kind),
      title(std::move(title)),
      message(redacted(message)),
      severity(severity),
      localActionTarget(std::move(localActionTarget)),
      createdAt(createdAt) {}

std::string ActivityEvent::redacted(std::string_view text) {
    std::vector<PathPrefix> prefixes{
        {"/Users/", false}, {"/Volumes/", false},   {"file://", false}, {"/home/", false},
        {"/root/", false},  {"/run/media/", false}, {"/media/", false}, {"/mnt/", false}};
    if (const char* home = std::getenv("HOME")) {
        std::string_view homeFolder(home);
        while (homeFolder.size() > 1 && homeFolder.back() == '/') homeFolder.remove_suffix(1);
        if (homeFolder.size() > 1)
            prefixes.push_back({homeFolder, true});
    }
    // One pass, leftmost path first: a file URL naming a path under /Users/ is replaced
    // whole, not first inside and then again around the marker.
    std::string result;
    result.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        if (const std::size_t length = pathLengthAt(text, at, prefixes)) {
            result.append(kOmitted);
            at += length;
        } else {
            result.push_back(text[at++]);
        }
    }
    return result;
}

void to_json(Json& json, const ActivityEvent& event) {
    json = Json{
        {"id", event.id},           {"kind", event.kind},         {"title", event.title},
        {"message", event.message}, {"severity", event.severity}, {"createdAt", event.createdAt}};
    putOptional(json, "localActionTarget", event.localActionTarget);
}

}  // namespace tallowmere
