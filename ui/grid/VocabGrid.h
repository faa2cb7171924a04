#pragma once
// The vocabulary grid: one owner-drawn row per item of the document, the
// current item as the selected row, drag-and-drop reordering with auto-scroll,
// and type-to-find by first letter. A view only; the window behind it owns the
// document and carries out every change.

#include <QAbstractScrollArea>
#include <QFont>
#include <QTimer>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace vocalore {

class TVocabFile;
struct TVocabItem;

// What the grid asks of the window that owns the document.
class TVocabGridHost {
public:
    virtual ~TVocabGridHost() = default;
    virtual TVocabFile& GridDocument() = 0;
    virtual int32_t GridCutIndex() const = 0;
    // Runs a grid action as a command: failures are shown and the action ends.
    virtual void GridCommand(const std::function<void()>& action) = 0;
    virtual void GridEdit() = 0;        // double click on an item
    virtual void GridDragStarted() = 0; // a drag drops the cut mark
    virtual void GridDrop(int32_t row) = 0;
};

// Pixel widths of the 256 bytes of a language's code page in one font, so an
// item is measured by adding numbers instead of laying out text.
class TWidthTable {
public:
    void Setup(const QFont& font, uint16_t languageId);
    double Width(const std::string& bytes) const;
    double Width(char byte) const { return FWidths[static_cast<unsigned char>(byte)]; }
    uint16_t Language() const { return FLanguage; }

private:
    std::array<double, 256> FWidths{};
    uint16_t FLanguage = 0;
};

class TVocabGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TVocabGrid(TVocabGridHost& host, QWidget* parent = nullptr);

    // Re-synchronises with the document after any change and scrolls the
    // current item into view; repaints once.
    void RefreshGrid();
    // A newly shown document starts at its first row, scrolled to the left.
    void ScrollToStart();
    void UpdateColumnWidth();
    // The character sets of the measuring fonts follow the document's languages.
    void SetLanguages(uint16_t foreignId, uint16_t nativeId);
    int ItemWidth(const TVocabItem& item) const;

    int RowHeight() const { return FRowHeight; }
    int RowCount() const;
    int Row() const { return FRow; }
    int TopRow() const;
    void SetTopRow(int row);
    int VisibleRowCount() const;
    int ColumnWidth() const { return FColumnWidth; }
    int DropTarget() const { return FDropTarget; }
    bool Dragging() const { return FDragging; }
    int ScrollDirection() const { return FScrollDirection; }
    QTimer& DragScrollTimer() { return FDragScrollTimer; }
    // Row under a point of the viewport; -1 when none.
    int RowAt(QPoint point) const;
    QRect RowRect(int row) const;

    // Type-to-find: selects the next item whose first significant letter or
    // digit is the typed character. Returns whether one was found.
    bool FindByFirstLetter(const QString& typed);
    // Selects a row as the keyboard or the mouse would.
    void SelectRow(int row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void DrawRow(QPainter& painter, int row, const QRect& rect);
    void UpdateScrollBars();
    void ScrollIntoView();
    void DragOver(QPoint point);
    int DropRowAt(QPoint point) const;
    void ShowDropTarget(int row);
    void EndDrag();
    void DragScrollTimer_();
    int LastVisibleBottom() const;

    TVocabGridHost& FHost;
    QFont FFont, FBoldFont, FItalicFont;
    TWidthTable FBoldWidths, FItalicWidths, FPlainWidths;
    int FRowHeight = 20;
    int FSpaceHeight = 16;
    int FAscent = 13;
    int FRow = 0;
    int FColumnWidth = 0;
    int FDropTarget = -1;
    bool FRefreshing = false;
    bool FPressed = false;
    bool FDragging = false;
    QPoint FPressPos;
    int FScrollDirection = 0;
    QTimer FDragScrollTimer; // timDragScroll
};

} // namespace vocalore
