#include "file_list_box.h"

#include <QDir>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

// A plain white page with a black outline and its top-right corner folded.
QPixmap documentGlyph()
{
    QPixmap glyph(16, 15);
    glyph.fill(Qt::transparent);
    QPainter painter(&glyph);
    const QPolygon page({{2, 0}, {10, 0}, {14, 4}, {14, 14}, {2, 14}});
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawPolygon(page);
    painter.drawPolyline(QPolygon({{10, 0}, {10, 4}, {14, 4}}));
    return glyph;
}

// The glyph two pixels from the left, centred on the entry; the name six
// pixels to its right, cut in the middle when it is too long.
class EntryDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette& palette = option.palette;
        if (selected)
            painter->fillRect(option.rect, palette.highlight());
        static const QPixmap glyph = documentGlyph();
        const QPoint glyphAt(option.rect.left() + 2, option.rect.top() + (option.rect.height() - glyph.height()) / 2);
        painter->drawPixmap(glyphAt, glyph);
        const QRect textBox = option.rect.adjusted(2 + glyph.width() + 6, 0, 0, 0);
        painter->setFont(option.font);
        painter->setPen(selected ? palette.highlightedText().color() : palette.text().color());
        const QString name =
            painter->fontMetrics().elidedText(index.data().toString(), Qt::ElideMiddle, textBox.width());
        painter->drawText(textBox, Qt::AlignLeft | Qt::AlignVCenter, name);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width() + 24, TFileListBox::entryHeight};
    }
};

} // namespace

TFileListBox::TFileListBox(QWidget* parent) : QListWidget(parent), directory(QDir::currentPath())
{
    setItemDelegate(new EntryDelegate(this));
    setUniformItemSizes(true);
    // A long name loses its middle to "…" rather than get a scroll bar over
    // the last entry: names that differ only at the end (the time of an
    // unsaved picture) stay apart.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        if (OnClick && currentItem() && currentItem()->isSelected())
            OnClick();
    });
    connect(this, &QListWidget::itemDoubleClicked, this, [this] {
        if (OnDblClick)
            OnDblClick();
    });
}

void TFileListBox::setMask(const QString& mask) { suffix = mask.startsWith('*') ? mask.mid(1) : mask; }

void TFileListBox::Update()
{
    QDir::setCurrent(directory);
    // Hidden files are not listed, but a picture saved under an empty name
    // (".bmp") is the child's, and is.
    QStringList names;
    for (const QFileInfo& entry : QDir(directory).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot)) {
        const QString name = entry.fileName();
        const bool hidden = name.startsWith('.') && name.compare(suffix, Qt::CaseInsensitive) != 0;
        if (entry.isFile() && name.endsWith(suffix, Qt::CaseInsensitive) && !hidden)
            names.append(name);
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int order = a.compare(b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
    const QSignalBlocker quiet(this); // emptying the list is no change of selection to preview
    clear();
    addItems(names);
    setCurrentRow(-1);
}

// Taking the focus makes no entry current: with nothing selected, the
// first press of the Down arrow selects the first entry.
void TFileListBox::focusInEvent(QFocusEvent* event)
{
    QListWidget::focusInEvent(event);
    if (selectedItems().isEmpty()) {
        const QSignalBlocker quiet(this);
        selectionModel()->clearCurrentIndex();
    }
}

QString TFileListBox::FileName() const
{
    const QListWidgetItem* item = currentItem();
    if (!item || !item->isSelected())
        return QString();
    return directory + (directory.endsWith('/') ? "" : "/") + item->text();
}
