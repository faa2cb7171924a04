// export, import and print: the transfer library from the command line.

#include "CliCommands.h"
#include "CliSupport.h"

#include "core/DisplayRules.h"
#include "transfer/AnkiPackage.h"
#include "transfer/Export.h"
#include "transfer/Import.h"
#include "transfer/Kvtml.h"
#include "transfer/PrintLayout.h"
#include "transfer/qt/KvtmlXml.h"
#include "transfer/qt/PainterCanvas.h"

#include <algorithm>
#include <cmath>

namespace vocalore::cli {

namespace {

// "1,0,0,2" and the like: exactly `count` numbers separated by commas.
QList<double> ParseList(const QString& text, qsizetype count, const char* what) {
    const QStringList parts = text.split(',');
    if (parts.size() != count)
        throw ECliError(std::string(what) + " needs " + std::to_string(count) +
                        " comma-separated numbers");
    QList<double> values;
    for (const QString& p : parts) {
        bool ok = false;
        const double v = p.trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(v))
            throw ECliError(std::string(what) + ": \"" + p.toStdString() + "\" is not a number");
        values << v;
    }
    return values;
}

int32_t IntInRange(const QString& text, int32_t low, int32_t high) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok || v < low || v > high)
        throw ECliError("Number must be between " + std::to_string(low) + " and " +
                        std::to_string(high) + ".");
    return v;
}

// "--fields W,P,N,T": per item field a note field's number or name, empty
// or 0 for none; names must be fields of the package.
TAnkiImportSettings AnkiSettings(const TArgs& a, const TAnkiPackage& package) {
    TAnkiImportSettings settings;
    if (const auto fields = a.Value("--fields")) {
        const QStringList parts = fields->split(',');
        if (parts.size() != 4)
            throw ECliError("--fields needs 4 comma-separated field names or numbers "
                            "(word/phrase, part of speech, notes, translations)");
        for (int f = 0; f < 4; ++f) {
            const QString part = parts[f].trimmed();
            TAnkiFieldRef ref;
            bool number = false;
            const int n = part.toInt(&number);
            if (number && n < 0)
                throw ECliError("--fields: field numbers start at 1, 0 for none");
            if (number)
                ref.Number = n;
            else
                ref.Name = part.toStdString();
            if (!ref.Name.empty() &&
                std::none_of(package.NoteTypes.begin(), package.NoteTypes.end(),
                             [&](const TAnkiNoteType& t) { return AnkiFieldIndex(&t, ref) >= 0; }))
                throw ECliError("--fields: the package has no field \"" + ref.Name + "\"");
            settings.Fields[static_cast<size_t>(f)] = ref;
        }
    }
    if (settings.Fields[fiWord].Empty())
        throw ECliError(
            "The field 'Word/phrase' must be included in the list of fields to import.");
    if (settings.Fields[fiTranslation].Empty())
        throw ECliError(
            "The field 'Translations' must be included in the list of fields to import.");
    if (const auto deck = a.Value("--deck")) {
        settings.Deck = deck->toStdString();
        if (std::none_of(package.Decks.begin(), package.Decks.end(),
                         [&](const TAnkiDeck& d) { return d.Name == settings.Deck; })) {
            std::string names;
            for (const TAnkiDeck& d : package.Decks)
                names += (names.empty() ? "" : ", ") + d.Name;
            throw ECliError("--deck: the package has no deck \"" + settings.Deck +
                            "\"; its decks are: " + names);
        }
    }
    return settings;
}

} // namespace

int CmdExport(const QStringList& args) {
    static constexpr const char* Usage =
        "Usage: vocalore-cli export IN.vlo OUT --format rtf|tsv|csv|tsv-utf8|csv-utf8|kvtml";
    const TArgs a = ParseArgs(args, {"--format"});
    const QString format = a.Value("--format").value_or("");
    static const QStringList formats = {"rtf", "tsv", "csv", "tsv-utf8", "csv-utf8", "kvtml"};
    if (a.positional.size() != 2 || !formats.contains(format))
        throw ECliError(Usage);
    TVocabFile doc;
    doc.LoadFromFile(ToLocal(a.positional[0]));
    const std::string out = ToLocal(a.positional[1]);
    if (format == "rtf")
        ExportRichText(doc, out);
    else if (format == "kvtml")
        ExportKvtml(doc, out);
    else
        ExportText(doc, out, format.startsWith("csv"),
                   format.endsWith("-utf8") ? tcUtf8 : tcCodePage);
    return 0;
}

