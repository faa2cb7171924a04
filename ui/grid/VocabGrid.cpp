#include "VocabGrid.h"

#include "core/CodePage.h"
#include "core/TextFunctions.h"
#include "core/VocabFile.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <cmath>

namespace vocalore {

namespace {

constexpr int TextLeft = 3;
constexpr int DragThreshold = 2;
constexpr int DragScrollInterval = 40;

// A control byte (a TAB pasted into a text, say) would be drawn as a tab stop
// or as nothing while it is measured as one glyph: show it as its control
// picture, or the replacement mark for C1 controls, and measure that.
char16_t Shown(char16_t ch) {
    if (ch < 0x20)
        return static_cast<char16_t>(0x2400 + ch);
    if (ch == 0x7F)
        return 0x2421;
    if (ch >= 0x80 && ch < 0xA0)
        return 0xFFFD;
    return ch;
}

QString Decode(const std::string& bytes, uint16_t languageId) {
    std::u16string text = ToUtf16(bytes, languageId);
    for (char16_t& ch : text)
        ch = Shown(ch);
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

// Ends the refresh state also when a step fails part-way.
class TRefreshScope {
public:
    TRefreshScope(QWidget& viewport, bool& flag) : FViewport(viewport), FFlag(flag) {
        FFlag = true;
        FViewport.setUpdatesEnabled(false);
    }
    ~TRefreshScope() {
        FViewport.setUpdatesEnabled(true);
        FFlag = false;
        FViewport.update();
    }
    TRefreshScope(const TRefreshScope&) = delete;
    TRefreshScope& operator=(const TRefreshScope&) = delete;

private:
    QWidget& FViewport;
    bool& FFlag;
};

} // namespace

void TWidthTable::Setup(const QFont& font, uint16_t languageId) {
    FLanguage = languageId;
    const TCodePage& codePage = TCodePage::ForLanguage(languageId);
    const QFontMetricsF metrics(font);
    for (int byte = 0; byte < 256; ++byte) {
        const char16_t ch = Shown(codePage.Decode(static_cast<unsigned char>(byte)));
        // The string overload measures a fallback font's glyph as drawing uses it.
        FWidths[static_cast<size_t>(byte)] = metrics.horizontalAdvance(QString(QChar(ch)));
    }
}

double TWidthTable::Width(const std::string& bytes) const {
    double width = 0;
    for (const char byte : bytes)
        width += Width(byte);
    return width;
}

TVocabGrid::TVocabGrid(TVocabGridHost& host, QWidget* parent)
    : QAbstractScrollArea(parent), FHost(host) {
    setObjectName(QStringLiteral("dgVocab"));
    // Foreign-language control for keyboard switching: type-to-find reads foreign letters.
    setProperty("tag", -1);
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::StyledPanel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);

    FFont = QFont(QStringLiteral("Times New Roman"));
    FFont.setPixelSize(16);
    // Items are measured per character; drawing must advance the same way.
    FFont.setKerning(false);
    FFont.setStyleStrategy(QFont::PreferNoShaping);
    FBoldFont = FFont;
    FBoldFont.setBold(true);
    FItalicFont = FFont;
    FItalicFont.setItalic(true);
    viewport()->setFont(FFont);

