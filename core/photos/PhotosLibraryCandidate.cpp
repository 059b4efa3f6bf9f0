#include "core/photos/PhotosLibraryCandidate.h"

namespace tallowmere {

void to_json(Json& json, const PhotosLibraryCandidate& candidate) {
    json = Json{{"id", candidate.id},
                {"path", candidate.path},
                {"displayName", candidate.displayName},
                {"exists", candidate.exists},
                {"detectedAt", candidate.detectedAt}};
    putOptional(json, "estimatedSizeBytes", candidate.estimatedSizeBytes);
}

void from_json(const Json& json, PhotosLibraryCandidate& candidate) {
    json.at("id").get_to(candidate.id);
    json.at("path").get_to(candidate.path);
    json.at("displayName").get_to(candidate.displayName);
    json.at("exists").get_to(candidate.exists);
    candidate.estimatedSizeBytes = getOptional<std::int64_t>(json, "estimatedSizeBytes");
    json.at("detectedAt").get_to(candidate.detectedAt);
}

}  // namespace tallowmere
