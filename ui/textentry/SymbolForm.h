#pragma once
// The character picker of a symbol edit: a pop-up grid of 160 characters
// (the ASCII symbols, then bytes 128 ... 255 of the field's code page) in the
// field's own font, chosen with the mouse or the arrow keys. It never takes
// the keyboard focus: the edit keeps it and hands the picker its keys.

#include <QFont>
#include <QFrame>

#include <array>
#include <cstddef>
#include <cstdint>

namespace vocalore {

class TSymbolEdit;

class TSymbolForm : public QFrame {
    Q_OBJECT
public:
    static constexpr int Columns = 16;
    static constexpr int Rows = 10;
    static constexpr std::size_t Cells = static_cast<std::size_t>(Columns) * Rows;

    // The byte of each cell: cell (column, row) shows entry column + 16 * row.
    static const std::array<uint8_t, Cells>& CharacterTable();

    // Where a picker of `size` opens for an edit occupying `edit` (screen
    // coordinates): under the edit, moved left to end at the right edge of the
    // work area, above the edit where it would leave the bottom.
    static QPoint Placement(const QRect& edit, const QSize& size, const QRect& workArea);

    // Lays itself out for the owner's font and language and places itself;
    // shown by the owner.
    explicit TSymbolForm(TSymbolEdit* owner);

    TSymbolEdit* Owner() const { return FOwner; }
    int SelectedColumn() const { return FColumn; }
    int SelectedRow() const { return FRow; }
    int CellWidth() const { return FCellWidth; }
    int CellHeight() const { return FCellHeight; }
    // The character a cell shows; empty for a byte the code page leaves
    // without a printable character.
    QString CellText(int column, int row) const;
    // The character of the selected cell; empty when none is selected (or the
    // cell is empty).
    QString SelectedChar() const;
    // A cell outside 0..15, 0..9 clears the selection.
    void Select(int column, int row);
    // Left, Right, Up and Down move the selection, wrapping inside the row or
    // column; any other key does nothing.
    void NavigationKey(int key);
    // A cell's rectangle in widget coordinates.
    QRect CellRect(int column, int row) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    static bool Valid(int column, int row);
    // The point relative to the grid, and whether it lies on it.
    bool OnGrid(const QPoint& widgetPoint, QPoint& gridPoint) const;

    TSymbolEdit* FOwner;
    QFont FFont;
    std::array<QString, Cells> FTexts;
    int FColumn = -1;
    int FRow = -1;
    int FCellWidth = 0;
    int FCellHeight = 0;
};

} // namespace vocalore
