#include "ui/symbols/Symbols.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <set>
#include <string>

#include "core/safety/SafetyVocabulary.h"
#include "tests/ui/UsedSymbols.h"
#include "ui/navigation/SidebarGroups.h"
#include "ui/theme/StatePresentation.h"

namespace tallowmere {
namespace {

using testing::usedSymbolNames;

const QColor kTint(28, 120, 99);

struct Coverage {
    bool tintPresent = false;    // at least one fully opaque pixel of exactly the tint
    bool foreignColour = false;  // a clearly visible pixel of another colour
    double alphaSum = 0;         // total ink
    int maxAlpha = 0;
};

Coverage inspect(const QImage& source, const QColor& tint) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    Coverage coverage;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            coverage.alphaSum += pixel.alpha();
            coverage.maxAlpha = std::max(coverage.maxAlpha, pixel.alpha());
            // Thin lines at one times the pixel ratio cover few pixels in full.
            if (pixel.alpha() >= 180 && std::abs(pixel.red() - tint.red()) <= 3 &&
                std::abs(pixel.green() - tint.green()) <= 3 &&
                std::abs(pixel.blue() - tint.blue()) <= 3) {
                coverage.tintPresent = true;
            }
            if (pixel.alpha() >= 96 && (std::abs(pixel.red() - tint.red()) > 4 ||
                                        std::abs(pixel.green() - tint.green()) > 4 ||
                                        std::abs(pixel.blue() - tint.blue()) > 4)) {
                coverage.foreignColour = true;
            }
        }
    }
    return coverage;
}

TEST(SymbolsTest, EveryNameTheInterfaceUsesHasADrawingOfItsOwn) {
    std::set<std::string_view> used(usedSymbolNames().begin(), usedSymbolNames().end());
    // Names that other parts of the program hand to the interface.
    for (AppSection section :
         {AppSection::dashboard, AppSection::photosSafety, AppSection::iCloudDriveSafety,
          AppSection::backupDestination, AppSection::verification, AppSection::reports,
          AppSection::settings}) {
        used.insert(systemSymbolName(section));
    }
    for (const auto& entry : allCases<SafetyState>())
        used.insert(statePresentation(entry.value).symbolName);
    for (const auto& entry : allCases<MenuBarHealth>()) used.insert(systemSymbolName(entry.value));

    for (std::string_view name : used) {
        SCOPED_TRACE(std::string(name));
        EXPECT_TRUE(Symbols::contains(name));
    }
    const auto drawn = Symbols::names();
    EXPECT_EQ(std::set<std::string_view>(drawn.begin(), drawn.end()), used)
        << "every drawing is of a name the interface uses";
}

TEST(SymbolsTest, RendersEachSymbolInItsTintAtOneAndTwoTimesThePixelRatio) {
    for (std::string_view name : usedSymbolNames()) {
        SCOPED_TRACE(std::string(name));
        const QPixmap single = Symbols::pixmap(name, 16, kTint, 1.0);
        const QPixmap doubled = Symbols::pixmap(name, 16, kTint, 2.0);
        ASSERT_FALSE(single.isNull());
        ASSERT_FALSE(doubled.isNull());
        EXPECT_EQ(single.size(), QSize(16, 16));
        EXPECT_EQ(doubled.size(), QSize(32, 32));
        EXPECT_EQ(doubled.devicePixelRatio(), 2.0);
        EXPECT_EQ(doubled.deviceIndependentSize(), QSizeF(16, 16));

        const Coverage one = inspect(single.toImage(), kTint);
        const Coverage two = inspect(doubled.toImage(), kTint);
        EXPECT_TRUE(one.tintPresent);
        EXPECT_TRUE(two.tintPresent);
        EXPECT_FALSE(one.foreignColour);
        EXPECT_FALSE(two.foreignColour);
        // Drawn afresh at the finer resolution: four times the pixels carry the same shape.
        const double ratio = two.alphaSum / one.alphaSum;
        EXPECT_GT(ratio, 3.4);
        EXPECT_LT(ratio, 4.6);
    }
}

