// The ".vlo" document file: little-endian integers, strings as a 16-bit byte
// count followed by the bytes, magic "Vocalore 2".

#include "VocabFile.h"

#include "FileIO.h"

#include <cstring>
#include <filesystem>
#include <istream>
#include <limits>
#include <new>
#include <ostream>
#include <sstream>

namespace vocalore {

namespace {

constexpr char Magic[] = "Vocalore 2";
constexpr size_t MagicSize = sizeof(Magic) - 1;
// Four empty strings and three integers: the least an item record can take.
constexpr size_t MinItemRecordSize = 4 * 2 + 3 * 4;
constexpr size_t MaxTextSize = MaxStoredTextSize;
static_assert(MaxTextSize == std::numeric_limits<uint16_t>::max());

const char* const FieldNames[] = {"word/phrase", "part of speech", "notes", "translation"};
const char* const PropertyNames[] = {"description", "author", "comments"};

class TWriter {
public:
    explicit TWriter(size_t reserve) { FBytes.reserve(reserve); }
    void U16(uint16_t v) {
        FBytes.push_back(static_cast<char>(v & 0xFF));
        FBytes.push_back(static_cast<char>(v >> 8));
    }
    void I32(int32_t v) {
        const auto u = static_cast<uint32_t>(v);
        for (int shift = 0; shift < 32; shift += 8)
            FBytes.push_back(static_cast<char>((u >> shift) & 0xFF));
    }
    void Text(const std::string& s) {
        U16(static_cast<uint16_t>(s.size()));
        FBytes += s;
    }
    void Raw(const char* p, size_t n) { FBytes.append(p, n); }
    std::string Take() { return std::move(FBytes); }

private:
    std::string FBytes;
};

class TReader {
public:
    explicit TReader(const std::string& bytes) : FBytes(bytes) {}
    size_t Remaining() const { return FBytes.size() - FPos; }
    const char* Take(size_t n) {
        if (Remaining() < n)
            Raise(msg::StreamReadError);
        const char* p = FBytes.data() + FPos;
        FPos += n;
        return p;
    }
    uint16_t U16() {
        const auto* p = reinterpret_cast<const unsigned char*>(Take(2));
        return static_cast<uint16_t>(p[0] | (p[1] << 8));
    }
    int32_t I32() {
        const auto* p = reinterpret_cast<const unsigned char*>(Take(4));
        const uint32_t u =
            uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
        return static_cast<int32_t>(u);
    }
    std::string Text() {
        const uint16_t n = U16();
        return std::string(Take(n), n);
    }

private:
    const std::string& FBytes;
    size_t FPos = 0;
};

// `what` names the text; it is only called when the text is too long.
template <typename Describe> void CheckTextSize(const std::string& text, Describe what) {
    if (text.size() > MaxTextSize)
        throw EVocabFileError("Cannot save: the " + what() + " is " + std::to_string(text.size()) +
                              " bytes long; a text may hold at most 65535 bytes.");
}

std::string ItemLabel(const TVocabItem& item, int32_t index) {
    std::string word = item.Word.substr(0, 40);
    return "item " + std::to_string(index + 1) + " (\"" + word + "\")";
}

} // namespace

const char* FieldDescription(int field) {
    return field >= 0 && field < FieldCount ? FieldNames[field] : "";
}

// Builds the file image; refuses texts a 16-bit count can't hold, so that no
// file is written that reads back differently.
std::string TVocabFile::Serialize() const {
    for (int p = 0; p < PropertyCount; ++p)
        CheckTextSize(FProperties[static_cast<size_t>(p)], [p] {
            return p < 3 ? std::string(PropertyNames[p]) : "property " + std::to_string(p);
        });
    size_t size = 64;
    for (int32_t i = 0; i < Count(); ++i) {
        const TVocabItem& item = *FItems[static_cast<size_t>(i)];
        for (int f = 0; f < FieldCount; ++f) {
            CheckTextSize(item.Field(f),
                          [&] { return std::string(FieldNames[f]) + " of " + ItemLabel(item, i); });
            size += item.Field(f).size();
        }
        size += MinItemRecordSize;
    }

    TWriter w(size);
    w.Raw(Magic, MagicSize);
    w.U16(ForeignLangID);
    w.U16(NativeLangID);
    w.I32(FAttemptCount);
    w.I32(FSuccessCount);
    for (const auto& p : FProperties)
        w.Text(p);
    w.I32(Count());
    for (const auto& item : FItems) {
        w.Text(item->Word);
        w.Text(item->Category);
        w.Text(item->Notes);
        w.Text(item->Translation);
        w.I32(item->LastTested);
        w.I32(item->SortPosition);
        w.I32(item->PenaltyPoints);
    }
    return w.Take();
}

void TVocabFile::SaveToStream(std::ostream& stream) {
    const std::string bytes = Serialize();
    stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    stream.flush();
    if (!stream)
        Raise(msg::StreamWriteError);
    FModified = false;
    FSavedPosition = FUndoPosition;
}

namespace {

// The full path of a document, so that its name still works from another
// folder (the recent-file list, a later start). Symbolic links stay as the
// user named them; only "." steps go.
std::string FullPath(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    if (ec)
        return path;
    std::filesystem::path result;
    for (const auto& part : absolute)
        if (part != ".")
            result /= part;
    // A trailing "." step leaves an empty last part; keep the folder form.
    return result.empty() ? path : result.string();
}

} // namespace

void TVocabFile::SaveToFile(const std::string& path) {
    ReplaceFile(path, Serialize());
    FModified = false;
    FSavedPosition = FUndoPosition;
    FFileName = FullPath(path);
}

void TVocabFile::LoadFromStream(std::istream& stream) {
    std::ostringstream all;
    if (stream.rdbuf())
        all << stream.rdbuf();
    ReadFrom(all.str());
}

void TVocabFile::LoadFromFile(const std::string& path) {
    try {
        ReadFrom(ReadWholeFile(path));
    } catch (const std::bad_alloc&) {
        // The items of a huge file may not fit although its bytes did.
        throw EVocabFileError(FileErrorText("Cannot open file", path, 0) + ". " +
                              TooLargeForMemory);
    }
    FFileName = FullPath(path);
}

void TVocabFile::LoadRecovered(const std::string& image, const std::string& originalPath) {
    ReadFrom(image);
    FFileName = originalPath;
    FModified = true;
    FSavedPosition = -1;
}

// Reads a whole file image. A failure leaves the document empty, never half-loaded.
void TVocabFile::ReadFrom(const std::string& bytes) {
    Clear();
    try {
        TReader r(bytes);
        if (std::memcmp(r.Take(MagicSize), Magic, MagicSize) != 0)
            Raise(msg::InvalidFileFormat);
        ForeignLangID = r.U16();
        NativeLangID = r.U16();
        FAttemptCount = r.I32();
        FSuccessCount = r.I32();
        for (auto& p : FProperties)
            p = r.Text();
        const int32_t count = r.I32();
        if (count < 0)
            throw EVocabFileError("List capacity out of bounds (" + std::to_string(count) + ")");
        // Never reserve more than the remaining bytes can hold: a hostile count
        // then fails as a short file instead of exhausting memory.
        FItems.reserve(std::min(static_cast<size_t>(count), r.Remaining() / MinItemRecordSize));
        for (int32_t i = 0; i < count; ++i) {
            auto item = std::make_unique<TVocabItem>();
            item->Word = r.Text();
            item->Category = r.Text();
            item->Notes = r.Text();
            item->Translation = r.Text();
            item->LastTested = r.I32();
            item->SortPosition = r.I32();
            item->PenaltyPoints = r.I32();
            FItems.push_back(std::move(item));
        }
    } catch (...) {
        Clear();
        throw;
    }
}

} // namespace vocalore
