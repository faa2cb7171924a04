#pragma once
// The clipboard format "Vocalore Vocabulary Item" and the small interface the
// document uses to reach the system clipboard (the window side implements it
// with QClipboard; tests use a double).
//
// Block layout (little-endian): 2 bytes ForeignLangID, 2 bytes NativeLangID,
// 4 bytes SortPosition (signed), the item text (Word, tab, Category, tab,
// Notes, tab, Translation, in the documents' code pages), one zero byte.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vocalore {

struct TVocabItem;

inline constexpr const char* ClipboardFormatName = "Vocalore Vocabulary Item";
inline constexpr std::size_t ClipboardHeaderSize = 8;

namespace msg {
inline constexpr const char* CannotOpenClipboard = "Cannot open clipboard";
} // namespace msg

class TClipboardPort {
public:
    virtual ~TClipboardPort() = default;
    // Replaces the clipboard's contents with both entries at once: the private
    // block under ClipboardFormatName and the plain text (UTF-8). Throws
    // EVocabFileError(msg::CannotOpenClipboard) when the clipboard is busy.
    virtual void PutItem(const std::string& block, const std::string& plainTextUtf8) = 0;
    // The private block, or nullopt when the clipboard holds none. May throw
    // like PutItem.
    virtual std::optional<std::string> GetBlock() const = 0;
    virtual bool HasBlock() const = 0;
};

// Word, Category, Notes and Translation joined by tabs (bytes as stored).
std::string ClipboardItemText(const TVocabItem& item);
// The whole block, zero byte included.
std::string EncodeClipboardBlock(uint16_t foreignLangId, uint16_t nativeLangId,
                                 const TVocabItem& item);

struct TClipboardBlock {
    uint16_t ForeignLangID = 0;
    uint16_t NativeLangID = 0;
    int32_t SortPosition = 0;
    std::string Text; // up to the first zero byte after the header
};
// nullopt when the block is shorter than its header or has no zero byte
// after it. Never reads outside `block`.
std::optional<TClipboardBlock> DecodeClipboardBlock(std::string_view block);

// The plain-text entry: the item text with Word decoded from the foreign
// language's code page and the other fields from the native one, as UTF-8.
std::string ClipboardPlainText(uint16_t foreignLangId, uint16_t nativeLangId,
                               const TVocabItem& item);

} // namespace vocalore
