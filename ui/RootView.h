#pragma once

#include <QDialog>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>

#include "core/dashboard/AppSection.h"

class QAction;
class QStackedWidget;
class QVariantAnimation;

namespace tallowmere {

class AppModel;
class AppSidebarView;
class FileChooser;

// The main window's content: the collapsible sidebar of sections and the selected
// section's screen beside it, plus the first-run onboarding sheet.
//
// View-local state: the selection (dashboard at first), whether the sidebar is shown
// (at first yes) and whether onboarding may be presented (from the first turn of the
// event loop after the view is first shown, until the sheet is dismissed once).
class RootView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMinimumWidth = 940;
    static constexpr int kMinimumHeight = 620;

    // Makes the onboarding sheet. The sheet is shown window-modal; when it is finished by
    // any means, onboarding is marked complete.
    using OnboardingPresenter = std::function<QDialog*(QWidget* parent)>;

    // The model must outlive the view; `chooser` shows the screens' open panels.
    RootView(AppModel& model, std::shared_ptr<FileChooser> chooser, QWidget* parent = nullptr);

    AppSection selection() const { return m_selection; }
    void setSelection(AppSection section);

    bool isSidebarVisible() const { return m_isSidebarVisible; }
    void setSidebarVisible(bool visible);
    // The toolbar's toggle, with the help text "Hide sidebar" or "Show sidebar".
    QAction* sidebarToggleAction() const { return m_toggleSidebar; }
    AppSidebarView* sidebar() const { return m_sidebar; }

    // The screen shown for a section, and a way to put another one in its place (the
    // old one is deleted).
    QWidget* sectionView(AppSection section) const;
    void setSectionView(AppSection section, QWidget* view);

    void setOnboardingPresenter(OnboardingPresenter presenter);
    bool canPresentOnboarding() const { return m_canPresentOnboarding; }
    // The sheet while it is shown.
    QDialog* onboardingSheet() const { return m_onboardingSheet; }

Q_SIGNALS:
    void selectionChanged(AppSection section);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* makePendingView(AppSection section) const;
    void updateOnboardingPresentation();
    void onboardingDismissed();

    AppModel& m_model;
    AppSidebarView* m_sidebar;
    QStackedWidget* m_stack;
    QAction* m_toggleSidebar;
    QVariantAnimation* m_sidebarAnimation;
    std::map<AppSection, QWidget*> m_views;
    OnboardingPresenter m_onboardingPresenter;
    QPointer<QDialog> m_onboardingSheet;

    AppSection m_selection = AppSection::dashboard;
    bool m_isSidebarVisible = true;
    bool m_canPresentOnboarding = false;
    bool m_wasShown = false;
};

}  // namespace tallowmere
