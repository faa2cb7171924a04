#include "ChoiceList.h"

#include "testing/TypeAhead.h"

#include "core/CodePage.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace vocalore {

namespace {

QString Decode(const std::string& bytes, uint16_t language) {
    return QString::fromStdU16String(ToUtf16(bytes, language));
}

} // namespace

// Every row is drawn by the list itself, at its one fixed height.
class TChoiceDelegate final : public QStyledItemDelegate {
public:
    explicit TChoiceDelegate(TChoiceList& list) : QStyledItemDelegate(&list), FList(list) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        FList.lbResponseDrawItem(*painter, option.rect, index.row(),
                                 option.state.testFlag(QStyle::State_Selected));
    }
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return {FList.viewport()->width(), FList.FRowHeight};
    }

private:
    TChoiceList& FList;
};

TChoiceList::TChoiceList(QWidget* parent) : QListWidget(parent) {
    setObjectName(QStringLiteral("lbResponse"));
    FFont = QFont(QStringLiteral("Times New Roman"));
    FFont.setPixelSize(16);
    FItalicFont = FFont;
    FItalicFont.setItalic(true);
    setFont(FFont);
    FRowHeight = FFont.pixelSize() + 4;
    FTextColour = palette().color(QPalette::Text);
    setItemDelegate(new TChoiceDelegate(*this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSpacing(0);
}

void TChoiceList::SetLanguages(TTestMode mode, uint16_t foreignId, uint16_t nativeId) {
    FMode = mode;
    FForeign = foreignId;
    FNative = nativeId;
}

void TChoiceList::SetChoices(const std::vector<const TVocabItem*>& items) {
    clear();
    FItems = items;
    for (size_t i = 0; i < FItems.size(); ++i) {
        // The item text serves the list's own type-ahead in Passive mode.
        auto* entry = new QListWidgetItem(EntryText(static_cast<int>(i)), this);
        entry->setSizeHint(QSize(0, FRowHeight));
    }
    setCurrentRow(-1);
    clearSelection();
}

const TVocabItem* TChoiceList::SelectedItem() const {
    const int32_t row = SelectedIndex();
    return row < 0 ? nullptr : FItems[static_cast<size_t>(row)];
}

int32_t TChoiceList::SelectedIndex() const {
    const QList<QListWidgetItem*> selected = selectedItems();
    if (selected.isEmpty())
        return -1;
    const int row = this->row(selected.first());
    return row >= 0 && row < static_cast<int>(FItems.size()) ? row : -1;
}

void TChoiceList::SetTextColour(const QColor& colour) {
    if (FTextColour == colour)
        return;
    FTextColour = colour;
    viewport()->update();
}

int TChoiceList::HeightForRows(int rows) const { return rows * FRowHeight + 2 * frameWidth(); }

QString TChoiceList::EntryText(int row) const {
    if (row < 0 || row >= static_cast<int>(FItems.size()) || !FItems[static_cast<size_t>(row)])
        return {};
    const TVocabItem& item = *FItems[static_cast<size_t>(row)];
    return FMode == tmActive ? Decode(item.Word, FForeign) : Decode(item.Translation, FNative);
}

QString TChoiceList::EntryNotes(int row) const {
    if (FMode != tmActive || row < 0 || row >= static_cast<int>(FItems.size()) ||
        !FItems[static_cast<size_t>(row)])
        return {};
    return Decode(FItems[static_cast<size_t>(row)]->Notes, FNative);
}

void TChoiceList::lbResponseDrawItem(QPainter& painter, const QRect& rect, int row,
                                     bool selected) const {
    const QPalette& colours = palette();
    painter.fillRect(rect,
                     selected ? colours.color(QPalette::Highlight) : colours.color(QPalette::Base));
    painter.setPen(selected ? colours.color(QPalette::HighlightedText) : FTextColour);
    const QFontMetrics metrics(FFont);
    const int top = rect.top() + (rect.height() - metrics.height()) / 2;
    int x = rect.left() + 2;
    auto draw = [&](const QFont& font, const QString& text) {
        const QFontMetrics fm(font);
        painter.setFont(font);
        const QString piece = text + u' ';
        painter.drawText(QPoint(x, top + fm.ascent()), piece);
        x += fm.horizontalAdvance(piece);
    };
    draw(FFont, EntryText(row));
    const QString notes = EntryNotes(row);
    if (!notes.isEmpty())
        draw(FItalicFont, notes);
}

bool TChoiceList::lbResponseKeyPress(const QString& text) {
    const auto bytes = FromUtf16(text.left(1).toStdU16String(), FForeign);
    if (!bytes)
        return true; // not a letter of the language: nothing can start with it
    const int32_t row = TypeAheadChoice(FItems, SelectedIndex(), *bytes, FForeign);
    if (row >= 0)
        setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    return true;
}

void TChoiceList::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        event->ignore(); // the panel's default button takes it
        return;
    }
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (FMode == tmActive && plain && !event->text().isEmpty() && event->text().at(0).isPrint()) {
        lbResponseKeyPress(event->text());
        event->accept();
        return;
    }
    // The first arrow press selects the entry the list starts on instead of
    // stepping past it.
    if ((key == Qt::Key_Down || key == Qt::Key_Up) && SelectedIndex() < 0 && count() > 0) {
        const int row = currentRow() >= 0 ? currentRow() : (key == Qt::Key_Down ? 0 : count() - 1);
        setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

void TChoiceList::mouseReleaseEvent(QMouseEvent* event) {
    QListWidget::mouseReleaseEvent(event);
    if (isEnabled() && SelectedIndex() >= 0)
        emit EntryClicked();
}

} // namespace vocalore
