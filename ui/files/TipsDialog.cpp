#include "TipsDialog.h"

#include "ui/common/DialogHelpers.h"
#include "ui/files/RtfToHtml.h"
#include "ui/window/Help.h"
#include "ui/window/ToolImages.h"

#include "datafolder/DataFolder.h"

#include <QCheckBox>
#include <QFile>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace vocalore {

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
