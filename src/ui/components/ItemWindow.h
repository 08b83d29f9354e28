#pragma once

// Lists of any length that create only what is seen. A list lays its items
// out at a fixed stride along one axis (item i at i x stride); an ItemWindow
// is the model of the Repeater that creates them, holding only the indices
// whose items lie in the area a viewport shows (with a margin on each side),
// so that a list of ten thousand tasks creates a dozen cards.
//
// It serves the lists that sit inside an outer scroller and do not scroll
// themselves: the task cards in the sidebar's scroll area, the dashboard's
// milestone columns and their task lists in the dashboard's. A ListView
// makes only what its own viewport shows; laid inside another Flickable at
// its full length it would have no viewport of its own to go by and would
// make every item, and given a viewport's height it would scroll on its own
// instead of with the page. A list that scrolls by itself (the row of
// milestone tabs) is a ListView.

#include <QAbstractListModel>
#include <QMetaObject>
#include <QPointer>
#include <QQuickItem>
#include <QtQml/qqmlregistration.h>

namespace orva {

// The indices [first, first + count) of the items that meet the span
// [seenStart, seenEnd) widened by `margin` on each side, for `total` items
// at `stride` apart each `extent` long. Empty when nothing meets it.
struct IndexRange {
    int first = 0;
    int count = 0;
    int end() const { return first + count; }
    friend bool operator==(const IndexRange&, const IndexRange&) = default;
};
IndexRange itemsInSpan(int total, double stride, double extent, double seenStart, double seenEnd, double margin);

// The model: one row per item in the window, in order, with the role
// `itemIndex` (the item's place in the whole list). As the seen area moves,
// rows leave and enter at the edges; items that stay in view are kept.
class ItemWindow : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    // The number of items in the whole list.
    Q_PROPERTY(int total READ total WRITE setTotal NOTIFY layoutChanged)
    // The distance from one item's start to the next's.
    Q_PROPERTY(double stride READ stride WRITE setStride NOTIFY layoutChanged)
    // An item's own length along the axis (the stride less the spacing);
    // the stride when not set.
    Q_PROPERTY(double extent READ extent WRITE setExtent NOTIFY layoutChanged)
    Q_PROPERTY(Qt::Orientation orientation READ orientation WRITE setOrientation NOTIFY layoutChanged)
    // The item whose bounds are the area seen (a Flickable: what it shows).
    Q_PROPERTY(QQuickItem* viewport READ viewport WRITE setViewport NOTIFY layoutChanged)
    // The item the list's items are laid out in, item 0 at its origin.
    Q_PROPERTY(QQuickItem* list READ list WRITE setList NOTIFY layoutChanged)
    // Kept beyond each side of the seen area, in pixels.
    Q_PROPERTY(double margin READ margin WRITE setMargin NOTIFY layoutChanged)
    Q_PROPERTY(int first READ first NOTIFY rangeChanged)
    Q_PROPERTY(int count READ count NOTIFY rangeChanged)

public:
    enum Role { ItemIndexRole = Qt::UserRole + 1 };

    explicit ItemWindow(QObject* parent = nullptr);
    ~ItemWindow() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    int total() const { return total_; }
    void setTotal(int total);
    double stride() const { return stride_; }
    void setStride(double stride);
    double extent() const { return extent_ > 0 ? extent_ : stride_; }
    void setExtent(double extent);
    Qt::Orientation orientation() const { return orientation_; }
    void setOrientation(Qt::Orientation orientation);
    QQuickItem* viewport() const { return viewport_; }
    void setViewport(QQuickItem* item);
    QQuickItem* list() const { return list_; }
    void setList(QQuickItem* item);
    double margin() const { return margin_; }
    void setMargin(double margin);

    int first() const { return range_.first; }
    int count() const { return range_.count; }
    IndexRange range() const { return range_; }

    // Looks at the seen area again (it is also looked at before every frame
    // and whenever the viewport moves).
    Q_INVOKABLE void refresh();
    // Whether the item of that index is in the window.
    Q_INVOKABLE bool holds(int itemIndex) const { return itemIndex >= range_.first && itemIndex < range_.end(); }

signals:
    void layoutChanged();
    void rangeChanged();

private:
    void watch();
    void moveTo(IndexRange next);

    int total_ = 0;
    double stride_ = 0;
    double extent_ = 0;
    Qt::Orientation orientation_ = Qt::Vertical;
    QPointer<QQuickItem> viewport_;
    QPointer<QQuickItem> list_;
    double margin_ = 200;
    IndexRange range_;
    QList<QMetaObject::Connection> connections_;
};

} // namespace orva
