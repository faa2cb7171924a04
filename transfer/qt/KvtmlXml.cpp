#include "KvtmlXml.h"

#include "core/CodePage.h"
#include "core/FileIO.h"
#include "core/Languages.h"
#include "core/VocabFile.h"
#include "transfer/Blanks.h"
#include "transfer/Import.h"
#include "transfer/TextDecode.h"

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <ostream>

namespace vocalore {

namespace {

[[noreturn]] void Fail(const QXmlStreamReader& xml, const QString& what) {
    throw EVocabFileError("Invalid KVTML file: line " + std::to_string(xml.lineNumber()) + ": " +
                          what.toStdString());
}

// The text of the element and of every element inside it, read in one loop:
// the reader's own way recurses once per nested element, and a hostile file
// nests deep enough to overflow the stack.
std::string Text(QXmlStreamReader& xml) {
    QString text;
    for (int64_t depth = 1; depth > 0;) {
        switch (xml.readNext()) {
        case QXmlStreamReader::Characters:
        case QXmlStreamReader::EntityReference:
            text += xml.text();
            break;
        case QXmlStreamReader::StartElement:
            ++depth;
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        case QXmlStreamReader::Invalid:
            return text.toStdString(); // the caller reports the reader's error
        default:
            break;
        }
    }
    return text.toStdString();
}

int IdOf(const QXmlStreamReader& xml, int fallback) {
    bool ok = false;
    const int id = xml.attributes().value(QLatin1String("id")).toInt(&ok);
    return ok && id >= 0 ? id : fallback;
}

// KVTML 1 word types: short codes with an optional sub-type after a colon,
// or "#N" for the file's own type N.
std::string KvtmlOneType(const std::string& code, const std::map<int, std::string>& own) {
    if (code.starts_with('#')) {
        const auto it = own.find(std::atoi(code.c_str() + 1));
        return it != own.end() ? it->second : std::string();
    }
    static const std::map<std::string, std::string> names = {
        {"ar", "Article"},      {"aj", "Adjective"}, {"av", "Adverb"},  {"co", "Conjunction"},
        {"in", "Interjection"}, {"n", "Noun"},       {"nu", "Numeral"}, {"pr", "Pronoun"},
        {"pre", "Preposition"}, {"qu", "Question"},  {"v", "Verb"},
    };
    const auto it = names.find(code.substr(0, code.find(':')));
    return it != names.end() ? it->second : code;
}

class TReader {
public:
    explicit TReader(std::string_view image)
        : FXml(QByteArray(image.data(), static_cast<qsizetype>(image.size()))) {}

    TKvtmlData Read() {
        if (!FXml.readNextStartElement())
            Fail(FXml, FXml.hasError() ? FXml.errorString() : QStringLiteral("no root element"));
        if (FXml.name() != u"kvtml")
            Fail(FXml, QStringLiteral("the root element is not kvtml"));
        const QStringView version = FXml.attributes().value(QLatin1String("version"));
        FData.Version = version.startsWith(u'2') ? 2 : 1;
        if (FData.Version == 2)
            ReadVersion2();
        else
            ReadVersion1();
        if (FXml.hasError())
            Fail(FXml, FXml.errorString());
        // Whatever follows the root must still be well formed.
        while (!FXml.atEnd())
            FXml.readNext();
        if (FXml.hasError() && FXml.error() != QXmlStreamReader::PrematureEndOfDocumentError)
            Fail(FXml, FXml.errorString());
        ApplyWordTypes();
        return std::move(FData);
    }

private:
    void ReadVersion2() {
        while (FXml.readNextStartElement()) {
            if (FXml.name() == u"information")
                ReadInformation();
            else if (FXml.name() == u"identifiers")
                ReadIdentifiers();
            else if (FXml.name() == u"entries")
                ReadEntries();
            else if (FXml.name() == u"wordtypes")
                ReadWordTypes(std::string());
            else
                FXml.skipCurrentElement();
        }
    }

