#include "core/verification/VerificationResultClassifier.h"

#include <gtest/gtest.h>

namespace tallowmere {
namespace {

using S = VerificationItemStatus;

TEST(VerificationResultClassifierTest, FirstMatchingRuleDecidesStatusAndReason) {
    const std::string a(64, 'a');
    const std::string b(64, 'b');
    struct Case {
        const char* name;
        VerificationFileMetadata metadata;
        S status;
        std::optional<std::string> reason;
    };
    const std::vector<Case> cases{
        {"missing outranks everything",
         {false, false, 5, 6, a, b},
         S::missing,
         "The copied file is missing from the backup destination."},
        {"unreadable outranks a size mismatch",
         {true, false, 5, 6, a, b},
         S::unreadable,
         "Tallowmere could not read the copied file."},
        {"no size read, even with a checksum",
         {true, true, 5, std::nullopt, a, a},
         S::unknown,
         "Tallowmere could not read the copied file size."},
        {"size mismatch outranks a checksum mismatch",
         {true, true, 5, 6, a, b},
         S::sizeMismatch,
         "The copied file size does not match the manifest."},
        {"no checksum computed",
         {true, true, 5, 5, a, std::nullopt},
         S::unknown,
         "Tallowmere could not calculate a checksum for the copied file."},
        {"checksum differs",
         {true, true, 5, 5, a, b},
         S::checksumMismatch,
         "The copied file checksum does not match the last verified value."},
        {"checksums compare as exact text",
         {true, true, 5, 5, a, std::string(64, 'A')},
         S::checksumMismatch,
         "The copied file checksum does not match the last verified value."},
        {"no expectation never mismatches",
         {true, true, 5, 5, std::nullopt, b},
         S::passed,
         std::nullopt},
        {"no recorded size passes on the checksum",
         {true, true, std::nullopt, 0, a, a},
         S::passed,
         std::nullopt},
        {"everything matches", {true, true, 5, 5, a, a}, S::passed, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto outcome = VerificationResultClassifier::classify(c.metadata);
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_EQ(outcome.failureReason, c.reason);
    }
}

}  // namespace
}  // namespace tallowmere
