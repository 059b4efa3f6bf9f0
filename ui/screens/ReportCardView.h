#pragma once

#include <functional>

#include "app/ReportCards.h"
#include "ui/components/TMPanel.h"

class QLabel;

namespace tallowmere {

class Formatting;
class SymbolView;

// One report card as a collapsible group. The label row (kind symbol, title, kind label,
// date, summary, status pill) is always shown; clicking it shows or hides the details,
// the next step, the privacy note and the export button, which calls `exportAction`.
// Starts collapsed. `formatting` must outlive the widget.
class ReportCardView : public TMPanel {
    Q_OBJECT
public:
    ReportCardView(LocalReportCard card, std::function<void()> exportAction,
                   const Formatting& formatting, QWidget* parent = nullptr);

    const LocalReportCard& card() const { return m_card; }

    bool isExpanded() const { return m_expanded; }
    void setExpanded(bool expanded);

Q_SIGNALS:
    void expandedChanged(bool expanded);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* makeLabelRow(const Formatting& formatting);
    QWidget* makeContent();

    LocalReportCard m_card;
    std::function<void()> m_exportAction;
    bool m_expanded = false;
    QWidget* m_labelRow;
    SymbolView* m_chevron = nullptr;
    QWidget* m_content;
};

// The symbol each kind of card shows.
std::string_view reportKindSymbol(LocalReportKind kind);

}  // namespace tallowmere