TEST(SymbolsTest, NoTwoNamesShareADrawingAndNoneLooksLikeTheFallback) {
    std::vector<std::pair<std::string_view, QImage>> images;
    const QImage fallback = Symbols::pixmap("no.such.symbol", 24, kTint, 2.0).toImage();
    for (std::string_view name : usedSymbolNames()) {
        SCOPED_TRACE(std::string(name));
        const QImage image = Symbols::pixmap(name, 24, kTint, 2.0).toImage();
        EXPECT_NE(image, fallback);
        for (const auto& [otherName, other] : images) {
            EXPECT_NE(image, other) << "same drawing as " << otherName;
        }
        images.emplace_back(name, image);
    }
}

TEST(SymbolsTest, AnUnknownNameDrawsTheNeutralCircleWithoutFailing) {
    for (std::string_view name : {"no.such.symbol", "", "checkmark.shield.fill.extra"}) {
        SCOPED_TRACE(std::string(name));
        EXPECT_FALSE(Symbols::contains(name));
        const QPixmap pixmap = Symbols::pixmap(name, 16, kTint, 2.0);
        ASSERT_FALSE(pixmap.isNull());
        const Coverage coverage = inspect(pixmap.toImage(), kTint);
        EXPECT_TRUE(coverage.tintPresent);
        EXPECT_EQ(pixmap.toImage(), Symbols::pixmap("another.unknown", 16, kTint, 2.0).toImage());
        // A ring: ink near the edge, none at the centre.
        const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(image.pixelColor(16, 16).alpha(), 0);
        int edge = 0;
        for (int y = 2; y <= 7; ++y) edge = std::max(edge, image.pixelColor(16, y).alpha());
        EXPECT_GT(edge, 200);
    }
    // Nothing to draw is not an error either.
    EXPECT_NO_FATAL_FAILURE(Symbols::pixmap("icloud", 0, kTint, 2.0));
}

TEST(SymbolsTest, ATranslucentTintKeepsItsOpacity) {
    QColor faint = kTint;
    faint.setAlpha(140);
    const Coverage coverage =
        inspect(Symbols::pixmap("icloud.fill", 16, faint, 1.0).toImage(), faint);
    EXPECT_GE(coverage.maxAlpha, 138);
    EXPECT_LE(coverage.maxAlpha, 141);
}

TEST(SymbolsTest, PaintingFollowsTheTargetsPixelRatio) {
    QImage target(64, 64, QImage::Format_ARGB32_Premultiplied);
    target.setDevicePixelRatio(2.0);
    target.fill(Qt::transparent);
    {
        QPainter painter(&target);
        Symbols::paint(painter, QRectF(0, 0, 16, 16), "icloud.fill", kTint);
    }
    const Coverage inside = inspect(target.copy(0, 0, 32, 32), kTint);
    EXPECT_TRUE(inside.tintPresent);
    // 16 logical pixels are 32 device pixels: nothing beyond them.
    EXPECT_EQ(inspect(target.copy(32, 0, 32, 64), kTint).alphaSum, 0);
    EXPECT_EQ(inspect(target.copy(0, 32, 64, 32), kTint).alphaSum, 0);
    // And the drawing reaches well into the second half of that square.
    EXPECT_GT(inspect(target.copy(20, 8, 12, 20), kTint).alphaSum, 0);
}

TEST(SymbolsTest, IconsServeSharpPixmapsAndFadeWhenDisabled) {
    const QIcon icon = Symbols::icon("checkmark.seal.fill", kTint);
    const QPixmap sharp = icon.pixmap(QSize(16, 16), 2.0);
    EXPECT_EQ(sharp.size(), QSize(32, 32));
    EXPECT_EQ(sharp.devicePixelRatio(), 2.0);
    const Coverage normal = inspect(sharp.toImage(), kTint);
    EXPECT_TRUE(normal.tintPresent);
    EXPECT_EQ(sharp.toImage().convertToFormat(QImage::Format_ARGB32),
              Symbols::pixmap("checkmark.seal.fill", 16, kTint, 2.0)
                  .toImage()
                  .convertToFormat(QImage::Format_ARGB32));

    const Coverage disabled =
        inspect(icon.pixmap(QSize(16, 16), 2.0, QIcon::Disabled).toImage(), kTint);
    EXPECT_GT(disabled.maxAlpha, 0);
    EXPECT_LT(disabled.maxAlpha, 128);
}

}  // namespace
}  // namespace tallowmere
