#include "ui/screens/safety/ICloudFileResultsList.h"

#include <QPainter>

#include "ui/components/Text.h"
#include "ui/symbols/Symbols.h"
#include "ui/theme/StatePresentation.h"
#include "ui/theme/TMTheme.h"

namespace tallowmere {
namespace {

constexpr int kVerticalPadding = 10;
constexpr int kLineGap = 2;
constexpr int kSymbolGap = 12;

QFont headlineFont() {
    return TMTheme::font(TextStyle::headline);
}
QFont smallFont() {
    return TMTheme::font(TextStyle::caption);
}
QFont reasonFont() {
    return TMTheme::font(TextStyle::callout);
}

}  // namespace

ICloudFileResultsModel::ICloudFileResultsModel(QObject* parent) : QAbstractListModel(parent) {}

void ICloudFileResultsModel::setResults(const std::vector<ICloudFileScanResult>& results) {
    if (results == m_results)
        return;
    beginResetModel();
    m_results = results;
    endResetModel();
}

int ICloudFileResultsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_results.size());
}

QVariant ICloudFileResultsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= rowCount())
        return {};
    const ICloudFileScanResult& result = m_results[static_cast<std::size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
            return toQString(result.displayName);
        case Qt::ToolTipRole:
        case PathRole:
            return toQString(result.path);
        case ReasonRole:
            return toQString(result.reason);
        case StateTextRole:
            return toQString(displayName(result.state));
        case StateRole:
            return static_cast<int>(caseIndex(result.state));
        default:
            return {};
    }
}

ICloudFileResultDelegate::ICloudFileResultDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

int ICloudFileResultDelegate::rowHeight() const {
    const int lines = QFontMetrics(headlineFont()).height() + QFontMetrics(smallFont()).height() +
                      QFontMetrics(reasonFont()).height() + 2 * kLineGap;
    return std::max(lines, kSymbolSize) + 2 * kVerticalPadding + 1;
}

QSize ICloudFileResultDelegate::sizeHint(const QStyleOptionViewItem& option,
                                         const QModelIndex&) const {
    return {option.rect.width(), rowHeight()};
}

void ICloudFileResultDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const {
    const auto state =
        allCases<ICloudFileState>()[index.data(ICloudFileResultsModel::StateRole).toInt()].value;
    const QPalette& palette = option.palette;
    const QColor stateInk = fileStateColor(state, palette);
    const QColor label = TMTheme::color(ThemeColor::label, palette);
    const QColor secondary = TMTheme::color(ThemeColor::secondaryLabel, palette);

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const QRect box = option.rect.adjusted(0, kVerticalPadding, 0, -kVerticalPadding - 1);

    const QRectF symbol(box.left(), box.top(), kSymbolSize, kSymbolSize);
    Symbols::paint(*painter, symbol, fileStatePresentation(state).symbolName, stateInk);

    const int textLeft = box.left() + kSymbolSize + kSymbolGap;
    QRect line(textLeft, box.top(), box.right() - textLeft + 1, 0);

    // First line: the name, and the state's name at the right edge.
    const QFont headline = headlineFont();
    const QFontMetrics headlineMetrics(headline);
    line.setHeight(headlineMetrics.height());
    const QString stateText = index.data(ICloudFileResultsModel::StateTextRole).toString();
    QFont stateFont = smallFont();
    stateFont.setWeight(QFont::DemiBold);
    const int stateWidth = QFontMetrics(stateFont).horizontalAdvance(stateText);
    painter->setFont(stateFont);
    painter->setPen(stateInk);
    painter->drawText(line, Qt::AlignRight | Qt::AlignVCenter, stateText);
    painter->setFont(headline);
    painter->setPen(label);
    const QRect nameRect = line.adjusted(0, 0, -(stateWidth + 12), 0);
    painter->drawText(nameRect, Qt::AlignLeft | Qt::AlignVCenter,
                      headlineMetrics.elidedText(index.data(Qt::DisplayRole).toString(),
                                                 Qt::ElideRight, nameRect.width()));

    // The path, shortened in the middle so that both ends stay readable.
    const QFont small = smallFont();
    const QFontMetrics smallMetrics(small);
    line.translate(0, line.height() + kLineGap);
    line.setHeight(smallMetrics.height());
    painter->setFont(small);
    painter->setPen(secondary);
    painter->drawText(
        line, Qt::AlignLeft | Qt::AlignVCenter,
        smallMetrics.elidedText(index.data(ICloudFileResultsModel::PathRole).toString(),
                                Qt::ElideMiddle, line.width()));

    const QFont reason = reasonFont();
    const QFontMetrics reasonMetrics(reason);
    line.translate(0, line.height() + kLineGap);
    line.setHeight(reasonMetrics.height());
    painter->setFont(reason);
    painter->drawText(
        line, Qt::AlignLeft | Qt::AlignVCenter,
        reasonMetrics.elidedText(index.data(ICloudFileResultsModel::ReasonRole).toString(),
                                 Qt::ElideRight, line.width()));

    if (index.row() + 1 < index.model()->rowCount()) {
        painter->fillRect(QRect(option.rect.left(), option.rect.bottom(), option.rect.width(), 1),
                          TMTheme::color(ThemeColor::separator, palette));
    }
    painter->restore();
}

ICloudFileResultsList::ICloudFileResultsList(QWidget* parent)
    : QListView(parent),
      m_model(new ICloudFileResultsModel(this)),
      m_delegate(new ICloudFileResultDelegate(this)) {
    setObjectName(QStringLiteral("fileResultsList"));
    setModel(m_model);
    setItemDelegate(m_delegate);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::NoFocus);
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // The rows sit on the panel's own fill.
    QPalette transparent = palette();
    transparent.setColor(QPalette::Base, Qt::transparent);
    setPalette(transparent);
    viewport()->setAutoFillBackground(false);
}

void ICloudFileResultsList::setResults(const std::vector<ICloudFileScanResult>& results) {
    m_model->setResults(results);
    setFixedHeight(sizeHint().height());
}

QSize ICloudFileResultsList::sizeHint() const {
    return {QListView::sizeHint().width(), m_model->rowCount() * m_delegate->rowHeight()};
}

QSize ICloudFileResultsList::minimumSizeHint() const {
    return {0, sizeHint().height()};
}

}  // namespace tallowmere
