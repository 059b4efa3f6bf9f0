#pragma once

#include <optional>

#include "core/photos/PhotosScanSummary.h"
#include "core/photos/PhotosVocabulary.h"
#include "core/platform/Formatting.h"
#include "core/safety/SafetyFinding.h"

// Turns the latest Photos scan summary, or its absence, into the Photos safety verdict
// and the Photos finding shown beside the iCloud Drive findings. Pure functions.
namespace tallowmere::PhotosSafetySummaryMapper {

// unknown without a summary; then access needed, library not found, package size
// available, locality unknown, metadata scanned (first match wins). Never
// libraryDetected or needsReview.
PhotosSafetyState safetyState(const std::optional<PhotosScanSummary>& summary);

// The Photos finding of the given scan run: a new random id, domain photos. Its state
// is unknown without a summary and needsAttention otherwise, since nothing the scan can
// read proves that the originals are kept anywhere else. The asset count in the message
// goes through `formatting`.
SafetyFinding finding(const std::optional<PhotosScanSummary>& summary, const Uuid& scanRunID,
                      Date createdAt, const Formatting& formatting);

}  // namespace tallowmere::PhotosSafetySummaryMapper
