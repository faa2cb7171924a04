#pragma once
// The multiple-choice list lbResponse: one entry per choice, drawn in the
// language of the side being asked, with a fixed row height so that the list
// can show exactly the number of choices.

#include "testing/Evaluation.h"

#include "core/VocabItem.h"

#include <QListWidget>

#include <cstdint>
#include <vector>

namespace vocalore {

class TChoiceList : public QListWidget {
    Q_OBJECT
public:
    explicit TChoiceList(QWidget* parent = nullptr);

    // The side the entries show (Active: the foreign words) and the languages
    // of the two sides.
    void SetLanguages(TTestMode mode, uint16_t foreignId, uint16_t nativeId);
    // Replaces the entries; nothing is selected afterwards.
    void SetChoices(const std::vector<const TVocabItem*>& items);
    const std::vector<const TVocabItem*>& Choices() const { return FItems; }
    // The item of the selected entry, or nullptr.
    const TVocabItem* SelectedItem() const;
    int32_t SelectedIndex() const;

    // Colour of the entries' text (the selected entry keeps the selection colours).
    void SetTextColour(const QColor& colour);
    QColor TextColour() const { return FTextColour; }

    int RowHeight() const { return FRowHeight; }
    // Outer height that shows exactly `rows` rows.
    int HeightForRows(int rows) const;

    // The texts of an entry as drawn: the main text, and the notes in italic
    // (Active mode only, empty when there are none).
    QString EntryText(int row) const;
    QString EntryNotes(int row) const;

signals:
    // A mouse button was released over the list while an entry was selected.
    void EntryClicked();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    friend class TChoiceDelegate;
    void lbResponseDrawItem(QPainter& painter, const QRect& rect, int row, bool selected) const;
    bool lbResponseKeyPress(const QString& text);

    std::vector<const TVocabItem*> FItems;
    TTestMode FMode = tmPassive;
    uint16_t FForeign = 0x0409;
    uint16_t FNative = 0x0409;
    QFont FFont;
    QFont FItalicFont;
    int FRowHeight = 20;
    QColor FTextColour;
};

} // namespace vocalore
