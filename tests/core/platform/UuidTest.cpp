#include "core/platform/Uuid.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace tallowmere {
namespace {

TEST(UuidTest, RandomIsVersion4InCanonicalUpperCase) {
    const std::string text = Uuid::random().toString();
    ASSERT_EQ(text.size(), 36u);
    EXPECT_EQ(text[14], '4');
    EXPECT_NE(std::string("89AB").find(text[19]), std::string::npos);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            EXPECT_EQ(text[i], '-');
        } else {
            EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(text[i])) ||
                        (text[i] >= 'A' && text[i] <= 'F'))
                << text;
        }
    }
}

TEST(UuidTest, RandomValuesDifferOneByOneAndInABatch) {
    std::set<Uuid> seen;
    for (int i = 0; i < 1000; ++i) seen.insert(Uuid::random());
    std::vector<Uuid> batch(1000);
    Uuid::fillRandom(batch);
    for (const Uuid& uuid : batch) {
        const std::string text = uuid.toString();
        EXPECT_EQ(text[14], '4') << text;
        EXPECT_NE(std::string("89AB").find(text[19]), std::string::npos) << text;
        seen.insert(uuid);
    }
    EXPECT_EQ(seen.size(), 2000u);
}

TEST(UuidTest, ParsesCanonicalTextAndRejectsEverythingElse) {
    const auto parsed = Uuid::fromString("0f8fad5b-d9cb-469f-a165-70867728950e");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->toString(), "0F8FAD5B-D9CB-469F-A165-70867728950E");

    for (const char* bad :
         {"", "0F8FAD5B-D9CB-469F-A165-70867728950", "0F8FAD5B-D9CB-469F-A165-70867728950EE",
          "0F8FAD5BD9CB-469F-A165-70867728950E-", "0F8FAD5B-D9CB-469F-A165-70867728950G",
          "{0F8FAD5B-D9CB-469F-A165-70867728950}", "not a uuid at all, but 36 chars long"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(Uuid::fromString(bad));
    }
}

TEST(UuidTest, FromStringOrRandomReplacesOnlyUnparsableText) {
    const Uuid known = Uuid::random();
    EXPECT_EQ(Uuid::fromStringOrRandom(known.toString()), known);
    EXPECT_NE(Uuid::fromStringOrRandom("garbage"), Uuid());
}

}  // namespace
}  // namespace tallowmere
