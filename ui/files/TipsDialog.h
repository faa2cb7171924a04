#pragma once
// Tip of the Day: one tip at a time from the tips file of the program's data.

#include <QByteArray>
#include <QDialog>
#include <QString>

#include <cstdint>
#include <vector>

class QCheckBox;
class QPushButton;
class QTextBrowser;

namespace vocalore {

struct TTipsDialogData {
    QString FileName;          // the tips file
    int32_t NextTip = 0;       // in/out: index of the next tip to show
    bool ShowAtStartup = true; // in/out: the "Show tips at startup" box
};

// One line of the tips file: help context, TAB, rich text.
struct TTip {
    int Context = 0; // 0: no "Details..." topic
    QByteArray Text;
};

// "Tips.dat" in the data folder (DataFolder.h).
QString TipsFilePath();
// Lines end with CR LF, a lone CR or a lone LF; a zero byte ends the text.
std::vector<QByteArray> SplitTipLines(const QByteArray& bytes);
// A line without a TAB, or whose context is not a decimal number, has context 0.
TTip ParseTip(const QByteArray& line);
// The rich-text document a tip is shown in.
QByteArray TipDocument(const QByteArray& text);

inline constexpr const char* TipsUnavailable = "[Tips unavailable]";
inline constexpr const char* TipsReminder =
    "Tip of the Day can be turned on again via the Help menu.";

class TTipsDialog : public QDialog {
public:
    // Reads the tips file and shows the next tip; the data is updated while
    // the dialog is open (next tip) and when it closes (show at start-up).
    TTipsDialog(QWidget* owner, TTipsDialogData& data);

    void btnNextClick();
    void done(int result) override;

private:
    void ShowText(const QByteArray& text);
    void ShowUnavailable();
    void btnDetailsClick();

    TTipsDialogData& FData;
    std::vector<QByteArray> FLines;
    TTip FCurrent;
    QTextBrowser* reTip;
    QCheckBox* chbShowAtStartup;
    QPushButton* btnDetails;
    QPushButton* btnNext;
};

// The Tip of the Day procedure: shows the dialog modally; when it ran at
// start-up and the user turned the tips off, reminds where to turn them on.
void ShowTipOfTheDay(QWidget* owner, TTipsDialogData& data, bool atStartup);

} // namespace vocalore
