// match, sort and languages: answer matching, the Sort command and the
// language table from the command line.

#include "CliCommands.h"
#include "CliSupport.h"

#include "core/CodePage.h"
#include "core/Languages.h"
#include "core/TextFunctions.h"

namespace vocalore::cli {

namespace {

std::string EncodeArgument(const QString& text, uint16_t language, const char* what) {
    return EncodeText(text, language, false, what);
}

} // namespace

int CmdMatch(const QStringList& args) {
    const TArgs a = ParseArgs(args, {"--lang", "--flags"});
    const auto lang = a.Value("--lang");
    const auto flags = a.Value("--flags");
    if (a.positional.size() != 2 || !lang || !flags)
        throw ECliError("Usage: vocalore-cli match --lang ID --flags FLAGS EXPECTED GIVEN");
    const uint32_t language = ParseNumber(*lang, "language identifier");
    if (language > 0xFFFF)
        throw ECliError("The language identifier must be a 16-bit value");
    const uint32_t bits = ParseNumber(*flags, "flags");
    if (bits > 0xFFFF)
        throw ECliError("The flags must be a 16-bit value");
    const auto id = static_cast<uint16_t>(language);
    const std::string expected = EncodeArgument(a.positional[0], id, "the expected text");
    const std::string given = EncodeArgument(a.positional[1], id, "the given text");
    PrintOut(MatchAnswer(expected, given, id, static_cast<uint16_t>(bits)) ? "right\n" : "wrong\n");
    return 0;
}

int CmdSort(const QStringList& args) {
    const TArgs a = ParseArgs(args);
    if (a.positional.size() != 2)
        throw ECliError("Usage: vocalore-cli sort IN.vlo OUT.vlo");
    TVocabFile doc;
    doc.LoadFromFile(ToLocal(a.positional[0]));
    doc.FillSortKeys();
    doc.Sort();
    doc.SaveToFile(ToLocal(a.positional[1]));
    return 0;
}

int CmdLanguages(const QStringList& args) {
    if (!args.isEmpty())
        throw ECliError("Usage: vocalore-cli languages");
    QString out = "ID      CP    CHARSET  ABBR  NAME\n";
    for (const TLanguageEntry& entry : LanguageList()) {
        out += QString("0x%1  %2  %3  %4  %5\n")
                   .arg(entry.Id, 4, 16, QChar('0'))
                   .arg(LanguageCodePage(entry.Id), 4)
                   .arg(LanguageCharset(entry.Id), -7)
                   .arg(QString::fromStdString(LanguageAbbreviation(entry.Id)), -4)
                   .arg(QString::fromStdString(entry.Name));
    }
    PrintOut(out);
    return 0;
}

} // namespace vocalore::cli
