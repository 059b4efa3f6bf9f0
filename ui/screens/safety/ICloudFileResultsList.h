#pragma once

#include <QAbstractListModel>
#include <QListView>
#include <QStyledItemDelegate>
#include <vector>

#include "core/icloud/ICloudFileScanResult.h"

namespace tallowmere {

// The file results of the latest scans as list rows. Main thread only.
class ICloudFileResultsModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role {
        // Qt::DisplayRole holds the item's display name.
        PathRole = Qt::UserRole + 1,
        ReasonRole,
        // The state's display name.
        StateTextRole,
        // The ICloudFileState as its case index.
        StateRole,
    };

    explicit ICloudFileResultsModel(QObject* parent = nullptr);

    // Replaces the rows; nothing happens when they are the same.
    void setResults(const std::vector<ICloudFileScanResult>& results);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    std::vector<ICloudFileScanResult> m_results;
};

// Draws one result: the state's symbol in its colour, the item's name in headline type
// with the state's name at the right edge, the path (shortened in the middle) and the
// classifier's reason, with a divider between rows. Every row has the same height, so a
// hundred rows cost no layout work.
class ICloudFileResultDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int kSymbolSize = 22;

    explicit ICloudFileResultDelegate(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    int rowHeight() const;
};

// A list that is always as tall as its rows, for a screen that scrolls as a whole.
class ICloudFileResultsList : public QListView {
    Q_OBJECT
public:
    explicit ICloudFileResultsList(QWidget* parent = nullptr);

    void setResults(const std::vector<ICloudFileScanResult>& results);
    ICloudFileResultsModel* resultsModel() const { return m_model; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    ICloudFileResultsModel* m_model;
    ICloudFileResultDelegate* m_delegate;
};

}  // namespace tallowmere
