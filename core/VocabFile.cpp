#include "VocabFile.h"

#include "ListOps.h"

#include <algorithm>

namespace vocalore {

TVocabFile::TVocabFile() : FPendingItem(std::make_unique<TVocabItem>()) {}
TVocabFile::~TVocabFile() = default;

void TVocabFile::Clear() {
    ClearUndo();
    FSavedPosition = 0;
    ForeignLangID = 0;
    NativeLangID = 0;
    FAttemptCount = 0;
    FSuccessCount = 0;
    for (auto& p : FProperties)
        p.clear();
    FItems.clear();
    FCurrentIndex = -1;
    FFileName.clear();
    FModified = false;
}

TVocabItem& TVocabFile::Items(int32_t index) {
    if (index < 0 || index >= Count())
        Raise(msg::InvalidItemIndex);
    return *FItems[static_cast<size_t>(index)];
}

const TVocabItem& TVocabFile::Items(int32_t index) const {
    return const_cast<TVocabFile*>(this)->Items(index);
}

void TVocabFile::SetCurrentIndex(int32_t index) {
    if (index < -1 || index >= Count())
        Raise(msg::InvalidPropertyValue);
    FCurrentIndex = index;
}

TVocabItem& TVocabFile::CurrentItem() {
    if (FCurrentIndex < 0)
        Raise(msg::NoCurrentItem);
    return *FItems[static_cast<size_t>(FCurrentIndex)];
}

const TVocabItem& TVocabFile::CurrentItem() const {
    return const_cast<TVocabFile*>(this)->CurrentItem();
}

void TVocabFile::InsertPending(InsertPosition position) {
    const int32_t oldIndex = FCurrentIndex;
    if (FCurrentIndex == -1 || position == ipAtEnd) {
        FItems.push_back(std::move(FPendingItem));
        FCurrentIndex = Count() - 1;
    } else {
        ++FCurrentIndex;
        FItems.insert(FItems.begin() + FCurrentIndex, std::move(FPendingItem));
    }
    FPendingItem = std::make_unique<TVocabItem>();
    RecordStep({ukAdd, oldIndex, FCurrentIndex, nullptr, {}});
}

void TVocabFile::ReplaceCurrent() {
    if (FCurrentIndex < 0)
        Raise(msg::NoCurrentItem);
    auto& slot = FItems[static_cast<size_t>(FCurrentIndex)];
    std::unique_ptr<TVocabItem> replaced = std::move(slot);
    slot = std::move(FPendingItem);
    FPendingItem = std::make_unique<TVocabItem>();
    RecordStep({ukEdit, FCurrentIndex, FCurrentIndex, std::move(replaced), {}});
}

void TVocabFile::DeleteCurrent() {
    if (FCurrentIndex < 0)
        Raise(msg::NoCurrentItem);
    const int32_t i = FCurrentIndex;
    std::unique_ptr<TVocabItem> deleted = std::move(FItems[static_cast<size_t>(i)]);
    FItems.erase(FItems.begin() + i);
    if (i == Count())
        FCurrentIndex = i - 1;
    RecordStep({ukDelete, i, FCurrentIndex, std::move(deleted), {}});
}

void TVocabFile::MoveCurrent(int32_t newIndex) {
    if (FCurrentIndex < 0)
        Raise(msg::NoCurrentItem);
    if (newIndex < 0 || newIndex >= Count())
        Raise(msg::InvalidItemIndex);
    if (newIndex == FCurrentIndex)
        return;
    const int32_t oldIndex = FCurrentIndex;
    detail::MoveEntry(FItems, oldIndex, newIndex);
    FCurrentIndex = newIndex;
    RecordStep({ukMove, oldIndex, newIndex, nullptr, {}});
}

const std::string& TVocabFile::GetProperty(int index) const {
    if (index < 0 || index >= PropertyCount)
        Raise(msg::InvalidPropertyIndex);
    return FProperties[static_cast<size_t>(index)];
}

void TVocabFile::SetProperty(int index, const std::string& text) {
    if (index < 0 || index >= PropertyCount)
        Raise(msg::InvalidPropertyIndex);
    auto& stored = FProperties[static_cast<size_t>(index)];
    if (stored == text)
        return;
    stored = text;
    FModified = true;
    FSavedPosition = -1;
}

bool TVocabFile::SameLanguages(uint16_t foreignId, uint16_t nativeId) const {
    constexpr uint16_t primary = 0x3FF;
    return (foreignId & primary) == (ForeignLangID & primary) &&
           (nativeId & primary) == (NativeLangID & primary);
}

int32_t TVocabFile::MergeFile(const std::string& path) {
    TVocabFile other;
    other.LoadFromFile(path);
    if (!SameLanguages(other.ForeignLangID, other.NativeLangID))
        Raise(msg::LanguagesDifferent);
    std::vector<std::unique_ptr<TVocabItem>> merged;
    merged.reserve(other.FItems.size());
    for (const auto& source : other.FItems) {
        auto item = std::make_unique<TVocabItem>();
        item->Word = source->Word;
        item->Category = source->Category;
        item->Notes = source->Notes;
        item->Translation = source->Translation;
        item->SortPosition = source->SortPosition;
        merged.push_back(std::move(item));
    }
    return AppendItems(std::move(merged));
}

int32_t TVocabFile::AppendItems(std::vector<std::unique_ptr<TVocabItem>> items) {
    const auto added = static_cast<int32_t>(items.size());
    if (added == 0)
        return 0;
    FItems.reserve(FItems.size() + items.size());
    for (auto& item : items)
        FItems.push_back(std::move(item));
    EmptyHistoryAfterChange();
    return added;
}

void TVocabFile::EmptyHistoryAfterChange() {
    ClearUndo();
    FModified = true;
    FSavedPosition = -1;
}

} // namespace vocalore
