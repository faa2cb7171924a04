#include "Clipboard.h"

#include "CodePage.h"
#include "TextFunctions.h"
#include "VocabFile.h"

#include <algorithm>
#include <cstring>

namespace vocalore {

namespace {

void PutLE(std::string& out, uint32_t value, int bytes) {
    for (int k = 0; k < bytes; ++k)
        out += static_cast<char>((value >> (8 * k)) & 0xFF);
}

uint32_t GetLE(std::string_view in, size_t offset, int bytes) {
    uint32_t value = 0;
    for (int k = 0; k < bytes; ++k)
        value |=
            static_cast<uint32_t>(static_cast<unsigned char>(in[offset + static_cast<size_t>(k)]))
            << (8 * k);
    return value;
}

} // namespace

std::string ClipboardItemText(const TVocabItem& item) {
    return item.Word + '\t' + item.Category + '\t' + item.Notes + '\t' + item.Translation;
}

std::string EncodeClipboardBlock(uint16_t foreignLangId, uint16_t nativeLangId,
                                 const TVocabItem& item) {
    std::string block;
    const std::string text = ClipboardItemText(item);
    block.reserve(ClipboardHeaderSize + text.size() + 1);
    PutLE(block, foreignLangId, 2);
    PutLE(block, nativeLangId, 2);
    PutLE(block, static_cast<uint32_t>(item.SortPosition), 4);
    block += text;
    block += '\0';
    return block;
}

std::optional<TClipboardBlock> DecodeClipboardBlock(std::string_view block) {
    if (block.size() < ClipboardHeaderSize)
        return std::nullopt;
    const size_t zero = block.find('\0', ClipboardHeaderSize);
    if (zero == std::string_view::npos)
        return std::nullopt;
    TClipboardBlock result;
    result.ForeignLangID = static_cast<uint16_t>(GetLE(block, 0, 2));
    result.NativeLangID = static_cast<uint16_t>(GetLE(block, 2, 2));
    result.SortPosition = static_cast<int32_t>(GetLE(block, 4, 4));
    result.Text.assign(block.substr(ClipboardHeaderSize, zero - ClipboardHeaderSize));
    return result;
}

std::string ClipboardPlainText(uint16_t foreignLangId, uint16_t nativeLangId,
                               const TVocabItem& item) {
    const TCodePage& foreign = TCodePage::ForLanguage(foreignLangId);
    const TCodePage& native = TCodePage::ForLanguage(nativeLangId);
    return foreign.ToUtf8(item.Word) + '\t' + native.ToUtf8(item.Category) + '\t' +
           native.ToUtf8(item.Notes) + '\t' + native.ToUtf8(item.Translation);
}

void TVocabFile::CopyToClipboard(TClipboardPort& clipboard) const {
    const TVocabItem& item = CurrentItem();
    clipboard.PutItem(EncodeClipboardBlock(ForeignLangID, NativeLangID, item),
                      ClipboardPlainText(ForeignLangID, NativeLangID, item));
}

void TVocabFile::PasteFromClipboard(TClipboardPort& clipboard, InsertPosition position) {
    const std::optional<std::string> bytes = clipboard.GetBlock();
    if (!bytes)
        Raise(msg::NoValidClipboardData);
    const std::optional<TClipboardBlock> block = DecodeClipboardBlock(*bytes);
    if (!block)
        Raise(msg::NoValidClipboardData);
    if (!SameLanguages(block->ForeignLangID, block->NativeLangID))
        Raise(msg::LanguagesDifferent);
    // An item the file can't hold would make the document unsavable. The
    // fields are measured before they are split (slow for huge texts), and
    // what follows a fourth tab is dropped unread.
    const std::string& text = block->Text;
    size_t start = 0;
    for (int k = 0; k < FieldCount; ++k) {
        const size_t tab = text.find('\t', start);
        const size_t end = tab == std::string::npos ? text.size() : tab;
        if (end - start > MaxStoredTextSize)
            throw EVocabFileError("Cannot paste: the " + std::string(FieldDescription(k)) +
                                  " on the clipboard is " + std::to_string(end - start) +
                                  " bytes long; a text may hold at most 65535 bytes.");
        start = end + 1;
        if (tab == std::string::npos)
            break;
    }
    const std::vector<std::string> fields =
        SplitText(text.substr(0, std::min(start, text.size())), "\t", false, FieldCount, false);
    if (fields.size() < FieldCount)
        Raise(msg::NoValidClipboardData);
    TVocabItem& pending = PendingItem();
    pending = TVocabItem{};
    for (int k = 0; k < FieldCount; ++k)
        pending.Field(k) = fields[static_cast<size_t>(k)];
    pending.SortPosition = block->SortPosition;
    InsertPending(position);
}

bool TVocabFile::ClipboardHasItem(const TClipboardPort& clipboard) { return clipboard.HasBlock(); }

} // namespace vocalore
