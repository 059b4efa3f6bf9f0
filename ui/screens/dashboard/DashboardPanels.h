#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "core/dashboard/DashboardScoreExplainer.h"
#include "core/dashboard/DashboardSnapshot.h"
#include "core/dashboard/NextBestAction.h"
#include "core/platform/Formatting.h"
#include "core/secondcopy/BackupDestination.h"
#include "ui/components/TMPanel.h"
#include "ui/screens/dashboard/DashboardContent.h"

class QLabel;
class QVBoxLayout;

namespace tallowmere {

class AdaptiveGridLayout;
class TMBadge;
class TMStatusModule;

// The overall state as a badge, the headline sentence, the destination sentence and the
// times of the last scan, backup and verification.
class DashboardHealthBanner : public TMPanel {
    Q_OBJECT
public:
    explicit DashboardHealthBanner(QWidget* parent = nullptr);

    void setContent(const DashboardSnapshot& snapshot,
                    const std::optional<BackupDestination>& backupDestination,
                    const Formatting& formatting);

private:
    TMBadge* m_badge;
    QLabel* m_headline;
    QLabel* m_destination;
    std::array<QLabel*, 3> m_metricValues{};
};

// The protection score drawn as a ring filled clockwise from the top to score / 100 of a
// turn in the state's colour, with the percentage in its centre.
class ScoreRing : public QWidget {
    Q_OBJECT
public:
    static constexpr int kDiameter = 118;
    static constexpr int kLineWidth = 12;

    explicit ScoreRing(QWidget* parent = nullptr);

    void setScore(std::int64_t score, const QColor& color);
    // The filled part of the ring, 0 to 1.
    double fraction() const { return m_fraction; }
    QColor color() const { return m_color; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* m_percent;
    double m_fraction = 0;
    QColor m_color;
};

// The score ring beside its title, then one row per area of the breakdown.
class ScoreBreakdownPanel : public TMPanel {
    Q_OBJECT
public:
    explicit ScoreBreakdownPanel(QWidget* parent = nullptr);

    void setContent(std::int64_t score, SafetyState state,
                    const std::vector<SafetyScoreBreakdownItem>& breakdown);

private:
    ScoreRing* m_ring;
    QVBoxLayout* m_rows;
    std::vector<SafetyScoreBreakdownItem> m_shown;
};

// "Next best action": one card per action in list order, or a calm note when there is
// nothing to do. A card's button calls the handler with its action.
class NextBestActionsView : public QWidget {
    Q_OBJECT
public:
    using Handler = std::function<void(const NextBestAction&)>;

    explicit NextBestActionsView(Handler handler, QWidget* parent = nullptr);

    void setActions(const std::vector<NextBestAction>& actions);

private:
    Handler m_handler;
    QWidget* m_calm;
    QVBoxLayout* m_cards;
    std::optional<std::vector<NextBestAction>> m_shown;
};

// The four area tiles in adaptive columns at least 210 pixels wide.
class StatusModulesGrid : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMinimumColumnWidth = 210;
    static constexpr int kSpacing = 14;

    explicit StatusModulesGrid(QWidget* parent = nullptr);

    void setModules(const std::array<DashboardContent::StatusModule, 4>& modules);

private:
    std::array<TMStatusModule*, 4> m_tiles{};
};

// Puts its two children side by side (the first taking the remaining width) when it is
// at least `breakpoint` wide, and one above the other otherwise.
class ResponsiveRow : public QWidget {
    Q_OBJECT
public:
    ResponsiveRow(QWidget* leading, QWidget* trailing, int trailingWidth, int breakpoint,
                  QWidget* parent = nullptr);

    bool isSideBySide() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void arrange(int width);

    QWidget* m_trailing;
    int m_trailingWidth;
    int m_breakpoint;
};

}  // namespace tallowmere
