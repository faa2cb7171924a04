#include "TipsDialog.h"

#include "DialogHelpers.h"
#include "Help.h"
#include "ToolImages.h"

#include "app/DataFolder.h"
#include "core/CodePage.h"

#include <QCheckBox>
#include <QFile>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

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

QString TipsFilePath() { return DataPath(QStringLiteral("Tips.dat")); }

std::vector<QByteArray> SplitTipLines(const QByteArray& bytes) {
    const qsizetype zero = bytes.indexOf('\0');
    const QByteArray text = zero < 0 ? bytes : bytes.left(zero);
    std::vector<QByteArray> lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.push_back(text.mid(start, i - start));
        if (text[i] == '\r' && i + 1 < n && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.push_back(text.mid(start));
    return lines;
}

TTip ParseTip(const QByteArray& line) {
    TTip tip;
    const qsizetype tab = line.indexOf('\t');
    if (tab < 0) {
        tip.Text = line;
        return tip;
    }
    bool ok = false;
    const int context = line.left(tab).trimmed().toInt(&ok, 10);
    tip.Context = ok ? context : 0;
    tip.Text = line.mid(tab + 1);
    return tip;
}

QByteArray TipDocument(const QByteArray& text) {
    return QByteArrayLiteral(
               "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Verdana;}}"
               "{\\colortbl\\red0\\green0\\blue0;}\\deflang2057\\pard\\plain\\f0\\fs16 ") +
           text + QByteArrayLiteral("\\par }");
}

QString RtfToHtml(const QByteArray& rtf) { return TRtfConverter().Convert(rtf); }

TTipsDialog::TTipsDialog(QWidget* owner, TTipsDialogData& data) : QDialog(owner), FData(data) {
    setObjectName(QStringLiteral("TipsDialog"));
    setWindowTitle(QStringLiteral("Tip of the Day"));

    auto* pnlTip = new QFrame(this);
    pnlTip->setObjectName(QStringLiteral("pnlTip"));
    pnlTip->setFrameShape(QFrame::StyledPanel);
    pnlTip->setFrameShadow(QFrame::Sunken);
    pnlTip->setAutoFillBackground(true);
    QPalette tipPalette = pnlTip->palette();
    tipPalette.setColor(QPalette::Window, tipPalette.color(QPalette::Base));
    pnlTip->setPalette(tipPalette);

    auto* shpMargin = new QFrame(pnlTip);
    shpMargin->setObjectName(QStringLiteral("shpMargin"));
    shpMargin->setFixedWidth(56);
    shpMargin->setAutoFillBackground(true);
    QPalette marginPalette = shpMargin->palette();
    marginPalette.setColor(QPalette::Window,
                           QColor(0x80, 0x80, 0x80)); // the application workspace grey
    shpMargin->setPalette(marginPalette);
    auto* imgTip = new QLabel(shpMargin);
    imgTip->setObjectName(QStringLiteral("imgTip"));
    imgTip->setPixmap(TipPicture());
    imgTip->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    auto* marginLayout = new QVBoxLayout(shpMargin);
    marginLayout->setContentsMargins(0, 12, 0, 0);
    marginLayout->addWidget(imgTip);
    marginLayout->addStretch();

    auto* lblDidYouKnow = new QLabel(QStringLiteral("Did you know..."), pnlTip);
    lblDidYouKnow->setObjectName(QStringLiteral("lblDidYouKnow"));
    QFont headingFont = lblDidYouKnow->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.4);
    lblDidYouKnow->setFont(headingFont);

    reTip = new QTextBrowser(pnlTip);
    reTip->setObjectName(QStringLiteral("reTip"));
    reTip->setFrameShape(QFrame::NoFrame);
    reTip->setOpenLinks(false);
    reTip->setFocusPolicy(Qt::NoFocus);
    reTip->viewport()->setAutoFillBackground(false);
    QFont tipFont(QStringLiteral("Verdana"));
    tipFont.setPointSize(8);
    reTip->document()->setDefaultFont(tipFont);

    auto* textLayout = new QVBoxLayout;
    textLayout->setContentsMargins(12, 12, 12, 8);
    textLayout->addWidget(lblDidYouKnow);
    auto* rule = new QFrame(pnlTip);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    textLayout->addWidget(rule);
    textLayout->addWidget(reTip, 1);
    auto* panelLayout = new QHBoxLayout(pnlTip);
    panelLayout->setContentsMargins(1, 1, 1, 1);
    panelLayout->setSpacing(0);
    panelLayout->addWidget(shpMargin);
    panelLayout->addLayout(textLayout, 1);
    pnlTip->setFixedSize(400, 170);

    chbShowAtStartup = new QCheckBox(QStringLiteral("&Show tips at startup"), this);
    chbShowAtStartup->setObjectName(QStringLiteral("chbShowAtStartup"));
    chbShowAtStartup->setChecked(data.ShowAtStartup);
    btnDetails = new QPushButton(QStringLiteral("&Details..."), this);
    btnDetails->setObjectName(QStringLiteral("btnDetails"));
    btnNext = new QPushButton(QStringLiteral("&Next Tip"), this);
    btnNext->setObjectName(QStringLiteral("btnNext"));
    auto* btnClose = new QPushButton(QStringLiteral("Close"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setDefault(true);
    chbShowAtStartup->setWhatsThis(QStringLiteral("Shows a tip each time the program starts."));
    btnDetails->setWhatsThis(QStringLiteral("Opens the help topic that explains this tip."));
    btnNext->setWhatsThis(QStringLiteral("Shows the next tip."));
    btnClose->setWhatsThis(QStringLiteral("Closes this dialog box."));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(chbShowAtStartup);
    buttons->addStretch();
    buttons->addWidget(btnDetails);
    buttons->addWidget(btnNext);
    buttons->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pnlTip);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(btnDetails, &QPushButton::clicked, this, &TTipsDialog::btnDetailsClick);
    connect(btnNext, &QPushButton::clicked, this, &TTipsDialog::btnNextClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);

    QFile file(data.FileName);
    if (file.open(QIODevice::ReadOnly)) {
        FLines = SplitTipLines(file.readAll());
        btnNextClick();
    } else {
        ShowUnavailable(); // the next tip stays as it was
    }
    btnClose->setFocus(Qt::OtherFocusReason);
    EnablePopupHelp(this);
    PlaceDialog(this, owner);
}

void TTipsDialog::btnNextClick() {
    if (FData.NextTip < 0 || FData.NextTip >= static_cast<int32_t>(FLines.size()))
        FData.NextTip = 0;
    if (FLines.empty()) {
        ShowUnavailable();
        return;
    }
    FCurrent = ParseTip(FLines[static_cast<size_t>(FData.NextTip)]);
    ShowText(FCurrent.Text);
    btnDetails->setEnabled(FCurrent.Context != 0);
    ++FData.NextTip;
}

// A missing or empty tips file is no error: the dialog says so in place of a tip.
void TTipsDialog::ShowUnavailable() {
    FCurrent = {};
    ShowText(QByteArray(TipsUnavailable));
    btnDetails->setEnabled(false);
    btnNext->setEnabled(false);
}

void TTipsDialog::ShowText(const QByteArray& text) { reTip->setHtml(RtfToHtml(TipDocument(text))); }

void TTipsDialog::btnDetailsClick() { ShowHelpTopic(FCurrent.Context); }

void TTipsDialog::done(int result) {
    FData.ShowAtStartup = chbShowAtStartup->isChecked();
    QDialog::done(result);
}

void ShowTipOfTheDay(QWidget* owner, TTipsDialogData& data, bool atStartup) {
    {
        TTipsDialog dialog(owner, data);
        dialog.exec();
    }
    if (atStartup && !data.ShowAtStartup)
        ShowMessageBox(QString::fromLatin1(TipsReminder), {}, TMsgIcon::Information, mbOK, mbNone,
                       owner);
}

} // namespace vocalore