    const QFontMetrics metrics(FFont);
    FRowHeight = FFont.pixelSize() + 4;
    FSpaceHeight = metrics.height();
    FAscent = metrics.ascent();
    SetLanguages(0, 0);

    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setSingleStep(16);
    FDragScrollTimer.setInterval(DragScrollInterval);
    FDragScrollTimer.setObjectName(QStringLiteral("timDragScroll"));
    connect(&FDragScrollTimer, &QTimer::timeout, this, &TVocabGrid::DragScrollTimer_);
}

void TVocabGrid::SetLanguages(uint16_t foreignId, uint16_t nativeId) {
    FBoldWidths.Setup(FBoldFont, foreignId);
    FItalicWidths.Setup(FItalicFont, nativeId);
    FPlainWidths.Setup(FFont, nativeId);
}

int TVocabGrid::ItemWidth(const TVocabItem& item) const {
    double width = FBoldWidths.Width(item.Word) + FBoldWidths.Width(' ');
    if (!item.Category.empty())
        width += FItalicWidths.Width(item.Category) + FItalicWidths.Width(' ');
    if (!item.Notes.empty())
        width += FItalicWidths.Width(item.Notes) + FItalicWidths.Width(' ');
    width += FPlainWidths.Width(item.Translation);
    return static_cast<int>(std::ceil(width)) + 2 * TextLeft;
}

int TVocabGrid::RowCount() const { return std::max(1, FHost.GridDocument().Count()); }

int TVocabGrid::TopRow() const { return verticalScrollBar()->value(); }

void TVocabGrid::SetTopRow(int row) { verticalScrollBar()->setValue(row); }

int TVocabGrid::VisibleRowCount() const { return std::max(1, viewport()->height() / FRowHeight); }

int TVocabGrid::LastVisibleBottom() const {
    return (viewport()->height() / FRowHeight) * FRowHeight - 1;
}

int TVocabGrid::RowAt(QPoint point) const {
    if (point.y() < 0 || point.x() < 0 || point.x() >= viewport()->width())
        return -1;
    const int row = TopRow() + point.y() / FRowHeight;
    return row < RowCount() ? row : -1;
}

QRect TVocabGrid::RowRect(int row) const {
    return QRect(-horizontalScrollBar()->value(), (row - TopRow()) * FRowHeight, FColumnWidth,
                 FRowHeight);
}

void TVocabGrid::UpdateColumnWidth() {
    TVocabFile& document = FHost.GridDocument();
    int widest = 0;
    for (int32_t i = 0; i < document.Count(); ++i) {
        TVocabItem& item = document.Items(i);
        if (item.DisplayWidth == 0)
            item.DisplayWidth = ItemWidth(item);
        widest = std::max(widest, static_cast<int>(item.DisplayWidth));
    }
    FColumnWidth = std::max(widest, viewport()->width());
    UpdateScrollBars();
}

void TVocabGrid::UpdateScrollBars() {
    const int visible = VisibleRowCount();
    QScrollBar* vertical = verticalScrollBar();
    vertical->setPageStep(visible);
    vertical->setRange(0, std::max(0, RowCount() - visible));
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setPageStep(viewport()->width());
    horizontal->setRange(0, std::max(0, FColumnWidth - viewport()->width()));
}

void TVocabGrid::RefreshGrid() {
    TRefreshScope scope(*viewport(), FRefreshing);
    const TVocabFile& document = FHost.GridDocument();
    UpdateColumnWidth();
    if (document.CurrentIndex() != -1)
        FRow = document.CurrentIndex();
    FRow = std::clamp(FRow, 0, RowCount() - 1);
    ScrollIntoView();
}

void TVocabGrid::ScrollToStart() {
    horizontalScrollBar()->setValue(0);
    SetTopRow(0);
    FRow = 0;
}

void TVocabGrid::ScrollIntoView() {
    const int visible = VisibleRowCount();
    if (FRow < TopRow())
        SetTopRow(FRow);
    else if (FRow >= TopRow() + visible)
        SetTopRow(FRow - visible + 1);
}

void TVocabGrid::SelectRow(int row) {
    row = std::clamp(row, 0, RowCount() - 1);
    if (FRefreshing)
        return;
    FRow = row;
    FHost.GridCommand([this, row] {
        TVocabFile& document = FHost.GridDocument();
        document.SetCurrentIndex(row < document.Count() ? row : -1);
    });
    ScrollIntoView();
    viewport()->update();
}

void TVocabGrid::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.fillRect(event->rect(), palette().color(QPalette::Base));
    const int first = TopRow() + event->rect().top() / FRowHeight;
    const int last = std::min(RowCount() - 1, TopRow() + event->rect().bottom() / FRowHeight);
    for (int row = first; row <= last; ++row)
        DrawRow(painter, row, RowRect(row));
}

