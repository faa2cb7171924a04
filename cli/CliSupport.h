#pragma once
// Helpers shared by the vocalore-cli commands.

#include "core/VocabFile.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace vocalore::cli {

// A usage or input error of the tool itself (bad arguments, bad JSON).
class ECliError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Parses "0x0407" or "1031"; throws ECliError naming `what` otherwise.
uint32_t ParseNumber(const QString& text, const char* what);

// Splits arguments into options ("--raw", "--format x") and positional ones.
struct TArgs {
    QStringList positional;
    bool Flag(const QString& name) const { return flags.contains(name); }
    std::optional<QString> Value(const QString& name) const;

    QStringList flags;
    QList<QPair<QString, QString>> values;
};
// `valued` lists the options that take a value, `switches` those that don't;
// any other option is refused, so a mistyped one never passes unnoticed.
TArgs ParseArgs(const QStringList& args, const QStringList& valued = {},
                const QStringList& switches = {});

// Item texts are bytes in a language's code page. With `raw` every byte is the
// code point of the same value, so any bytes round-trip.
QString DecodeText(const std::string& bytes, uint16_t language, bool raw);
// Throws ECliError naming `where` when a character can't be represented.
std::string EncodeText(const QString& text, uint16_t language, bool raw, const QString& where);

std::string ToLocal(const QString& path);
void PrintOut(const QString& text);
void PrintErr(const QString& text);

} // namespace vocalore::cli