    void ReadInformation() {
        while (FXml.readNextStartElement()) {
            const int64_t line = FXml.lineNumber();
            if (FXml.name() == u"title") {
                FData.Title = Text(FXml);
                FData.TitleLine = line;
            } else if (FXml.name() == u"author") {
                FData.Author = Text(FXml);
                FData.AuthorLine = line;
            } else if (FXml.name() == u"comment") {
                FData.Comment = Text(FXml);
                FData.CommentLine = line;
            } else {
                FXml.skipCurrentElement();
            }
        }
    }

    void ReadIdentifiers() {
        while (FXml.readNextStartElement()) {
            if (FXml.name() != u"identifier") {
                FXml.skipCurrentElement();
                continue;
            }
            TKvtmlIdentifier identifier;
            identifier.Id = IdOf(FXml, static_cast<int>(FData.Identifiers.size()));
            while (FXml.readNextStartElement()) {
                if (FXml.name() == u"name")
                    identifier.Name = Text(FXml);
                else if (FXml.name() == u"locale")
                    identifier.Locale = Text(FXml);
                else
                    FXml.skipCurrentElement();
            }
            FData.Identifiers.push_back(std::move(identifier));
        }
    }

    void ReadEntries() {
        while (FXml.readNextStartElement()) {
            if (FXml.name() != u"entry") {
                FXml.skipCurrentElement();
                continue;
            }
            const int id = IdOf(FXml, -1);
            TKvtmlEntry entry;
            while (FXml.readNextStartElement()) {
                if (FXml.name() == u"translation")
                    ReadTranslation(entry);
                else
                    FXml.skipCurrentElement();
            }
            if (id >= 0)
                FEntryIndex.try_emplace(id, FData.Entries.size());
            FData.Entries.push_back(std::move(entry));
        }
    }

    void ReadTranslation(TKvtmlEntry& entry) {
        const int id = IdOf(FXml, static_cast<int>(entry.Translations.size()));
        TKvtmlTranslation translation;
        translation.Line = FXml.lineNumber();
        while (FXml.readNextStartElement()) {
            const int64_t line = FXml.lineNumber();
            if (FXml.name() == u"text") {
                translation.Text = Text(FXml);
                translation.TextLine = line;
            } else if (FXml.name() == u"comment") {
                translation.Comment = Text(FXml);
                translation.CommentLine = line;
            } else if (FXml.name() == u"wordtype") {
                translation.WordType = ReadOldWordType();
            } else {
                FXml.skipCurrentElement();
            }
        }
        entry.Translations.try_emplace(id, std::move(translation));
    }

    // Early 2.0 files name the type inside the translation, as text or as
    // typename and subtypename.
    std::string ReadOldWordType() {
        std::string type, subtype, text;
        while (!FXml.atEnd()) {
            const auto token = FXml.readNext();
            if (token == QXmlStreamReader::EndElement)
                break;
            if (token == QXmlStreamReader::Characters)
                text += FXml.text().toString().toStdString();
            else if (token == QXmlStreamReader::StartElement) {
                if (FXml.name() == u"typename")
                    type = Text(FXml);
                else if (FXml.name() == u"subtypename")
                    subtype = Text(FXml);
                else
                    FXml.skipCurrentElement();
            }
        }
        if (type.empty())
            return text;
        return subtype.empty() ? type : type + " (" + subtype + ")";
    }

