// vocalore-cli: reads and writes Vocalore documents without a window.

#include "CliCommands.h"
#include "CliSupport.h"

#include "core/VocabError.h"
#include "datafolder/DataFolder.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <exception>
#include <memory>
#include <string_view>

namespace {

using namespace vocalore::cli;

struct TCommand {
    const char* name;
    int (*run)(const QStringList&);
    const char* usage;
};

const TCommand Commands[] = {
    {"dump", CmdDump, "dump [--raw] FILE.vlo            the whole document as JSON"},
    {"info", CmdInfo, "info FILE.vlo                    a short summary"},
    {"build", CmdBuild, "build [--raw] IN.json OUT.vlo    a document from JSON"},
    {"quiz", CmdQuiz,
     "quiz FILE.vlo [--active] [--choices N] [--save]\n"
     "                                   a test in the terminal"},
    {"export", CmdExport, "export IN.vlo OUT --format rtf|tsv|csv|tsv-utf8|csv-utf8|kvtml"},
    {"import", CmdImport,
     "import DOC.vlo IN [--format tsv|csv|vlo|kvtml|anki] [--columns 1,0,0,2]\n"
     "                                   [--first-line N] [--fields Front,0,0,Back]\n"
     "                                   [--deck NAME]"},
    {"print", CmdPrint,
     "print IN.vlo OUT.pdf [--columns N] [--font-size N] [--no-title]\n"
     "                                   [--no-separator] [--margins L,T,R,B (cm)]"},
    {"match", CmdMatch,
     "match --lang ID --flags FLAGS EXPECTED GIVEN\n"
     "                                   right or wrong, as a test judges an answer"},
    {"sort", CmdSort, "sort IN.vlo OUT.vlo               the items in alphabetical order"},
    {"languages", CmdLanguages, "languages                        the languages on offer"},
};

QString UsageText() {
    QString text = "Usage: vocalore-cli COMMAND ...\n";
    for (const TCommand& c : Commands)
        text += QString("  vocalore-cli ") + c.usage + "\n";
    return text;
}

// A mistaken call: the usage on the error stream.
int Usage() {
    PrintErr(UsageText());
    return 2;
}

// Asked for: the usage with the options and where the samples are.
int Help() {
    PrintOut(UsageText() +
             "\n"
             "  vocalore-cli --help, -h             this text\n"
             "  vocalore-cli --version              the version\n"
             "\n"
             "Sample documents: " +
             vocalore::DataPath("examples") + "\n");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    // Printing lays text out with real fonts, which needs the GUI application
    // (headless unless a platform is chosen).
    const bool gui = argc > 1 && std::string_view(argv[1]) == "print";
    if (gui && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app;
    if (gui)
        app = std::make_unique<QGuiApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return Usage();
    const QString name = args.takeFirst();
    if (name == "--help" || name == "-h")
        return Help();
    if (name == "--version") {
        PrintOut("vocalore-cli " VOCALORE_VERSION "\n");
        return 0;
    }
    for (const TCommand& c : Commands) {
        if (name != c.name)
            continue;
        try {
            return c.run(args);
        } catch (const vocalore::EVocabFileError& e) {
            PrintErr(QString::fromLocal8Bit(e.what()) + "\n");
        } catch (const ECliError& e) {
            PrintErr(QString::fromUtf8(e.what()) + "\n");
        } catch (const std::exception& e) { // out of memory and the like: fail, don't abort
            PrintErr(QString::fromLocal8Bit(e.what()) + "\n");
        }
        return 1;
    }
    return Usage();
}
