#pragma once
// The Speech page of the Options dialog: speaking questions and answers by
// themselves, the speaking rate, and per language the voice, with a button
// that lets the user hear it. It edits the caller's copy of the settings as
// the controls change; the caller keeps the copy only on OK.

#include "ui/speech/Speaker.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSlider;

namespace vocalore {

class TSpeechPage : public QWidget {
public:
    // The document's two languages come first in the language list.
    TSpeechPage(TSpeaker& speaker, TSpeechSettings& settings, uint16_t foreignId, uint16_t nativeId,
                QWidget* parent = nullptr);
    ~TSpeechPage() override;

    // The language whose voice the page shows.
    uint16_t SelectedLanguage() const;
    // The sample the Test button reads: the language's name in itself.
    static QString SampleText(uint16_t languageId);

    void btnTestClick();

private:
    void FillVoices();
    void cbVoiceChange();

    TSpeaker& FSpeaker;
    TSpeechSettings& FSettings;

    QCheckBox* chbSpeakQuestion;
    QCheckBox* chbSpeakAnswer;
    QSlider* tbRate;
    QComboBox* cbLanguage;
    QComboBox* cbVoice;
    QPushButton* btnTest;
    QLabel* lblVoiceState;
};

} // namespace vocalore