    // Containers name a type and list the translations of that type;
    // nested containers are sub-types ("Noun (Male)"). They are read with a
    // stack of our own, so no nesting depth can exhaust the call stack.
    void ReadWordTypes(const std::string& parent) {
        struct TContainer {
            std::string Parent;
            std::string Name;
            std::vector<std::pair<int, int>> Members; // entry, translation
        };
        std::vector<TContainer> open;
        open.push_back({parent, {}, {}});
        while (!open.empty()) {
            TContainer& current = open.back();
            if (!FXml.readNextStartElement()) {
                AddWordType(current.Parent, current.Name, current.Members);
                open.pop_back();
                continue;
            }
            if (FXml.name() == u"container") {
                std::string inner = current.Parent.empty() ? current.Name : current.Parent;
                open.push_back({std::move(inner), {}, {}}); // `current` is stale now
            } else if (FXml.name() == u"name") {
                current.Name = Text(FXml);
            } else if (FXml.name() == u"entry") {
                const int entry = IdOf(FXml, -1);
                while (FXml.readNextStartElement()) {
                    if (FXml.name() == u"translation")
                        current.Members.emplace_back(entry, IdOf(FXml, -1));
                    FXml.skipCurrentElement();
                }
            } else {
                FXml.skipCurrentElement();
            }
        }
    }

    void AddWordType(const std::string& parent, const std::string& name,
                     const std::vector<std::pair<int, int>>& members) {
        if (name.empty() && parent.empty())
            return;
        const std::string type =
            parent.empty() ? name : (name.empty() ? parent : parent + " (" + name + ")");
        for (const auto& member : members)
            FTypes.emplace_back(member, type);
    }

    void ApplyWordTypes() {
        for (const auto& [member, type] : FTypes) {
            const auto entry = FEntryIndex.find(member.first);
            if (entry == FEntryIndex.end())
                continue;
            auto& translations = FData.Entries[entry->second].Translations;
            const auto translation = translations.find(member.second);
            if (translation != translations.end() && translation->second.WordType.empty())
                translation->second.WordType = type;
        }
    }

    void ReadVersion1() {
        std::map<int, std::string> ownTypes;
        std::vector<std::pair<size_t, std::pair<int, std::string>>> typeCodes;
        while (FXml.readNextStartElement()) {
            if (FXml.name() == u"e") {
                TKvtmlEntry entry;
                int column = 0;
                while (FXml.readNextStartElement()) {
                    const bool original = FXml.name() == u"o";
                    if (!original && FXml.name() != u"t") {
                        FXml.skipCurrentElement();
                        continue;
                    }
                    const int id = original ? 0 : std::max(column, 1);
                    column = id + 1;
                    const QXmlStreamAttributes attributes = FXml.attributes();
                    NoteLanguage(id, attributes.value(QLatin1String("l")).toString().toStdString());
                    TKvtmlTranslation translation;
                    translation.Line = translation.TextLine = translation.CommentLine =
                        FXml.lineNumber();
                    translation.Comment =
                        attributes.value(QLatin1String("r")).toString().toStdString();
                    const std::string type =
                        attributes.value(QLatin1String("t")).toString().toStdString();
                    if (!type.empty())
                        typeCodes.push_back({FData.Entries.size(), {id, type}});
                    translation.Text = Text(FXml);
                    entry.Translations.try_emplace(id, std::move(translation));
                }
                FData.Entries.push_back(std::move(entry));
            } else if (FXml.name() == u"type") {
                while (FXml.readNextStartElement()) {
                    const int no = FXml.attributes().value(QLatin1String("no")).toInt();
                    ownTypes[no] = Text(FXml);
                }
            } else {
                FXml.skipCurrentElement();
            }
        }
        for (const auto& [index, code] : typeCodes)
            FData.Entries[index].Translations[code.first].WordType =
                KvtmlOneType(code.second, ownTypes);
    }

    void NoteLanguage(int id, const std::string& language) {
        for (const TKvtmlIdentifier& identifier : FData.Identifiers)
            if (identifier.Id == id)
                return;
        if (!language.empty())
            FData.Identifiers.push_back({id, std::string(), language});
    }