void TVocabGrid::DrawRow(QPainter& painter, int row, const QRect& rect) {
    const TVocabFile& document = FHost.GridDocument();
    const bool hasItems = document.Count() > 0;
    const bool selected = row == FRow && hasItems;
    const QColor background = palette().color(selected ? QPalette::Highlight : QPalette::Base);
    const QColor text = palette().color(selected ? QPalette::HighlightedText : QPalette::Text);
    painter.fillRect(rect, background);
    if (!hasItems)
        return;

    const TVocabItem& item = document.Items(row);
    const uint16_t foreign = document.ForeignLangID;
    const uint16_t native = document.NativeLangID;
    double x = rect.left() + TextLeft;
    const int top = (rect.top() + rect.bottom() + 1 - FSpaceHeight) / 2;
    const int baseline = top + FAscent;
    painter.setPen(text);
    auto draw = [&](const QFont& font, const TWidthTable& widths, const std::string& bytes,
                    uint16_t language, bool space) {
        painter.setFont(font);
        const std::string piece = space ? bytes + ' ' : bytes;
        painter.drawText(QPointF(x, baseline), Decode(piece, language));
        x += widths.Width(piece);
    };
    draw(FBoldFont, FBoldWidths, item.Word, foreign, true);
    if (!item.Category.empty())
        draw(FItalicFont, FItalicWidths, item.Category, native, true);
    if (!item.Notes.empty())
        draw(FItalicFont, FItalicWidths, item.Notes, native, true);
    draw(FFont, FPlainWidths, item.Translation, native, true);

    const QRect outline = rect.adjusted(0, 0, -1, -1);
    if (row == FHost.GridCutIndex()) {
        painter.setPen(QPen(text, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(outline);
    } else if (row == FRow && hasFocus()) {
        // The focus rectangle: dotted in the text colour on the highlight, one
        // pixel inside the row, so that it is plain to see in every style
        // (some draw theirs in a shade of the highlight) and never taken for
        // the cut mark on the row's outline.
        painter.setPen(QPen(text, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(outline.adjusted(1, 1, -1, -1));
    } else if (row == FDropTarget && row != FRow) {
        // The drop-target marker; never on the selected row.
        painter.setPen(QPen(text, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(outline);
    }
}

void TVocabGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateColumnWidth();
}

void TVocabGrid::scrollContentsBy(int, int) { viewport()->update(); }

void TVocabGrid::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void TVocabGrid::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void TVocabGrid::keyPressEvent(QKeyEvent* event) {
    if (FDragging && event->key() == Qt::Key_Escape) {
        EndDrag();
        return;
    }
    const int visible = VisibleRowCount();
    switch (event->key()) {
    case Qt::Key_Up:
        SelectRow(FRow - 1);
        return;
    case Qt::Key_Down:
        SelectRow(FRow + 1);
        return;
    case Qt::Key_PageUp:
        SelectRow(FRow - visible);
        return;
    case Qt::Key_PageDown:
        SelectRow(FRow + visible);
        return;
    case Qt::Key_Home:
        SelectRow(0);
        return;
    case Qt::Key_End:
        SelectRow(RowCount() - 1);
        return;
    case Qt::Key_Left:
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
        return;
    case Qt::Key_Right:
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        return;
    default:
        break;
    }
    const QString typed = event->text();
    if (typed.size() == 1 && typed.at(0).unicode() > 32 &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        FindByFirstLetter(typed);
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

bool TVocabGrid::FindByFirstLetter(const QString& typed) {
    TVocabFile& document = FHost.GridDocument();
    const int32_t count = document.Count();
    if (count == 0 || typed.isEmpty())
        return false;
    const uint16_t foreign = document.ForeignLangID;
    const std::optional<std::string> typedBytes = FromUtf16(typed.toStdU16String(), foreign);
    if (!typedBytes || typedBytes->size() != 1)
        return false;
    const std::string wanted = LowerCaseText(*typedBytes, foreign);
    const int32_t current = document.CurrentIndex();
    for (int32_t k = 1; k <= count; ++k) {
        const int32_t i = current == -1 ? k - 1 : (current + k) % count;
        const TVocabItem& item = document.Items(i);
        const size_t start = static_cast<size_t>(std::max(0, item.SortPosition));
        if (start >= item.Word.size())
            continue;
        const std::string letters =
            LettersAndDigits(std::string_view(item.Word).substr(start), foreign, false);
        if (letters.empty())
            continue;
        if (LowerCaseText(letters.substr(0, 1), foreign) == wanted) {
            SelectRow(i);
            return true;
        }
    }
    return false;
}

void TVocabGrid::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const int row = RowAt(event->position().toPoint());
    if (row == -1)
        return;
    FPressed = true;
    FPressPos = event->position().toPoint();
    SelectRow(row);
}

void TVocabGrid::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (!FPressed || !(event->buttons() & Qt::LeftButton))
        return;
    if (!FDragging) {
        if (RowCount() <= 1 || (point - FPressPos).manhattanLength() < DragThreshold)
            return;
        if (RowAt(FPressPos) != FRow)
            return;
        FHost.GridDragStarted();
        FDropTarget = -1;
        FDragging = true;
    }
    DragOver(point);
}

void TVocabGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    FPressed = false;
    if (!FDragging)
        return;
    const int row = DropRowAt(event->position().toPoint());
    EndDrag();
    if (row != -1 && row != FRow)
        FHost.GridDrop(row);
}

void TVocabGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    if (FHost.GridDocument().CurrentIndex() != -1)
        FHost.GridEdit();
}

int TVocabGrid::DropRowAt(QPoint point) const {
    if (point.y() > LastVisibleBottom())
        return -1;
    return RowAt(point);
}

void TVocabGrid::DragOver(QPoint point) {
    const int bottom = LastVisibleBottom();
    FScrollDirection = point.y() < 0 ? -1 : point.y() > bottom ? 1 : 0;
    if (FScrollDirection == 0)
        FDragScrollTimer.stop();
    else if (!FDragScrollTimer.isActive())
        FDragScrollTimer.start();
    const int target = DropRowAt(point);
    viewport()->setCursor(target == -1 ? Qt::ForbiddenCursor : Qt::DragMoveCursor);
    ShowDropTarget(target);
}

void TVocabGrid::ShowDropTarget(int row) {
    if (row == FDropTarget)
        return;
    const int old = FDropTarget;
    FDropTarget = row;
    if (old != -1)
        viewport()->update(RowRect(old));
    if (row != -1)
        viewport()->update(RowRect(row));
}

void TVocabGrid::DragScrollTimer_() {
    const int top = TopRow();
    if ((FScrollDirection == 1 && top < RowCount() - VisibleRowCount()) ||
        (FScrollDirection == -1 && top > 0)) {
        SetTopRow(top + FScrollDirection);
        FDropTarget = -1;
        viewport()->repaint();
    }
}

void TVocabGrid::EndDrag() {
    FDragScrollTimer.stop();
    FScrollDirection = 0;
    FDragging = false;
    FPressed = false;
    FDropTarget = -1;
    viewport()->unsetCursor();
    viewport()->update();
}

} // namespace vocalore
