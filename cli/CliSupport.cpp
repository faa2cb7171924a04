#include "CliSupport.h"

#include "core/CodePage.h"

#include <cstdio>

namespace vocalore::cli {

uint32_t ParseNumber(const QString& text, const char* what) {
    bool ok = false;
    const uint32_t value = text.trimmed().toUInt(&ok, 0); // base 0: "0x" hex or decimal
    if (!ok)
        throw ECliError(std::string("Invalid ") + what + ": " + text.toStdString());
    return value;
}

std::optional<QString> TArgs::Value(const QString& name) const {
    for (const auto& [key, value] : values)
        if (key == name)
            return value;
    return std::nullopt;
}

TArgs ParseArgs(const QStringList& args, const QStringList& valued, const QStringList& switches) {
    TArgs result;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (!a.startsWith("--") || a == "--") {
            result.positional << a;
        } else if (valued.contains(a)) {
            if (i + 1 >= args.size())
                throw ECliError("Option " + a.toStdString() + " needs a value");
            result.values.append({a, args[++i]});
        } else if (switches.contains(a)) {
            result.flags << a;
        } else {
            throw ECliError("Unknown option " + a.toStdString());
        }
    }
    return result;
}

QString DecodeText(const std::string& bytes, uint16_t language, bool raw) {
    if (raw)
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return QString::fromStdString(ToUtf8(bytes, language));
}

std::string EncodeText(const QString& text, uint16_t language, bool raw, const QString& where) {
    if (!raw) {
        const std::string utf8 = text.toStdString();
        const TCodePage& page = TCodePage::ForLanguage(language);
        if (auto bytes = page.FromUtf8(utf8))
            return *std::move(bytes);
        const size_t bad = page.FirstUnencodable(utf8);
        const QList<uint> codePoints = text.toUcs4();
        const uint ch = bad < static_cast<size_t>(codePoints.size())
                            ? codePoints[static_cast<qsizetype>(bad)]
                            : 0;
        throw ECliError("Character U+" +
                        QString::number(ch, 16).toUpper().rightJustified(4, '0').toStdString() +
                        " in " + where.toStdString() + " cannot be written in code page " +
                        std::to_string(page.Number()));
    }
    std::string bytes;
    bytes.reserve(static_cast<size_t>(text.size()));
    for (const QChar c : text) {
        if (c.unicode() > 0xFF)
            throw ECliError("Character U+" +
                            QString::number(c.unicode(), 16).toUpper().toStdString() + " in " +
                            where.toStdString() + " is not a byte value");
        bytes.push_back(static_cast<char>(c.unicode()));
    }
    return bytes;
}

std::string ToLocal(const QString& path) { return path.toLocal8Bit().toStdString(); }

void PrintOut(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    std::fwrite(utf8.data(), 1, static_cast<size_t>(utf8.size()), stdout);
}

void PrintErr(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    std::fwrite(utf8.data(), 1, static_cast<size_t>(utf8.size()), stderr);
}

} // namespace vocalore::cli
