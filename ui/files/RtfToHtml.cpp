#include "RtfToHtml.h"

#include "core/CodePage.h"

#include <cctype>

namespace vocalore {

namespace {

struct TRtfState {
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    int HalfPoints = 24; // the default size of rich text: 12 points
    bool Skip = false;   // inside a destination that is not text (font table, ...)
};

// Destinations whose contents are never shown.
bool IsHiddenDestination(const QByteArray& word) {
    static const char* const hidden[] = {"fonttbl",   "colortbl",  "stylesheet",       "info",
                                         "pict",      "object",    "header",           "footer",
                                         "generator", "listtable", "listoverridetable"};
    for (const char* name : hidden)
        if (word == name)
            return true;
    return false;
}

class TRtfConverter {
public:
    QString Convert(const QByteArray& rtf) {
        qsizetype i = 0;
        const qsizetype n = rtf.size();
        while (i < n) {
            const char c = rtf[i];
            if (c == '{') {
                FStack.push_back(FState);
                ++i;
            } else if (c == '}') {
                if (!FStack.empty()) {
                    FState = FStack.back();
                    FStack.pop_back();
                }
                ++i;
            } else if (c == '\\') {
                i = ControlWord(rtf, i + 1);
            } else if (c == '\r' || c == '\n') {
                ++i; // line breaks of the source are not text
            } else {
                Put(Codec().Decode(static_cast<unsigned char>(c)));
                ++i;
            }
        }
        Flush();
        while (FHtml.endsWith(QStringLiteral("<br>")))
            FHtml.chop(4);
        return FHtml;
    }

private:
    static const TCodePage& Codec() {
        static const TCodePage* ansi = TCodePage::ForCodePage(1252);
        return *ansi;
    }

    qsizetype ControlWord(const QByteArray& rtf, qsizetype i) {
        const qsizetype n = rtf.size();
        if (i >= n)
            return i;
        const char c = rtf[i];
        if (c == '\\' || c == '{' || c == '}') {
            Put(QChar::fromLatin1(c));
            return i + 1;
        }
        if (c == '\'') {
            bool ok = false;
            const int byte = rtf.mid(i + 1, 2).toInt(&ok, 16);
            if (ok)
                Put(Codec().Decode(static_cast<unsigned char>(byte)));
            return i + 3;
        }
        if (c == '~') {
            Put(QChar(0x00A0));
            return i + 1;
        }
        if (c == '*') {
            FState.Skip = true;
            return i + 1;
        }
        if (!std::isalpha(static_cast<unsigned char>(c)))
            return i + 1; // other control symbols (\-, \_, \|, ...) show nothing
        qsizetype end = i;
        while (end < n && std::isalpha(static_cast<unsigned char>(rtf[end])))
            ++end;
        const QByteArray word = rtf.mid(i, end - i);
        qsizetype numberStart = end;
        if (end < n && rtf[end] == '-')
            ++end;
        while (end < n && std::isdigit(static_cast<unsigned char>(rtf[end])))
            ++end;
        const bool hasParam =
            end > numberStart && !(end == numberStart + 1 && rtf[numberStart] == '-');
        const int param = hasParam ? rtf.mid(numberStart, end - numberStart).toInt() : 1;
        if (end < n && rtf[end] == ' ')
            ++end; // the delimiter belongs to the control word
        end = Apply(word, hasParam, param, rtf, end);
        return end;
    }

    qsizetype Apply(const QByteArray& word, bool hasParam, int param, const QByteArray& rtf,
                    qsizetype next) {
        if (IsHiddenDestination(word))
            FState.Skip = true;
        else if (word == "b")
            FState.Bold = param != 0;
        else if (word == "i")
            FState.Italic = param != 0;
        else if (word == "ul")
            FState.Underline = param != 0;
        else if (word == "ulnone")
            FState.Underline = false;
        else if (word == "plain") {
            FState.Bold = FState.Italic = FState.Underline = false;
            FState.HalfPoints = 24;
        } else if (word == "fs" && hasParam && param > 0)
            FState.HalfPoints = param;
        else if (word == "par" || word == "line")
            Break();
        else if (word == "tab")
            Put(QChar(0x2003));
        else if (word == "emdash")
            Put(QChar(0x2014));
        else if (word == "endash")
            Put(QChar(0x2013));
        else if (word == "bullet")
            Put(QChar(0x2022));
        else if (word == "lquote")
            Put(QChar(0x2018));
        else if (word == "rquote")
            Put(QChar(0x2019));
        else if (word == "ldblquote")
            Put(QChar(0x201C));
        else if (word == "rdblquote")
            Put(QChar(0x201D));
        else if (word == "u" && hasParam) {
            Put(QChar(static_cast<char16_t>(param < 0 ? param + 65536 : param)));
            // one substitute character for readers without Unicode follows
            if (next < rtf.size() && rtf[next] == '\\' && next + 1 < rtf.size() &&
                rtf[next + 1] == '\'')
                return next + 4;
            if (next < rtf.size() && rtf[next] != '\\' && rtf[next] != '{' && rtf[next] != '}')
                return next + 1;
        }
        return next;
    }

    void Put(QChar ch) {
        if (FState.Skip)
            return;
        if (!FRunOpen || FRunState.Bold != FState.Bold || FRunState.Italic != FState.Italic ||
            FRunState.Underline != FState.Underline || FRunState.HalfPoints != FState.HalfPoints) {
            Flush();
            FRunState = FState;
            FRunOpen = true;
        }
        FRun += ch;
    }

    void Break() {
        if (FState.Skip)
            return;
        Flush();
        FHtml += QStringLiteral("<br>");
    }

    void Flush() {
        if (!FRunOpen)
            return;
        QString style = QStringLiteral("font-size:%1pt").arg(FRunState.HalfPoints / 2.0);
        if (FRunState.Bold)
            style += QStringLiteral(";font-weight:bold");
        if (FRunState.Italic)
            style += QStringLiteral(";font-style:italic");
        if (FRunState.Underline)
            style += QStringLiteral(";text-decoration:underline");
        FHtml += QStringLiteral("<span style=\"") + style + QStringLiteral("\">") +
                 FRun.toHtmlEscaped() + QStringLiteral("</span>");
        FRun.clear();
        FRunOpen = false;
    }

    TRtfState FState;
    std::vector<TRtfState> FStack;
    TRtfState FRunState;
    bool FRunOpen = false;
    QString FRun;
    QString FHtml;
};

} // namespace

QString RtfToHtml(const QByteArray& rtf) { return TRtfConverter().Convert(rtf); }

} // namespace vocalore