int CmdImport(const QStringList& args) {
    static constexpr const char* Usage = "Usage: vocalore-cli import DOC.vlo IN [--format "
                                         "tsv|csv|vlo|kvtml|anki] [--columns W,P,N,T] "
                                         "[--first-line N] [--fields W,P,N,T] [--deck NAME]";
    const TArgs a =
        ParseArgs(args, {"--format", "--columns", "--first-line", "--fields", "--deck"});
    if (a.positional.size() != 2)
        throw ECliError(Usage);
    const std::string docPath = ToLocal(a.positional[0]);
    const std::string inPath = ToLocal(a.positional[1]);
    // Like the Import command: only the exact extension ".vlo" means a
    // document; flashcard packages are told by their name or content, KVTML
    // files by their content.
    QString defaultFormat = "tsv";
    if (a.positional[1].endsWith(".vlo", Qt::CaseSensitive))
        defaultFormat = "vlo";
    else if (a.positional[1].endsWith(".apkg", Qt::CaseInsensitive) ||
             a.positional[1].endsWith(".colpkg", Qt::CaseInsensitive) ||
             LooksLikeAnkiPackageFile(inPath))
        defaultFormat = "anki";
    else if (LooksLikeKvtmlFile(inPath))
        defaultFormat = "kvtml";
    const QString format = a.Value("--format").value_or(defaultFormat);
    static const QStringList formats = {"tsv", "csv", "vlo", "kvtml", "anki"};
    if (!formats.contains(format))
        throw ECliError(Usage);
    if (format != "anki" && (a.Value("--fields") || a.Value("--deck")))
        throw ECliError("--fields and --deck are for flashcard packages");

    TImportSettings settings;
    settings.Csv = format == "csv";
    settings.Columns = {1, 2, 3, 4};
    if (const auto columns = a.Value("--columns")) {
        const QList<double> c = ParseList(*columns, 4, "--columns");
        for (int f = 0; f < 4; ++f) {
            if (c[f] < 0 || c[f] > MaxImportColumns || c[f] != std::floor(c[f]))
                throw ECliError("--columns: column numbers run from 1 to 64, 0 for none");
            settings.Columns[static_cast<size_t>(f)] = static_cast<int32_t>(c[f]);
        }
    }
    if (settings.Columns[fiWord] == 0)
        throw ECliError(
            "The field 'Word/phrase' must be included in the list of fields to import.");
    if (const auto first = a.Value("--first-line"))
        settings.FirstLine = IntInRange(*first, MinImportFirstLine, MaxImportFirstLine);

    TVocabFile doc;
    doc.LoadFromFile(docPath);
    int32_t added = 0;
    std::string message;
    if (format == "anki") {
        const TAnkiPackage package = ReadAnkiPackageFile(inPath);
        const TAnkiImportResult result = ImportAnkiData(doc, package, AnkiSettings(a, package));
        if (result.Count == 0)
            throw ECliError(AnkiImportMessage(result));
        added = result.Count;
        message = AnkiImportMessage(result);
    } else if (format == "kvtml") {
        const TKvtmlImportResult result = ImportKvtml(doc, inPath);
        added = result.Count;
        message = KvtmlImportMessage(result);
    } else {
        added = format == "vlo" ? doc.MergeFile(inPath) : ImportText(doc, inPath, settings);
        message = std::to_string(added) + " items imported successfully.";
    }
    if (added == 0)
        throw ECliError(NothingToImport);
    doc.SetCurrentIndex(doc.Count() - 1);
    doc.SaveToFile(docPath);
    PrintOut(QString::fromStdString(message) + "\n");
    return 0;
}

int CmdPrint(const QStringList& args) {
    static constexpr const char* Usage =
        "Usage: vocalore-cli print IN.vlo OUT.pdf [--columns N] [--font-size N] [--no-title] "
        "[--no-separator] [--margins L,T,R,B (cm)]";
    const TArgs a = ParseArgs(args, {"--columns", "--font-size", "--margins"},
                              {"--no-title", "--no-separator"});
    if (a.positional.size() != 2)
        throw ECliError(Usage);
    TPageSetup setup;
    if (const auto size = a.Value("--font-size"))
        setup.FontSize = IntInRange(*size, 8, 24);
    if (const auto columns = a.Value("--columns"))
        setup.Columns = IntInRange(*columns, 1, 3);
    setup.PrintTitle = !a.Flag("--no-title");
    setup.Separator = !a.Flag("--no-separator");
    if (const auto margins = a.Value("--margins")) {
        const QList<double> cm = ParseList(*margins, 4, "--margins");
        int32_t* fields[] = {&setup.Margins.Left, &setup.Margins.Top, &setup.Margins.Right,
                             &setup.Margins.Bottom};
        for (int i = 0; i < 4; ++i) {
            if (cm[i] < 0 || cm[i] > 99)
                throw ECliError("Number must be between 0 and 99.");
            // Rounded to whole twips the way the Page Setup dialog stores them.
            *fields[i] = static_cast<int32_t>(std::lround(cm[i] * TwipsPerCm));
        }
    }
    TVocabFile doc;
    const std::string in = ToLocal(a.positional[0]);
    doc.LoadFromFile(in);
    try {
        PrintToPdf(doc, setup, ToLocal(a.positional[1]), "Vocalore - " + DocumentTitle(in));
    } catch (const EPrintError& e) {
        throw ECliError(e.what());
    }
    return 0;
}

} // namespace vocalore::cli
