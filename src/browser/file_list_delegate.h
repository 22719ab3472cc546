#pragma once

#include <QPixmap>
#include <QStyledItemDelegate>

#include "browser/file_glyph.h"

namespace tarvelin {

// The 16 x 15 glyph of a listed file.
QPixmap fileGlyphPixmap(FileGlyph glyph);

// Draws a file list row: the glyph 2 px from the left, centred vertically, the name 6 px right of it. Rows
// are one fixed height, so the view can lay out any number of them without asking each one.
class FileListDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int kRowHeight = 16;
    static constexpr int kGlyphLeft = 2;
    static constexpr int kGlyphWidth = 16;
    static constexpr int kGlyphHeight = 15;
    static constexpr int kTextGap = 6;

    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace tarvelin
