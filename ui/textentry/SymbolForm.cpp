#include "SymbolForm.h"

#include "ui/textentry/SymbolEdit.h"

#include "core/CodePage.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>

namespace vocalore {

namespace {

constexpr std::array<uint8_t, TSymbolForm::Cells> MakeTable() {
    std::array<uint8_t, TSymbolForm::Cells> table{};
    size_t n = 0;
    // The printable ASCII characters that are neither letters, digits nor
    // the space, then the upper half of the code page.
    for (const auto& [first, last] :
         {std::pair{33, 47}, {58, 64}, {91, 96}, {123, 126}, {128, 255}})
        for (int byte = first; byte <= last; ++byte)
            table[n++] = static_cast<uint8_t>(byte);
    return table;
}

constexpr auto Table = MakeTable();
static_assert(Table[31] == 126 && Table[32] == 128 && Table[159] == 255);

// Cell (column, row) of a valid position.
std::size_t CellIndex(int column, int row) {
    return static_cast<std::size_t>(row) * TSymbolForm::Columns + static_cast<std::size_t>(column);
}

// What a byte shows: nothing for the C1 controls and the bytes the code page
// leaves unassigned, which have no glyph and mean nothing as text.
QString Shown(const TCodePage& codePage, uint8_t byte) {
    const char16_t ch = codePage.Decode(byte);
    if (ch < 0x20 || (ch >= 0x7F && ch < 0xA0) || (ch >= TCodePage::UnassignedBase && ch <= 0xF0FF))
        return {};
    return QString(QChar(ch));
}

} // namespace

const std::array<uint8_t, TSymbolForm::Cells>& TSymbolForm::CharacterTable() { return Table; }

QPoint TSymbolForm::Placement(const QRect& edit, const QSize& size, const QRect& workArea) {
    int x = edit.left();
    int y = edit.top() + edit.height();
    const int right = workArea.left() + workArea.width();
    const int bottom = workArea.top() + workArea.height();
    if (x < workArea.left())
        x = workArea.left();
    else if (x + size.width() > right)
        x = right - size.width();
    if (y < workArea.top())
        y = workArea.top();
    else if (y + size.height() > bottom)
        y = y - size.height() - edit.height();
    return {x, y};
}

TSymbolForm::TSymbolForm(TSymbolEdit* owner)
    : QFrame(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      FOwner(owner) {
    setObjectName(QStringLiteral("SymbolForm"));
    // A pop-up the edit feeds: never activated, never focused.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    setFrameStyle(QFrame::WinPanel | QFrame::Raised);
    setAutoFillBackground(false);

    FFont = owner->font();
    FFont.setBold(true);
    const TCodePage& codePage = TCodePage::ForLanguage(owner->Language());
    const QFontMetrics metrics(FFont);
    int widest = 0;
    for (size_t i = 0; i < Table.size(); ++i) {
        FTexts[i] = Shown(codePage, Table[i]);
        if (Table[i] >= 128 && !FTexts[i].isEmpty())
            widest = std::max(widest, metrics.horizontalAdvance(FTexts[i]));
    }
    FCellWidth = 2 + widest;
    FCellHeight = 2 + metrics.height();
    const int frame = frameWidth();
    setFixedSize(Columns * FCellWidth + 2 * frame, Rows * FCellHeight + 2 * frame);

    const QRect edit(owner->mapToGlobal(QPoint(0, 0)), owner->size());
    QScreen* screen = owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    const QRect workArea = screen ? screen->availableGeometry() : QRect(edit.topLeft(), size());
    move(Placement(edit, size(), workArea));
}

bool TSymbolForm::Valid(int column, int row) {
    return column >= 0 && column < Columns && row >= 0 && row < Rows;
}

QString TSymbolForm::CellText(int column, int row) const {
    return Valid(column, row) ? FTexts[CellIndex(column, row)] : QString();
}

QString TSymbolForm::SelectedChar() const { return CellText(FColumn, FRow); }

QRect TSymbolForm::CellRect(int column, int row) const {
    const QPoint origin = contentsRect().topLeft();
    return {origin.x() + column * FCellWidth, origin.y() + row * FCellHeight, FCellWidth,
            FCellHeight};
}

void TSymbolForm::Select(int column, int row) {
    if (!Valid(column, row))
        column = row = -1;
    if (column == FColumn && row == FRow)
        return;
    // Only the two cells change.
    if (Valid(FColumn, FRow))
        update(CellRect(FColumn, FRow));
    FColumn = column;
    FRow = row;
    if (Valid(FColumn, FRow))
        update(CellRect(FColumn, FRow));
}

void TSymbolForm::NavigationKey(int key) {
    const bool selected = Valid(FColumn, FRow);
    switch (key) {
    case Qt::Key_Left:
        selected ? Select((FColumn + Columns - 1) % Columns, FRow) : Select(Columns - 1, Rows - 1);
        break;
    case Qt::Key_Right:
        selected ? Select((FColumn + 1) % Columns, FRow) : Select(0, 0);
        break;
    case Qt::Key_Up:
        selected ? Select(FColumn, (FRow + Rows - 1) % Rows) : Select(Columns - 1, Rows - 1);
        break;
    case Qt::Key_Down:
        selected ? Select(FColumn, (FRow + 1) % Rows) : Select(0, 0);
        break;
    default:
        break;
    }
}

void TSymbolForm::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event); // the raised frame
    QPainter painter(this);
    painter.setClipRect(contentsRect());
    painter.fillRect(contentsRect(), palette().color(QPalette::Button));
    painter.setFont(FFont);
    const QFontMetrics metrics(FFont);
    for (int row = 0; row < Rows; ++row) {
        for (int column = 0; column < Columns; ++column) {
            const QRect cell = CellRect(column, row);
            if (!event->region().intersects(cell))
                continue;
            const bool selected = column == FColumn && row == FRow;
            if (selected)
                painter.fillRect(cell, palette().color(QPalette::Highlight));
            painter.setPen(
                palette().color(selected ? QPalette::HighlightedText : QPalette::WindowText));
            const QString& text = FTexts[CellIndex(column, row)];
            if (text.isEmpty())
                continue;
            // Centred, the division truncating toward zero; the top one pixel down.
            const int x = cell.left() + (FCellWidth - metrics.horizontalAdvance(text)) / 2;
            painter.drawText(x, cell.top() + 1 + metrics.ascent(), text);
        }
    }
}

bool TSymbolForm::OnGrid(const QPoint& widgetPoint, QPoint& gridPoint) const {
    gridPoint = widgetPoint - contentsRect().topLeft();
    return gridPoint.x() >= 0 && gridPoint.x() < Columns * FCellWidth && gridPoint.y() >= 0 &&
           gridPoint.y() < Rows * FCellHeight;
}

void TSymbolForm::mouseMoveEvent(QMouseEvent* event) {
    // The picker holds the mouse, so it hears moves anywhere on the screen.
    QPoint point;
    if (OnGrid(event->position().toPoint(), point))
        Select(point.x() / FCellWidth, point.y() / FCellHeight);
    else
        Select(-1, -1);
}

void TSymbolForm::mouseReleaseEvent(QMouseEvent* event) {
    QPoint point;
    const bool inside = OnGrid(event->position().toPoint(), point);
    event->accept();
    // As Enter (insert the selection) or Escape (just close) typed in the edit.
    FOwner->PickerChoice(inside);
}

void TSymbolForm::keyPressEvent(QKeyEvent* event) { NavigationKey(event->key()); }

} // namespace vocalore
