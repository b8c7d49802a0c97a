#include "gps/SnrBarDelegate.h"

#include <QPainter>

#include "gps/SatelliteList.h"

namespace zelsim {

namespace {

constexpr int kBarInset = 3;

}  // namespace

void SnrBarDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                           const QModelIndex& index) const {
    const QVariant snr = index.data(kSnrRole);
    if (snr.isValid()) {
        const QRect cell = option.rect.adjusted(kBarInset, kBarInset, -kBarInset, -kBarInset);
        const int length =
            SatelliteList::SnrBarWidth(static_cast<int16_t>(snr.toInt()), cell.width());
        QColor colour = index.data(kColourRole).value<QColor>();
        colour.setAlpha(140);
        painter->fillRect(QRect(cell.topLeft(), QSize(length, cell.height())), colour);
    }
    QStyledItemDelegate::paint(painter, option, index);
}

}  // namespace zelsim
