#pragma once
#include <QStyledItemDelegate>

namespace zelsim {

// The SNR cell of the satellite list: the figure over a bar as long as the
// signal is strong, in the colour of its strength band.
class SnrBarDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    // The item data roles the list fills for this cell.
    static constexpr int kSnrRole = Qt::UserRole;
    static constexpr int kColourRole = Qt::UserRole + 1;

    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

}  // namespace zelsim
