#pragma once

#include <QAbstractButton>
#include <QWidget>
#include <map>

#include "core/dashboard/AppSection.h"

namespace tallowmere {

// One sidebar row: the section's symbol and title, highlighted while selected.
class SidebarRow : public QAbstractButton {
    Q_OBJECT
public:
    explicit SidebarRow(AppSection section, QWidget* parent = nullptr);

    AppSection section() const { return m_section; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    AppSection m_section;
};

// The sidebar of the main window: the product name with its "Public beta" badge, the
// three groups of sections, and the local-first promise at the bottom. Clicking a row
// asks for its section; the owner decides and then calls setSelection.
class AppSidebarView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 236;

    explicit AppSidebarView(QWidget* parent = nullptr);

    void setSelection(AppSection section);
    AppSection selection() const { return m_selection; }
    SidebarRow* row(AppSection section) const;

Q_SIGNALS:
    void sectionClicked(AppSection section);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::map<AppSection, SidebarRow*> m_rows;
    AppSection m_selection = AppSection::dashboard;
};

}  // namespace tallowmere
