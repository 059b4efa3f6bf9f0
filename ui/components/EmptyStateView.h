#pragma once

#include <QWidget>
#include <string_view>

namespace tallowmere {

// A centred symbol, headline and message, at most 360 pixels wide.
class EmptyStateView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMaxWidth = 360;

    EmptyStateView(std::string_view systemImage, const QString& title, const QString& message,
                   QWidget* parent = nullptr);
};

}  // namespace tallowmere
