// vocalore-cli: reads and writes Vocalore documents without a window.

#include "CliSupport.h"
#include "Commands.h"

#include "core/VocabError.h"

#include <QCoreApplication>

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
    {"quiz", CmdQuiz, "quiz FILE.vlo [--active] [--choices N] [--save]\n"
                      "                                   a test in the terminal"},
};

int Usage() {
    QString text = "Usage: vocalore-cli COMMAND ...\n";
    for (const TCommand& c : Commands)
        text += QString("  vocalore-cli ") + c.usage + "\n";
    PrintErr(text);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return Usage();
    const QString name = args.takeFirst();
    for (const TCommand& c : Commands) {
        if (name != c.name)
            continue;
        try {
            return c.run(args);
        } catch (const vocalore::EVocabFileError& e) {
            PrintErr(QString::fromLocal8Bit(e.what()) + "\n");
        } catch (const ECliError& e) {
            PrintErr(QString::fromUtf8(e.what()) + "\n");
        }
        return 1;
    }
    return Usage();
}
