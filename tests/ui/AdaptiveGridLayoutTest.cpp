#include "ui/components/AdaptiveGridLayout.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <set>

namespace tallowmere {
namespace {

TEST(AdaptiveGridLayoutTest, ColumnsFitTheWidthAndAvoidAHalfEmptyLastRow) {
    const struct {
        int items;
        int width;
        int columns;
    } cases[] = {
        // Minimum 190, spacing 16: a column takes 206 pixels with its gap.
        {4, 828, 4},  {4, 807, 2},               // three fit, but three and one become two and two
        {4, 395, 1},  {4, 396, 2}, {4, 100, 1},  // never fewer than one
        {3, 2000, 3},                            // no empty columns beside the tiles
        {5, 828, 3},                             // four fit: four and one become three and two
        {0, 828, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.items << " items at " << c.width);
        QWidget host;
        auto* grid = new AdaptiveGridLayout(190, 16, 16, &host);
        for (int i = 0; i < c.items; ++i) grid->addWidget(new QLabel(QStringLiteral("tile")));
        EXPECT_EQ(grid->columnCount(c.width), c.columns);
    }
}

TEST(AdaptiveGridLayoutTest, TilesShareTheWidthAndRowsTakeTheTallestTile) {
    QWidget host;
    auto* grid = new AdaptiveGridLayout(190, 16, 12, &host);
    std::vector<QLabel*> tiles;
    for (int i = 0; i < 4; ++i) {
        auto* tile = new QLabel(QStringLiteral("tile"));
        tile->setMinimumHeight(i == 1 ? 90 : 40);
        grid->addWidget(tile);
        tiles.push_back(tile);
    }
    host.resize(500, grid->heightForWidth(500));
    host.show();
    QApplication::processEvents();

    // Two columns of (500 - 16) / 2.
    EXPECT_EQ(tiles[0]->geometry(), QRect(0, 0, 242, 90));
    EXPECT_EQ(tiles[1]->geometry(), QRect(258, 0, 242, 90));
    EXPECT_EQ(tiles[2]->geometry().top(), 90 + 12);
    EXPECT_EQ(tiles[3]->geometry().right(), 499);
    EXPECT_EQ(grid->heightForWidth(500),
              90 + 12 + tiles[2]->sizeHint().expandedTo({0, 40}).height());

    // A hidden tile leaves no gap.
    tiles[1]->hide();
    host.resize(1000, grid->heightForWidth(1000));
    QApplication::processEvents();
    EXPECT_EQ(grid->columnCount(1000), 3);
    std::set<int> lefts;
    for (QLabel* tile : {tiles[0], tiles[2], tiles[3]}) lefts.insert(tile->geometry().left());
    EXPECT_EQ(lefts.size(), 3u);
}

}  // namespace
}  // namespace tallowmere
