#include "ui/components/TMScreen.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "ui/theme/TMTheme.h"

namespace tallowmere {
namespace {

// The scrolling content. Its wrapped text makes it taller the narrower it is; the scroll
// area would take the height at the narrowest width as the least height at every width
// and leave empty space below the content. Only the width has a least value here; the
// height follows the width.
class ScreenCanvas : public QWidget {
public:
    QSize minimumSizeHint() const override { return {QWidget::minimumSizeHint().width(), 0}; }
};

}  // namespace

TMScreen::TMScreen(QWidget* parent)
    : QScrollArea(parent), m_column(new QWidget), m_layout(new QVBoxLayout(m_column)) {
    setObjectName(QStringLiteral("screen"));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidgetResizable(true);

    auto* canvas = new ScreenCanvas;
    canvas->setObjectName(QStringLiteral("screenCanvas"));
    canvas->setAutoFillBackground(true);
    QPalette palette = canvas->palette();
    palette.setColor(QPalette::Window, TMTheme::color(ThemeColor::background, palette));
    canvas->setPalette(palette);

    m_column->setObjectName(QStringLiteral("screenContent"));
    m_column->setMaximumWidth(kMaxContentWidth);
    m_layout->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    m_layout->setSpacing(20);
    m_layout->addStretch(1);

    // The column takes all the width up to its maximum; the side spacers share the rest.
    auto* row = new QHBoxLayout(canvas);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addStretch(0);
    row->addWidget(m_column, 1);
    row->addStretch(0);
    setWidget(canvas);
}

void TMScreen::addWidget(QWidget* widget, int stretch) {
    m_layout->insertWidget(m_layout->count() - 1, widget, stretch);
}

void TMScreen::addLayout(QLayout* layout) {
    m_layout->insertLayout(m_layout->count() - 1, layout);
}

}  // namespace tallowmere