    QXmlStreamReader FXml;
    TKvtmlData FData;
    std::map<int, size_t> FEntryIndex;
    std::vector<std::pair<std::pair<int, int>, std::string>> FTypes;
};

// The text of item bytes, refused when XML 1.0 can't carry one of its
// characters; `where` names the item and field, or the property.
QString XmlText(const TCodePage& page, const std::string& bytes, const std::string& where) {
    QString text = QString::fromStdU16String(page.ToUtf16(bytes));
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0xFFFE || c == 0xFFFF) {
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X", unsigned{c});
            throw EVocabFileError(where + ": the character " + code +
                                  " cannot be written to a KVTML file.");
        }
    }
    return text;
}

QString XmlText(const TCodePage& page, const std::string& bytes, int32_t item, int field) {
    return XmlText(page, bytes, "Item " + std::to_string(item + 1) + ", " + ImportFieldName(field));
}

QString EnglishLanguageName(uint16_t languageId) {
    const QString locale = QString::fromStdString(LanguageLocale(languageId));
    return QLocale::languageToString(QLocale(locale).language());
}

} // namespace

namespace {

// QXmlStreamReader decodes its whole buffer at once and then blames line 1
// for a bad byte; real files carry Latin-1 under a UTF-8 declaration, so we
// find the place ourselves when the file is (or defaults to) UTF-8.
void CheckUtf8(std::string_view image) {
    if (image.starts_with("\xFE\xFF") || image.starts_with("\xFF\xFE"))
        return; // UTF-16
    if (image.starts_with("<?xml")) {
        const std::string_view declaration = image.substr(0, image.find("?>"));
        const size_t at = declaration.find("encoding");
        if (at != std::string_view::npos) {
            std::string name;
            for (const char c : declaration.substr(at + 8))
                if (std::isalnum(static_cast<unsigned char>(c)))
                    name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
                else if (!name.empty() && c != '-' && c != '_')
                    break;
            if (name != "utf8")
                return;
        }
    }
    const size_t bad = FirstInvalidUtf8(image);
    if (bad == std::string_view::npos)
        return;
    const auto line =
        1 + std::count(image.begin(), image.begin() + static_cast<ptrdiff_t>(bad), '\n');
    char byte[8];
    std::snprintf(byte, sizeof byte, "0x%02X", unsigned{static_cast<unsigned char>(image[bad])});
    throw EVocabFileError("Invalid KVTML file: line " + std::to_string(line) + ": the byte " +
                          byte + " is not part of a UTF-8 character.");
}

} // namespace

TKvtmlData ReadKvtml(std::string_view image) {
    CheckUtf8(image);
    return TReader(image).Read();
}

TKvtmlData ReadKvtmlFile(const std::string& path) { return ReadKvtml(ReadWholeFile(path)); }

TKvtmlImportResult ImportKvtml(TVocabFile& doc, const std::string& path) {
    return ImportKvtmlData(doc, ReadKvtmlFile(path));
}

