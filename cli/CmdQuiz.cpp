// quiz: the test engine in the terminal, one answer per line.

#include "CliCommands.h"
#include "CliSupport.h"

#include "core/DisplayRules.h"
#include "core/Random.h"
#include "settings/Settings.h"
#include "testing/Progress.h"
#include "testing/TestSession.h"

#include <cstdio>
#include <iostream>
#include <optional>
#include <string>

#include <unistd.h>

namespace vocalore::cli {

namespace {

constexpr uint16_t EnglishUS = 0x0409;

// One line of standard input without its line end; nothing at end of input.
// Input from a pipe is echoed, so that a transcript reads like a session.
std::optional<std::string> ReadLine() {
    std::fflush(stdout);
    std::string line;
    if (!std::getline(std::cin, line)) {
        if (!isatty(fileno(stdin)))
            PrintOut("\n");
        return std::nullopt;
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    if (!isatty(fileno(stdin)))
        PrintOut(QString::fromUtf8(line.c_str()) + "\n");
    return line;
}

bool AskYes(const QString& question) {
    PrintOut(question + " [y/N] ");
    const auto line = ReadLine();
    if (!line)
        return false;
    const QString answer = QString::fromUtf8(line->c_str()).trimmed().toLower();
    return answer == "y" || answer == "yes";
}

bool OnlyQuestionMarks(const std::string& line) {
    return !line.empty() && line.find_first_not_of('?') == std::string::npos;
}

// The window side of the engine: messages and the Statistics dialog become
// text; everything about panels has nothing to do here.
class TTerminalView : public TTestView {
public:
    void EnterTestView() override {}
    void LeaveTestView() override {}
    void LayoutPanel() override {}
    void ShowQuestion() override {}
    void ShowFeedback() override {}
    void Beep() override {}
    void ShowAllLearnt(const std::string& message) override {
        PrintOut("\n" + QString::fromLocal8Bit(message.c_str()) + "\n");
    }
    bool RunStatisticsDialog(const TVocabFile& document) override {
        const TStatisticsFigures f = StatisticsFigures(document);
        PrintOut(QString("\nWords learnt: %1\nWords in file: %2\nProgress: %3\n"
                         "Questions answered correctly: %4\nQuestions attempted: %5\n"
                         "Success rate: %6\n")
                     .arg(f.Learnt)
                     .arg(f.Items)
                     .arg(QString::fromStdString(f.Progress))
                     .arg(f.Successes)
                     .arg(f.Attempts)
                     .arg(QString::fromStdString(f.SuccessRate)));
        return f.ResetEnabled && AskYes("Reset statistics?");
    }
};

class TQuiz {
public:
    TQuiz(TVocabFile& document, const TOptions& options)
        : FDocument(document), FOptions(options), FSession(FView, options) {}

    TTestSession& Session() { return FSession; }

    // Asks until the test ends or the user stops.
    void Run() {
        FSession.Start(FDocument);
        while (FSession.Testing()) {
            if (FSession.Answered()) {
                FSession.Continue(FDocument);
                continue;
            }
            if (!AskQuestion())
                break;
            ShowFeedback();
        }
        FSession.Stop();
    }

private:
    QString Text(const std::string& bytes, uint16_t language) const {
        return DecodeText(bytes, language, false);
    }
    uint16_t Foreign() const { return FDocument.ForeignLangID; }
    uint16_t Native() const { return FDocument.NativeLangID; }

    void ShowQuestionText() {
        const TVocabItem& item = FDocument.CurrentItem();
        QString line = "\n[" + QString::fromStdString(ProgressText(FDocument)) + "] ";
        if (FSession.Mode() == tmActive) {
            line += Text(item.Translation, Native());
        } else {
            line += Text(item.Word, Foreign());
            if (FSession.MultipleChoice() && !item.Notes.empty())
                line += "  " + Text(item.Notes, Native());
        }
        if (!FSession.MultipleChoice()) {
            if (!item.Category.empty())
                line += "  (" + Text(item.Category, Native()) + ")";
            if (!FSession.NotesTested() && !item.Notes.empty())
                line += "  " + Text(item.Notes, Native());
        }
        PrintOut(line + "\n");
    }

    // One answer box: "?" lines ask for hints, any other line is the answer.
    std::optional<std::string> ReadBox(const QString& label, TAnswerBox box, uint16_t language) {
        std::string hint;
        for (;;) {
            PrintOut(label + " ");
            const auto line = ReadLine();
            if (!line || line->empty())
                return std::nullopt;
            if (!OnlyQuestionMarks(*line)) {
                try {
                    return EncodeText(QString::fromUtf8(line->c_str()), language, false, label);
                } catch (const ECliError&) {
                    return *line; // can't be written in the language, so can't match
                }
            }
            for (size_t i = 0; i < line->size(); ++i)
                hint = FSession.Hint(FDocument, box, hint);
            PrintOut("Hint: " + Text(hint, language) + "\n");
        }
    }

    bool AskQuestion() {
        ShowQuestionText();
        if (FSession.MultipleChoice())
            return AskChoice();
        const bool active = FSession.Mode() == tmActive;
        const QString answerLabel = active ? "Word/phrase:" : "Translation(s):";
        const uint16_t answerLanguage = active ? Foreign() : Native();
        std::optional<std::string> response;
        std::optional<std::string> notes = std::string();
        // The rows in the panel's order: notes above the answer when passive.
        if (FSession.NotesTested() && !active)
            notes = ReadBox("Notes:", abNotes, Native());
        if (notes)
            response = ReadBox(answerLabel, abResponse, answerLanguage);
        if (response && FSession.NotesTested() && active)
            notes = ReadBox("Notes:", abNotes, Native());
        if (!response || !notes)
            return false;
        FSession.SubmitTyped(FDocument, *response, *notes);
        return true;
    }

    bool AskChoice() {
        const bool active = FSession.Mode() == tmActive;
        const auto& choices = FSession.Choices();
        for (size_t i = 0; i < choices.size(); ++i) {
            const TVocabItem& c = *choices[i];
            QString entry = active ? Text(c.Word, Foreign()) : Text(c.Translation, Native());
            if (active && !c.Notes.empty())
                entry += "  " + Text(c.Notes, Native());
            PrintOut(QString("  %1. %2\n").arg(i + 1).arg(entry));
        }
        for (;;) {
            PrintOut("Choice: ");
            const auto line = ReadLine();
            if (!line || line->empty())
                return false;
            if (OnlyQuestionMarks(*line)) {
                PrintOut(QString(CommandUnavailableText) + "\n");
                continue;
            }
            bool ok = false;
            const int n = QString::fromUtf8(line->c_str()).trimmed().toInt(&ok);
            // Anything but a listed number is no selection, which is wrong.
            const bool listed = ok && n >= 1 && n <= static_cast<int>(choices.size());
            FSession.SubmitChoice(FDocument,
                                  listed ? choices[static_cast<size_t>(n - 1)] : nullptr);
            return true;
        }
    }

    void ShowFeedback() {
        if (!FSession.Answered())
            return;
        const TVocabItem& item = FDocument.CurrentItem();
        const bool active = FSession.Mode() == tmActive;
        QString text = FSession.Correct() ? "Right!" : "Wrong!";
        text += "  " + (active ? Text(item.Word, Foreign()) : Text(item.Translation, Native()));
        if (FSession.NotesTested())
            text += "  Notes: " + Text(item.Notes, Native());
        if (FSession.Correct() && FSession.HintUsed() && FOptions.DisallowHints)
            text += "  (hint used: counted as wrong)";
        PrintOut(text + "\n");
    }

    TVocabFile& FDocument;
    const TOptions& FOptions;
    TTerminalView FView;
    TTestSession FSession;
};

} // namespace

int CmdQuiz(const QStringList& args) {
    const TArgs a = ParseArgs(args, {"--choices"}, {"--active", "--save"});
    if (a.positional.size() != 1)
        throw ECliError("Usage: vocalore-cli quiz FILE.vlo [--active] [--choices N] [--save]");
    TFileSettingsStore store;
    TSettings settings;
    LoadSettings(store, settings, EnglishUS);
    TOptions options = settings.Options;
    options.AutoContinue = false; // the terminal always goes straight on, after saying so
    const auto choices = a.Value("--choices");
    if (choices) {
        const uint32_t n = ParseNumber(*choices, "number of choices");
        if (n < 3 || n > 10)
            throw ECliError("--choices takes a number from 3 to 10");
        options.NumChoices = static_cast<int32_t>(n);
    }

    TVocabFile doc;
    doc.LoadFromFile(ToLocal(a.positional[0]));
    Random::Randomize();
    TQuiz quiz(doc, options);
    quiz.Session().RestoreSettings(a.Flag("--active") ? tmActive : tmPassive, choices.has_value());
    quiz.Run();

    if (!doc.Modified())
        return 0;
    const QString title = QString::fromLocal8Bit(DocumentTitle(doc.FileName()).c_str());
    if (a.Flag("--save") || AskYes("\nSave changes to " + title + "?")) {
        doc.SaveToFile(doc.FileName());
        PrintOut("Saved " + title + ".\n");
    }
    return 0;
}

} // namespace vocalore::cli
