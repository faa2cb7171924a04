// dump, info and build: a document as JSON, as a summary, and from JSON.

#include "CliCommands.h"
#include "CliSupport.h"

#include "core/Languages.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <sstream>

namespace vocalore::cli {

namespace {

constexpr const char* FieldKeys[] = {"word", "category", "notes", "translation"};

// "German (Germany) (0x0407)", or only the identifier for an unknown language.
QString LangText(uint16_t id) {
    const QString hex = QString("0x%1").arg(id, 4, 16, QChar('0'));
    const std::string name = LanguageName(id);
    return name.empty() ? hex : QString::fromStdString(name) + " (" + hex + ")";
}

// Word is in the foreign language, the other texts in the native one.
uint16_t FieldLanguage(const TVocabFile& doc, int field) {
    return field == fiWord ? doc.ForeignLangID : doc.NativeLangID;
}

} // namespace

int CmdDump(const QStringList& args) {
    const TArgs a = ParseArgs(args, {}, {"--raw"});
    if (a.positional.size() != 1)
        throw ECliError("Usage: vocalore-cli dump [--raw] FILE.vlo");
    const bool raw = a.Flag("--raw");
    TVocabFile doc;
    doc.LoadFromFile(ToLocal(a.positional[0]));

    QJsonObject root;
    root["foreignLangID"] = doc.ForeignLangID;
    root["nativeLangID"] = doc.NativeLangID;
    root["attemptCount"] = doc.AttemptCount();
    root["successCount"] = doc.SuccessCount();
    QJsonArray properties;
    for (int p = 0; p < PropertyCount; ++p)
        properties.append(DecodeText(doc.GetProperty(p), doc.NativeLangID, raw));
    root["properties"] = properties;
    QJsonArray items;
    for (int32_t i = 0; i < doc.Count(); ++i) {
        const TVocabItem& item = doc.Items(i);
        QJsonObject o;
        for (int f = 0; f < FieldCount; ++f)
            o[FieldKeys[f]] = DecodeText(item.Field(f), FieldLanguage(doc, f), raw);
        o["lastTested"] = item.LastTested;
        o["sortPosition"] = item.SortPosition;
        o["penaltyPoints"] = item.PenaltyPoints;
        items.append(o);
    }
    root["items"] = items;
    PrintOut(QString::fromUtf8(QJsonDocument(root).toJson(QJsonDocument::Indented)));
    return 0;
}

int CmdInfo(const QStringList& args) {
    const TArgs a = ParseArgs(args);
    if (a.positional.size() != 1)
        throw ECliError("Usage: vocalore-cli info FILE.vlo");
    TVocabFile doc;
    doc.LoadFromFile(ToLocal(a.positional[0]));
    auto prop = [&](int p) { return DecodeText(doc.GetProperty(p), doc.NativeLangID, false); };
    QString out;
    out += "File:        " + a.positional[0] + "\n";
    out += "Foreign:     " + LangText(doc.ForeignLangID) + "\n";
    out += "Native:      " + LangText(doc.NativeLangID) + "\n";
    out += QString("Items:       %1, %2 learnt\n").arg(doc.Count()).arg(doc.LearntCount());
    out += QString("Answers:     %1 recorded, %2 right\n")
               .arg(doc.AttemptCount())
               .arg(doc.SuccessCount());
    out += "Description: " + prop(piDescription) + "\n";
    out += "Author:      " + prop(piAuthor) + "\n";
    PrintOut(out);
    return 0;
}

namespace {

int32_t IntField(const QJsonObject& o, const char* key, const QString& where) {
    const QJsonValue v = o.value(key);
    if (v.isUndefined() || v.isNull())
        return 0;
    if (!v.isDouble() || v.toDouble() != static_cast<double>(v.toInteger()) ||
        v.toInteger() < INT32_MIN || v.toInteger() > INT32_MAX)
        throw ECliError(
            QString("%1: \"%2\" must be a 32-bit integer").arg(where, key).toStdString());
    return static_cast<int32_t>(v.toInteger());
}

uint16_t LangField(const QJsonObject& o, const char* key) {
    const QJsonValue v = o.value(key);
    const uint32_t id = v.isString() ? ParseNumber(v.toString(), key)
                                     : static_cast<uint32_t>(IntField(o, key, "document"));
    if (id > 0xFFFF)
        throw ECliError(std::string(key) + " must be a 16-bit language identifier");
    return static_cast<uint16_t>(id);
}

QString TextField(const QJsonObject& o, const char* key, const QString& where) {
    const QJsonValue v = o.value(key);
    if (v.isUndefined() || v.isNull())
        return {};
    if (!v.isString())
        throw ECliError(QString("%1: \"%2\" must be a string").arg(where, key).toStdString());
    return v.toString();
}

// The counters have no setter (only answers and loading change them), so the
// tool writes them straight into the header of the saved image.
void PatchCounters(std::string& image, int32_t attempts, int32_t successes) {
    for (int b = 0; b < 4; ++b) {
        image[14 + static_cast<size_t>(b)] =
            static_cast<char>((static_cast<uint32_t>(attempts) >> (8 * b)) & 0xFF);
        image[18 + static_cast<size_t>(b)] =
            static_cast<char>((static_cast<uint32_t>(successes) >> (8 * b)) & 0xFF);
    }
}

} // namespace

int CmdBuild(const QStringList& args) {
    const TArgs a = ParseArgs(args, {}, {"--raw"});
    if (a.positional.size() != 2)
        throw ECliError("Usage: vocalore-cli build [--raw] IN.json OUT.vlo");
    const bool raw = a.Flag("--raw");
    QFile in(a.positional[0]);
    if (!in.open(QIODevice::ReadOnly))
        throw ECliError("Cannot open file " + a.positional[0].toStdString() + ". " +
                        in.errorString().toStdString());
    QJsonParseError parseError{};
    const QJsonDocument json = QJsonDocument::fromJson(in.readAll(), &parseError);
    if (json.isNull())
        throw ECliError(QString("%1: invalid JSON at offset %2: %3")
                            .arg(a.positional[0])
                            .arg(parseError.offset)
                            .arg(parseError.errorString())
                            .toStdString());
    if (!json.isObject())
        throw ECliError("The JSON document must be an object");
    const QJsonObject root = json.object();

    TVocabFile doc;
    doc.ForeignLangID = LangField(root, "foreignLangID");
    doc.NativeLangID = LangField(root, "nativeLangID");
    const QJsonArray properties = root.value("properties").toArray();
    if (properties.size() > PropertyCount)
        throw ECliError("At most 8 properties");
    for (int p = 0; p < properties.size(); ++p)
        doc.SetProperty(p, EncodeText(properties[p].toString(), doc.NativeLangID, raw,
                                      QString("property %1").arg(p)));
    const QJsonArray items = root.value("items").toArray();
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (!items[i].isObject())
            throw ECliError(QString("Item %1 is not an object").arg(i + 1).toStdString());
        const QJsonObject o = items[i].toObject();
        const QString where = QString("item %1").arg(i + 1);
        TVocabItem& item = doc.PendingItem();
        for (int f = 0; f < FieldCount; ++f)
            item.Field(f) = EncodeText(TextField(o, FieldKeys[f], where), FieldLanguage(doc, f),
                                       raw, where + " (" + FieldKeys[f] + ")");
        item.LastTested = IntField(o, "lastTested", where);
        item.SortPosition = IntField(o, "sortPosition", where);
        item.PenaltyPoints = IntField(o, "penaltyPoints", where);
        doc.InsertPending(ipAtEnd);
    }

    std::ostringstream image;
    doc.SaveToStream(image);
    std::string bytes = image.str();
    PatchCounters(bytes, IntField(root, "attemptCount", "document"),
                  IntField(root, "successCount", "document"));
    std::istringstream reread(bytes);
    doc.LoadFromStream(reread);
    doc.SaveToFile(ToLocal(a.positional[1]));
    return 0;
}

} // namespace vocalore::cli