std::string KvtmlBytes(const TVocabFile& doc) {
    const TCodePage& foreign = TCodePage::ForLanguage(doc.ForeignLangID);
    const TCodePage& native = TCodePage::ForLanguage(doc.NativeLangID);
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(2);
    xml.writeStartDocument();
    xml.writeDTD(QStringLiteral(
        "<!DOCTYPE kvtml PUBLIC \"kvtml2.dtd\" \"http://edu.kde.org/kvtml/kvtml2.dtd\">"));
    xml.writeStartElement(QStringLiteral("kvtml"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("2.0"));

    xml.writeStartElement(QStringLiteral("information"));
    xml.writeTextElement(QStringLiteral("generator"), QStringLiteral("Vocalore 2.0"));
    const struct {
        int Index;
        const char* Element;
        const char* Caption;
    } properties[] = {{piDescription, "title", "Description"},
                      {piAuthor, "author", "Author"},
                      {piComments, "comment", "Comments"}};
    for (const auto& p : properties)
        if (!doc.GetProperty(p.Index).empty())
            xml.writeTextElement(QString::fromLatin1(p.Element),
                                 XmlText(native, doc.GetProperty(p.Index), p.Caption));
    xml.writeEndElement();

    xml.writeStartElement(QStringLiteral("identifiers"));
    const uint16_t languages[2] = {doc.ForeignLangID, doc.NativeLangID};
    for (int id = 0; id < 2; ++id) {
        xml.writeStartElement(QStringLiteral("identifier"));
        xml.writeAttribute(QStringLiteral("id"), QString::number(id));
        xml.writeTextElement(QStringLiteral("name"), EnglishLanguageName(languages[id]));
        xml.writeTextElement(QStringLiteral("locale"),
                             QString::fromStdString(LanguageLocale(languages[id])));
        xml.writeEndElement();
    }
    xml.writeEndElement();

    // Parts of speech become word types in the order they first appear.
    std::vector<std::string> types;
    std::map<std::string, std::vector<int32_t>> typed;
    xml.writeStartElement(QStringLiteral("entries"));
    for (int32_t i = 0; i < doc.Count(); ++i) {
        const TVocabItem& item = doc.Items(i);
        xml.writeStartElement(QStringLiteral("entry"));
        xml.writeAttribute(QStringLiteral("id"), QString::number(i));
        xml.writeStartElement(QStringLiteral("translation"));
        xml.writeAttribute(QStringLiteral("id"), QStringLiteral("0"));
        xml.writeTextElement(QStringLiteral("text"), XmlText(foreign, item.Word, i, fiWord));
        xml.writeEndElement();
        xml.writeStartElement(QStringLiteral("translation"));
        xml.writeAttribute(QStringLiteral("id"), QStringLiteral("1"));
        xml.writeTextElement(QStringLiteral("text"),
                             XmlText(native, item.Translation, i, fiTranslation));
        if (!item.Notes.empty())
            xml.writeTextElement(QStringLiteral("comment"),
                                 XmlText(native, item.Notes, i, fiNotes));
        xml.writeEndElement();
        xml.writeEndElement();
        // Blanks alone are no part of speech: a word type needs a name.
        if (!TrimBlanks(item.Category).empty()) {
            XmlText(native, item.Category, i, fiCategory);
            auto [it, added] = typed.try_emplace(item.Category);
            if (added)
                types.push_back(item.Category);
            it->second.push_back(i);
        }
    }
    xml.writeEndElement();

    if (!types.empty()) {
        xml.writeStartElement(QStringLiteral("wordtypes"));
        for (const std::string& type : types) {
            xml.writeStartElement(QStringLiteral("container"));
            xml.writeTextElement(QStringLiteral("name"),
                                 QString::fromStdU16String(native.ToUtf16(type)));
            for (const int32_t i : typed[type]) {
                xml.writeStartElement(QStringLiteral("entry"));
                xml.writeAttribute(QStringLiteral("id"), QString::number(i));
                xml.writeEmptyElement(QStringLiteral("translation"));
                xml.writeAttribute(QStringLiteral("id"), QStringLiteral("0"));
                xml.writeEndElement();
            }
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }

    xml.writeStartElement(QStringLiteral("lessons"));
    xml.writeStartElement(QStringLiteral("container"));
    xml.writeTextElement(QStringLiteral("name"), QStringLiteral("Lesson 1"));
    xml.writeTextElement(QStringLiteral("inpractice"), QStringLiteral("true"));
    for (int32_t i = 0; i < doc.Count(); ++i) {
        xml.writeEmptyElement(QStringLiteral("entry"));
        xml.writeAttribute(QStringLiteral("id"), QString::number(i));
    }
    xml.writeEndElement();
    xml.writeEndElement();

    xml.writeEndElement();
    xml.writeEndDocument();
    return out.toStdString();
}

void ExportKvtml(const TVocabFile& doc, const std::string& path) {
    ReplaceFile(path, KvtmlBytes(doc));
}

void ExportKvtml(const TVocabFile& doc, std::ostream& stream) {
    const std::string bytes = KvtmlBytes(doc);
    stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    stream.flush();
    if (!stream)
        Raise(msg::StreamWriteError);
}

} // namespace vocalore
