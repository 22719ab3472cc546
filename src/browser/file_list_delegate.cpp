#include "browser/file_list_delegate.h"

#include <QPainter>
#include <QPainterPath>

#include "browser/file_list_model.h"

namespace tarvelin {

namespace {

// A sheet with a folded corner.
QPixmap drawDocument() {
    QPixmap pixmap(FileListDelegate::kGlyphWidth, FileListDelegate::kGlyphHeight);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    QPainterPath sheet;
    sheet.moveTo(2.5, 0.5);
    sheet.lineTo(9.5, 0.5);
    sheet.lineTo(12.5, 3.5);
    sheet.lineTo(12.5, 14.5);
    sheet.lineTo(2.5, 14.5);
    sheet.closeSubpath();
    p.setPen(QColor(0x60, 0x60, 0x60));
    p.setBrush(Qt::white);
    p.drawPath(sheet);
    p.drawPolyline(QPolygonF({QPointF(9.5, 0.5), QPointF(9.5, 3.5), QPointF(12.5, 3.5)}));
    p.setPen(QColor(0x90, 0x90, 0x90));
    for (int y = 6; y <= 12; y += 2) p.drawLine(4, y, 10, y);
    return pixmap;
}

// A small program window with a title bar.
QPixmap drawProgram() {
    QPixmap pixmap(FileListDelegate::kGlyphWidth, FileListDelegate::kGlyphHeight);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QColor(0x40, 0x40, 0x40));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(0.5, 2.5, 14, 11));
    p.fillRect(QRect(1, 3, 14, 3), QColor(0x00, 0x00, 0x80));
    p.fillRect(QRect(12, 4, 2, 1), Qt::white);
    p.fillRect(QRect(3, 8, 4, 3), QColor(0x00, 0x80, 0x80));
    return pixmap;
}

}  // namespace

QPixmap fileGlyphPixmap(FileGlyph glyph) {
    // Drawn on first use, when the application exists; never freed, like the other shared pictures.
    static const QPixmap* const document = new QPixmap(drawDocument());
    static const QPixmap* const program = new QPixmap(drawProgram());
    return glyph == FileGlyph::Program ? *program : *document;
}

void FileListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const QRect row = option.rect;
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group =
        option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
    painter->save();
    if (selected) painter->fillRect(row, option.palette.brush(group, QPalette::Highlight));

    const auto glyph = static_cast<FileGlyph>(index.data(FileListModel::GlyphRole).toInt());
    const int glyphTop = row.top() + (row.height() - kGlyphHeight) / 2;
    painter->drawPixmap(row.left() + kGlyphLeft, glyphTop, fileGlyphPixmap(glyph));

    QRect text = row;
    text.setLeft(row.left() + kGlyphLeft + kGlyphWidth + kTextGap);
    painter->setFont(option.font);
    painter->setPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());

    if ((option.state & QStyle::State_HasFocus) && (option.state & QStyle::State_Active)) {
        painter->setPen(
            QPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text), 1,
                 Qt::DotLine));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(row.adjusted(0, 0, -1, -1));
    }
    painter->restore();
}

QSize FileListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const int textWidth = option.fontMetrics.horizontalAdvance(index.data(Qt::DisplayRole).toString());
    return {kGlyphLeft + kGlyphWidth + kTextGap + textWidth + 2, kRowHeight};
}

}  // namespace tarvelin
