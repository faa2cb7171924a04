#pragma once
// The vocabulary document: the item list, its languages, properties, test
// counters and undo history. Pure data and logic; no user interface.
//
// The members are implemented in one translation unit per concern:
//   VocabFile.cpp    list operations, properties, merge
//   UndoHistory.cpp  recording, Undo, Redo
//   FileFormat.cpp   the ".vlo" reader and writer
//   Clipboard.cpp    the clipboard block
//   SortSearch.cpp   Sort, Shuffle, FindNext
//   TestOps.cpp      the test operations and multiple-choice sets

#include "VocabError.h"
#include "VocabItem.h"

#include <array>
#include <cstdint>
#include <deque>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

namespace vocalore {

class TClipboardPort;

enum class InsertPosition { ipAfterCurrent, ipAtEnd };
using enum InsertPosition;

enum TUndoKind : int { ukNone = 0, ukAdd, ukEdit, ukDelete, ukMove, ukSort, ukShuffle };

// Caption word of a step kind ("Add", "Edit", ...); empty for ukNone.
const char* UndoKindCaption(TUndoKind kind);

// One step of the history. It owns the item that is out of the list (if any);
// a sort or shuffle step keeps the other order of the list as a permutation:
// applying the step makes list[k] = old list[Order[k]].
struct TUndoStep {
    TUndoKind Kind = ukNone;
    int32_t OldIndex = -1;
    int32_t NewIndex = -1;
    std::unique_ptr<TVocabItem> Item;
    std::vector<int32_t> Order;
    size_t Bytes = 0; // memory the step holds, counted against the history budget
};

// The last search of the Find dialog.
struct TSearchData {
    std::string Text;
    uint8_t Field = 0; // 0..3, see TFieldIndex
    uint8_t Options = 0;
};
inline constexpr uint8_t soMatchCase = 0x01;
inline constexpr uint8_t soMatchAccents = 0x02;
inline constexpr uint8_t soMatchWord = 0x04;

inline constexpr int PropertyCount = 8;
enum TPropertyIndex : int { piDescription = 0, piAuthor = 1, piComments = 2 };
inline constexpr int MaxUndoSteps = 500;
// The file format counts a text's bytes in 16 bits.
inline constexpr size_t MaxStoredTextSize = 65535;
// "word/phrase", "part of speech", "notes", "translation": a field in messages.
const char* FieldDescription(int field);
// The history of a very large list drops its oldest steps beyond this much
// memory (a sort of a million items keeps a 4 MB order).
inline constexpr size_t UndoMemoryBudget = size_t{256} << 20;

class TVocabFile {
public:
    TVocabFile();
    ~TVocabFile();
    TVocabFile(const TVocabFile&) = delete;
    TVocabFile& operator=(const TVocabFile&) = delete;

    // --- list and properties ---
    void Clear();
    int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
    TVocabItem& Items(int32_t index);
    const TVocabItem& Items(int32_t index) const;
    int32_t CurrentIndex() const { return FCurrentIndex; }
    void SetCurrentIndex(int32_t index);
    TVocabItem& CurrentItem();
    const TVocabItem& CurrentItem() const;
    TVocabItem& PendingItem() { return *FPendingItem; }
    void InsertPending(InsertPosition position);
    void ReplaceCurrent();
    void DeleteCurrent();
    void MoveCurrent(int32_t newIndex);
    const std::string& GetProperty(int index) const;
    void SetProperty(int index, const std::string& text);

    uint16_t ForeignLangID = 0;
    uint16_t NativeLangID = 0;
    int32_t AttemptCount() const { return FAttemptCount; }
    int32_t SuccessCount() const { return FSuccessCount; }
    const std::string& FileName() const { return FFileName; }
    bool Modified() const { return FModified; }
    bool SameLanguages(uint16_t foreignId, uint16_t nativeId) const;

    // Appends copies (texts and sort position; untested, unlearnt) of another
    // document's items; returns how many. Errors leave this document unchanged.
    int32_t MergeFile(const std::string& path);
    // Appends the given items at the end with the bookkeeping of a merge or an
    // import (history emptied, modified, no saved position). Returns the count.
    int32_t AppendItems(std::vector<std::unique_ptr<TVocabItem>> items);

    // --- undo history ---
    bool Undo();
    bool Redo();
    TUndoKind UndoKind() const;
    TUndoKind RedoKind() const;
    void ClearUndo();
    int32_t UndoPosition() const { return FUndoPosition; }
    int32_t SavedPosition() const { return FSavedPosition; }
    int32_t UndoStepCount() const { return static_cast<int32_t>(FSteps.size()); }
    size_t UndoHistoryBytes() const { return FHistoryBytes; }
    void SetUndoMemoryBudget(size_t bytes) { FUndoBudget = bytes; }

    // --- file format ---
    void SaveToStream(std::ostream& stream);
    void SaveToFile(const std::string& path);
    void LoadFromStream(std::istream& stream);
    void LoadFromFile(const std::string& path);
    // The bytes SaveToFile would write, without saving anything (a recovery
    // copy); refuses texts the format can't hold like a save.
    std::string FileImage() const { return Serialize(); }
    // A recovery copy's image as the unsaved document it was: the path it
    // had (empty when untitled), modified, with no way back to a saved state.
    void LoadRecovered(const std::string& image, const std::string& originalPath);
    // The document's file no longer holds it (the user let an export replace
    // it): modified, with no way back to a saved state.
    void MarkUnsaved() {
        FModified = true;
        FSavedPosition = -1;
    }

    // --- clipboard ---
    void CopyToClipboard(TClipboardPort& clipboard) const;
    void PasteFromClipboard(TClipboardPort& clipboard, InsertPosition position);
    static bool ClipboardHasItem(const TClipboardPort& clipboard);

    // --- sort, shuffle, search ---
    void FillSortKeys();
    void Sort();
    void Shuffle();
    int32_t FindNext(const TSearchData& search) const;
    static std::string SearchForm(const std::string& text, uint16_t language, uint8_t options);

    // --- testing ---
    bool SelectNextItem();
    void RecordAnswer(bool correct, int32_t maxPenaltyPoints);
    void ResetStatistics();
    int32_t LearntCount() const;
    std::vector<const TVocabItem*> ChooseChoices(int32_t count) const;

private:
    void RecordStep(TUndoStep step);
    void ApplyOrder(std::vector<int32_t>& order); // reorders the list; order becomes the inverse
    void ReorderWithStep(std::vector<int32_t> order, TUndoKind kind);
    void EmptyHistoryAfterChange(); // history emptied, no saved state, modified
    void ReadFrom(const std::string& bytes);
    std::string Serialize() const;

    std::vector<std::unique_ptr<TVocabItem>> FItems;
    int32_t FCurrentIndex = -1;
    std::unique_ptr<TVocabItem> FPendingItem;
    std::array<std::string, PropertyCount> FProperties;
    int32_t FAttemptCount = 0;
    int32_t FSuccessCount = 0;
    std::string FFileName;
    bool FModified = false;

    std::deque<TUndoStep> FSteps; // oldest first; the oldest is dropped at the cap
    int32_t FUndoPosition = 0;
    size_t FHistoryBytes = 0;
    size_t FUndoBudget = UndoMemoryBudget;
    int32_t FSavedPosition = 0;
};

} // namespace vocalore
