#include "VocabFile.h"

#include "ListOps.h"

#include <algorithm>

namespace vocalore {

const char* UndoKindCaption(TUndoKind kind) {
    switch (kind) {
    case ukAdd:
        return "Add";
    case ukEdit:
        return "Edit";
    case ukDelete:
        return "Delete";
    case ukMove:
        return "Move";
    case ukSort:
        return "Sort";
    case ukShuffle:
        return "Shuffle";
    case ukNone:
        break;
    }
    return "";
}

namespace {

size_t ItemBytes(const TVocabItem* item) {
    if (item == nullptr)
        return 0;
    return sizeof(TVocabItem) + item->Word.capacity() + item->Category.capacity() +
           item->Notes.capacity() + item->Translation.capacity();
}

} // namespace

void TVocabFile::RecordStep(TUndoStep step) {
    if (FSavedPosition > FUndoPosition)
        FSavedPosition = -1;
    for (auto it = FSteps.begin() + FUndoPosition; it != FSteps.end(); ++it)
        FHistoryBytes -= it->Bytes;
    FSteps.erase(FSteps.begin() + FUndoPosition, FSteps.end());
    // An added item is in the list now and moves into the step when undone.
    const TVocabItem* held =
        step.Kind == ukAdd ? FItems[static_cast<size_t>(step.NewIndex)].get() : step.Item.get();
    step.Bytes = sizeof(TUndoStep) + step.Order.capacity() * sizeof(int32_t) + ItemBytes(held);
    FHistoryBytes += step.Bytes;
    FSteps.push_back(std::move(step));
    // The oldest steps go first, at the step cap or beyond the memory budget;
    // the newest step always stays.
    while (FSteps.size() > static_cast<size_t>(MaxUndoSteps) ||
           (FHistoryBytes > FUndoBudget && FSteps.size() > 1)) {
        FHistoryBytes -= FSteps.front().Bytes;
        FSteps.pop_front();
        FSavedPosition = -1;
    }
    FUndoPosition = UndoStepCount();
    FModified = true;
}

void TVocabFile::ClearUndo() {
    FSteps.clear();
    FUndoPosition = 0;
    FHistoryBytes = 0;
}

TUndoKind TVocabFile::UndoKind() const {
    return FUndoPosition > 0 ? FSteps[static_cast<size_t>(FUndoPosition - 1)].Kind : ukNone;
}

TUndoKind TVocabFile::RedoKind() const {
    return FUndoPosition < UndoStepCount() ? FSteps[static_cast<size_t>(FUndoPosition)].Kind
                                           : ukNone;
}

void TVocabFile::ApplyOrder(std::vector<int32_t>& order) {
    std::vector<std::unique_ptr<TVocabItem>> reordered(FItems.size());
    std::vector<int32_t> inverse(order.size());
    for (size_t k = 0; k < order.size(); ++k) {
        const auto from = static_cast<size_t>(order[k]);
        reordered[k] = std::move(FItems[from]);
        inverse[from] = static_cast<int32_t>(k);
    }
    FItems = std::move(reordered);
    order = std::move(inverse);
}

bool TVocabFile::Undo() {
    if (FUndoPosition == 0)
        Raise(msg::InvalidProcedureCall);
    --FUndoPosition;
    TUndoStep& step = FSteps[static_cast<size_t>(FUndoPosition)];
    switch (step.Kind) {
    case ukAdd:
        step.Item = std::move(FItems[static_cast<size_t>(step.NewIndex)]);
        FItems.erase(FItems.begin() + step.NewIndex);
        break;
    case ukEdit:
        std::swap(step.Item, FItems[static_cast<size_t>(step.NewIndex)]);
        break;
    case ukDelete:
        FItems.insert(FItems.begin() + step.OldIndex, std::move(step.Item));
        break;
    case ukMove:
        detail::MoveEntry(FItems, step.NewIndex, step.OldIndex);
        break;
    case ukSort:
    case ukShuffle:
        ApplyOrder(step.Order);
        break;
    case ukNone:
        break;
    }
    FCurrentIndex = step.OldIndex;
    FModified = FUndoPosition != FSavedPosition;
    return FModified;
}

bool TVocabFile::Redo() {
    if (FUndoPosition == UndoStepCount())
        Raise(msg::InvalidProcedureCall);
    TUndoStep& step = FSteps[static_cast<size_t>(FUndoPosition)];
    switch (step.Kind) {
    case ukAdd:
        FItems.insert(FItems.begin() + step.NewIndex, std::move(step.Item));
        break;
    case ukEdit:
        std::swap(step.Item, FItems[static_cast<size_t>(step.OldIndex)]);
        break;
    case ukDelete:
        step.Item = std::move(FItems[static_cast<size_t>(step.OldIndex)]);
        FItems.erase(FItems.begin() + step.OldIndex);
        break;
    case ukMove:
        detail::MoveEntry(FItems, step.OldIndex, step.NewIndex);
        break;
    case ukSort:
    case ukShuffle:
        ApplyOrder(step.Order);
        break;
    case ukNone:
        break;
    }
    FCurrentIndex = step.NewIndex;
    ++FUndoPosition;
    FModified = FUndoPosition != FSavedPosition;
    return FModified;
}

// Puts the list in the given order (list[k] = old list[order[k]]), keeps the
// current item current, and records the step that can put it back.
void TVocabFile::ReorderWithStep(std::vector<int32_t> order, TUndoKind kind) {
    const int32_t oldIndex = FCurrentIndex;
    ApplyOrder(order); // order now maps back to the previous list
    const int32_t newIndex = oldIndex == -1 ? -1 : order[static_cast<size_t>(oldIndex)];
    FCurrentIndex = newIndex;
    RecordStep({kind, oldIndex, newIndex, nullptr, std::move(order)});
}

} // namespace vocalore
