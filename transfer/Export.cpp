#include "Export.h"

#include "Blanks.h"
#include "core/FileIO.h"

#include "core/CodePage.h"
#include "core/Languages.h"
#include "core/VocabFile.h"

#include <algorithm>
#include <ostream>

namespace vocalore {

namespace {

void AppendRtfEscaped(std::string& out, std::string_view text) {
    static constexpr char Hex[] = "0123456789abcdef";
    size_t run = 0; // start of the bytes that pass unchanged
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80 && c != '\\' && c != '{' && c != '}')
            continue;
        out.append(text.data() + run, i - run);
        run = i + 1;
        if (b >= 0x80) {
            const char escape[4] = {'\\', '\'', Hex[b >> 4], Hex[b & 0x0F]};
            out.append(escape, 4);
        } else {
            const char escape[2] = {'\\', c};
            out.append(escape, 2);
        }
    }
    out.append(text.data() + run, text.size() - run);
}

void AppendCsvField(std::string& out, std::string_view field) {
    bool quote = false;
    for (const char c : field)
        if (IsBlank(c) || c == '"' || c == ',') {
            quote = true;
            break;
        }
    if (!quote) {
        out += field;
        return;
    }
    out.push_back('"');
    size_t run = 0;
    for (size_t quote = field.find('"'); quote != std::string_view::npos;
         quote = field.find('"', quote + 1)) {
        out.append(field.data() + run, quote + 1 - run);
        out.push_back('"'); // doubled
        run = quote + 1;
    }
    out.append(field.data() + run, field.size() - run);
    out.push_back('"');
}

void WriteStream(std::ostream& stream, const std::string& bytes) {
    stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    stream.flush();
    if (!stream)
        Raise(msg::StreamWriteError);
}

} // namespace

std::string RtfEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    AppendRtfEscaped(out, text);
    return out;
}

std::string CsvField(std::string_view field) {
    std::string out;
    AppendCsvField(out, field);
    return out;
}

std::string RichTextBytes(const TVocabFile& doc, int foreignCharset, int nativeCharset) {
    size_t size = 256;
    for (int32_t i = 0; i < doc.Count(); ++i) {
        const TVocabItem& item = doc.Items(i);
        size += item.Word.size() + item.Category.size() + item.Notes.size() +
                item.Translation.size() + 48;
    }
    std::string out;
    out.reserve(size + size / 8);
    out += "{\\rtf1\\ansi\\deff1{\\fonttbl{\\f0\\froman\\fcharset";
    out += std::to_string(foreignCharset);
    out += " Times New Roman";
    out += CharsetFontSuffix(foreignCharset);
    out += ";}{\\f1\\froman\\fcharset";
    out += std::to_string(nativeCharset);
    out += " Times New Roman";
    out += CharsetFontSuffix(nativeCharset);
    out += ";}}\\pard\\plain\\fi-283\\li283\\fs24";

    const std::string foreignRun =
        "\\f0\\lang" + std::to_string(unsigned{doc.ForeignLangID}) + "\\b ";
    const std::string nativeRun =
        "\\b0\\f1\\lang" + std::to_string(unsigned{doc.NativeLangID}) + "  ";
    std::string italic;
    for (int32_t i = 0; i < doc.Count(); ++i) {
        const TVocabItem& item = doc.Items(i);
        out += foreignRun;
        AppendRtfEscaped(out, item.Word);
        out += nativeRun;
        italic = item.Category;
        italic += ' ';
        italic += item.Notes;
        const std::string_view e = TrimBlanks(italic);
        if (!e.empty()) {
            out += "\\i ";
            AppendRtfEscaped(out, e);
            out += "\\i0  ";
        }
        AppendRtfEscaped(out, item.Translation);
        out += "\\par";
    }
    out += '}';
    return out;
}

std::string RichTextBytes(const TVocabFile& doc) {
    return RichTextBytes(doc, LanguageCharset(doc.ForeignLangID),
                         LanguageCharset(doc.NativeLangID));
}

std::string TextExportBytes(const TVocabFile& doc, bool csv, TTextCoding coding) {
    size_t size = 0;
    for (int32_t i = 0; i < doc.Count(); ++i) {
        const TVocabItem& item = doc.Items(i);
        size += item.Word.size() + item.Category.size() + item.Notes.size() +
                item.Translation.size() + 5;
    }
    std::string out;
    out.reserve(csv ? size + size / 8 : size);
    const char separator = csv ? ',' : '\t';
    const TCodePage& foreign = TCodePage::ForLanguage(doc.ForeignLangID);
    const TCodePage& native = TCodePage::ForLanguage(doc.NativeLangID);
    std::string converted;
    for (int32_t i = 0; i < doc.Count(); ++i) {
        const TVocabItem& item = doc.Items(i);
        for (int f = 0; f < FieldCount; ++f) {
            if (f > 0)
                out.push_back(separator);
            std::string_view field = item.Field(f);
            if (coding == tcUtf8 && !std::all_of(field.begin(), field.end(), [](char c) {
                    return static_cast<unsigned char>(c) < 0x80; // ASCII is the same in UTF-8
                })) {
                // Every separator and quoting byte is ASCII, so the rules
                // below give the same rows on the converted text.
                converted = (f == fiWord ? foreign : native).ToUtf8(field);
                field = converted;
            }
            if (csv)
                AppendCsvField(out, field);
            else
                out += field;
        }
        out += "\r\n";
    }
    return out;
}

void ExportRichText(const TVocabFile& doc, const std::string& path) {
    ReplaceFile(path, RichTextBytes(doc));
}

void ExportText(const TVocabFile& doc, const std::string& path, bool csv, TTextCoding coding) {
    ReplaceFile(path, TextExportBytes(doc, csv, coding));
}

void ExportRichText(const TVocabFile& doc, std::ostream& stream) {
    WriteStream(stream, RichTextBytes(doc));
}

void ExportText(const TVocabFile& doc, std::ostream& stream, bool csv, TTextCoding coding) {
    WriteStream(stream, TextExportBytes(doc, csv, coding));
}

} // namespace vocalore
