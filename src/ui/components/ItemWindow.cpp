#include "ui/components/ItemWindow.h"

#include <QQuickWindow>

#include <algorithm>
#include <cmath>

namespace orva {

IndexRange itemsInSpan(int total, double stride, double extent, double seenStart, double seenEnd, double margin)
{
    if (total <= 0 || !(stride > 0) || !std::isfinite(seenStart) || !std::isfinite(seenEnd))
        return {};
    const double low = seenStart - std::max(0.0, margin);
    const double high = seenEnd + std::max(0.0, margin);
    if (!(high > low))
        return {};
    const double length = extent > 0 ? extent : stride;
    // The first item that ends after `low`, and the one after the last that
    // starts before `high`.
    const double firstAt = std::floor((low - length) / stride) + 1;
    const double endAt = std::ceil(high / stride);
    const int first = static_cast<int>(std::clamp(firstAt, 0.0, static_cast<double>(total)));
    const int end = static_cast<int>(std::clamp(endAt, 0.0, static_cast<double>(total)));
    if (end <= first)
        return {};
    return {first, end - first};
}

ItemWindow::ItemWindow(QObject* parent)
    : QAbstractListModel(parent)
{
}

ItemWindow::~ItemWindow()
{
    for (const QMetaObject::Connection& c : connections_)
        disconnect(c);
}

int ItemWindow::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : range_.count;
}

QVariant ItemWindow::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= range_.count || role != ItemIndexRole)
        return {};
    return range_.first + index.row();
}

QHash<int, QByteArray> ItemWindow::roleNames() const
{
    return {{ItemIndexRole, "itemIndex"}};
}

void ItemWindow::setTotal(int total)
{
    total = std::max(0, total);
    if (total == total_)
        return;
    total_ = total;
    emit layoutChanged();
    refresh();
}

void ItemWindow::setStride(double stride)
{
    if (stride == stride_)
        return;
    stride_ = stride;
    emit layoutChanged();
    refresh();
}

void ItemWindow::setExtent(double extent)
{
    if (extent == extent_)
        return;
    extent_ = extent;
    emit layoutChanged();
    refresh();
}

void ItemWindow::setOrientation(Qt::Orientation orientation)
{
    if (orientation == orientation_)
        return;
    orientation_ = orientation;
    emit layoutChanged();
    refresh();
}

void ItemWindow::setViewport(QQuickItem* item)
{
    if (item == viewport_)
        return;
    viewport_ = item;
    watch();
    emit layoutChanged();
    refresh();
}

void ItemWindow::setList(QQuickItem* item)
{
    if (item == list_)
        return;
    list_ = item;
    watch();
    emit layoutChanged();
    refresh();
}

void ItemWindow::setMargin(double margin)
{
    if (margin == margin_)
        return;
    margin_ = margin;
    emit layoutChanged();
    refresh();
}

void ItemWindow::watch()
{
    for (const QMetaObject::Connection& c : connections_)
        disconnect(c);
    connections_.clear();
    auto follow = [this](QObject* sender, const char* signal) {
        const int index = sender->metaObject()->indexOfSignal(signal);
        if (index < 0)
            return;
        const int slot = metaObject()->indexOfMethod("refresh()");
        connections_.append(QMetaObject::connect(sender, index, this, slot));
    };
    for (QQuickItem* item : {viewport_.data(), list_.data()}) {
        if (!item)
            continue;
        for (const char* signal : {"xChanged()", "yChanged()", "widthChanged()", "heightChanged()",
                                   "contentXChanged()", "contentYChanged()", "visibleChanged()"})
            follow(item, signal);
        connections_.append(connect(item, &QQuickItem::windowChanged, this, [this] { watch(); }));
    }
    // Anything else that moves the list (a section above it growing, an
    // entrance) shows in the next frame: look again before each one.
    QQuickWindow* window = viewport_ ? viewport_->window() : nullptr;
    if (window)
        connections_.append(connect(window, &QQuickWindow::afterAnimating, this, &ItemWindow::refresh));
}

void ItemWindow::refresh()
{
    IndexRange next;
    if (viewport_ && list_ && total_ > 0 && stride_ > 0) {
        const QRectF seen = viewport_->mapRectToItem(list_, QRectF(0, 0, viewport_->width(), viewport_->height()));
        const bool vertical = orientation_ == Qt::Vertical;
        next = itemsInSpan(total_, stride_, extent(), vertical ? seen.top() : seen.left(),
                           vertical ? seen.bottom() : seen.right(), margin_);
    }
    moveTo(next);
}

void ItemWindow::moveTo(IndexRange next)
{
    if (next == range_)
        return;
    const IndexRange current = range_;
    const bool overlaps = current.count > 0 && next.count > 0 && next.first < current.end() && current.first < next.end();
    if (!overlaps) {
        if (current.count > 0) {
            beginRemoveRows({}, 0, current.count - 1);
            range_ = {next.first, 0};
            endRemoveRows();
        }
        if (next.count > 0) {
            range_ = {next.first, 0};
            beginInsertRows({}, 0, next.count - 1);
            range_ = next;
            endInsertRows();
        }
        range_ = next;
        emit rangeChanged();
        return;
    }
    // Rows leave and enter at the edges; the rows of items that stay keep
    // their item (its index is the window's first plus the row).
    if (next.first > current.first) {
        beginRemoveRows({}, 0, next.first - current.first - 1);
        range_ = {next.first, current.end() - next.first};
        endRemoveRows();
    }
    if (next.end() < range_.end()) {
        beginRemoveRows({}, next.end() - range_.first, range_.count - 1);
        range_ = {range_.first, next.end() - range_.first};
        endRemoveRows();
    }
    if (next.first < range_.first) {
        beginInsertRows({}, 0, range_.first - next.first - 1);
        range_ = {next.first, range_.end() - next.first};
        endInsertRows();
    }
    if (next.end() > range_.end()) {
        beginInsertRows({}, range_.count, next.end() - range_.first - 1);
        range_ = next;
        endInsertRows();
    }
    range_ = next;
    emit rangeChanged();
}

} // namespace orva
