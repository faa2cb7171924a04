#include "SpeechPage.h"

#include "ui/common/DialogHelpers.h"

#include "core/Languages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

namespace vocalore {

namespace {

template <typename T> T* Named(T* widget, const char* name, const char* help = nullptr) {
    widget->setObjectName(QString::fromLatin1(name));
    if (help)
        widget->setWhatsThis(QString::fromLatin1(help));
    return widget;
}

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

} // namespace

TSpeechPage::TSpeechPage(TSpeaker& speaker, TSpeechSettings& settings, uint16_t foreignId,
                         uint16_t nativeId, QWidget* parent)
    : QWidget(parent), FSpeaker(speaker), FSettings(settings) {
    setObjectName(QStringLiteral("tsSpeech"));
    setWindowTitle(QStringLiteral("Speech"));

    chbSpeakQuestion =
        Named(new QCheckBox(QStringLiteral("Speak each &question"), this), "chbSpeakQuestion",
              "Reads every question aloud as it is asked: the word or phrase in Passive mode, the "
              "translations in Active mode.");
    chbSpeakAnswer =
        Named(new QCheckBox(QStringLiteral("Speak the correct &answer after a response"), this),
              "chbSpeakAnswer", "Reads the correct answer aloud once a response is judged.");
    chbSpeakQuestion->setChecked(settings.SpeakQuestion);
    chbSpeakAnswer->setChecked(settings.SpeakAnswer);

    auto* gbRate = Named(new QGroupBox(QStringLiteral(" Speaking rate: "), this), "gbRate");
    tbRate = Named(new QSlider(Qt::Horizontal, gbRate), "tbRate",
                   "How fast the voice speaks; learners often follow a slower voice better.");
    tbRate->setRange(SpeechRateMin, SpeechRateMax);
    tbRate->setPageStep(2);
    tbRate->setTickPosition(QSlider::TicksBelow);
    tbRate->setTickInterval(5);
    tbRate->setValue(settings.Rate);
    auto* rate = new QHBoxLayout(gbRate);
    rate->addWidget(BuddyLabel("&Rate:", "lblRate", tbRate, gbRate));
    rate->addWidget(Named(new QLabel(QStringLiteral("Slower"), gbRate), "lblSlower"));
    rate->addWidget(tbRate, 1);
    rate->addWidget(Named(new QLabel(QStringLiteral("Faster"), gbRate), "lblFaster"));

    auto* gbVoices = Named(new QGroupBox(QStringLiteral(" Voices: "), this), "gbVoices");
    cbLanguage = Named(new QComboBox(gbVoices), "cbLanguage",
                       "The language whose voice you see and choose below.");
    cbLanguage->setMaxVisibleItems(16);
    for (uint16_t id : {foreignId, nativeId})
        if (cbLanguage->findData(id) < 0 && !LanguageName(id).empty())
            cbLanguage->addItem(Utf8(LanguageName(id)), id);
    for (const TLanguageEntry& entry : LanguageList())
        if (cbLanguage->findData(entry.Id) < 0)
            cbLanguage->addItem(Utf8(entry.Name), entry.Id);
    cbVoice = Named(new QComboBox(gbVoices), "cbVoice",
                    "The voice that reads texts in this language. The default is the first voice "
                    "the speech service offers for it.");
    cbVoice->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    btnTest = Named(new QPushButton(QStringLiteral("&Test"), gbVoices), "btnTest",
                    "Reads the language's name in the chosen voice at the chosen rate.");
    lblVoiceState = Named(new QLabel(gbVoices), "lblVoiceState");
    lblVoiceState->setWordWrap(true);
    auto* voices = new QGridLayout(gbVoices);
    voices->addWidget(BuddyLabel("&Language:", "lblLanguage", cbLanguage, gbVoices), 0, 0);
    voices->addWidget(cbLanguage, 0, 1, 1, 2);
    voices->addWidget(BuddyLabel("&Voice:", "lblVoice", cbVoice, gbVoices), 1, 0);
    voices->addWidget(cbVoice, 1, 1);
    voices->addWidget(btnTest, 1, 2);
    voices->addWidget(lblVoiceState, 2, 0, 1, 3);
    voices->setColumnStretch(1, 1);

    auto* column = new QVBoxLayout(this);
    column->addWidget(chbSpeakQuestion);
    column->addWidget(chbSpeakAnswer);
    column->addWidget(gbRate);
    column->addWidget(gbVoices);
    column->addStretch();

    connect(chbSpeakQuestion, &QCheckBox::toggled, this,
            [this](bool on) { FSettings.SpeakQuestion = on; });
    connect(chbSpeakAnswer, &QCheckBox::toggled, this,
            [this](bool on) { FSettings.SpeakAnswer = on; });
    connect(tbRate, &QSlider::valueChanged, this, [this](int value) { FSettings.Rate = value; });
    connect(cbLanguage, &QComboBox::currentIndexChanged, this, &TSpeechPage::FillVoices);
    connect(cbVoice, &QComboBox::currentIndexChanged, this, &TSpeechPage::cbVoiceChange);
    connect(btnTest, &QPushButton::clicked, this, &TSpeechPage::btnTestClick);
    // The service may answer while the dialog is open.
    FSpeaker.SetListener([this] { FillVoices(); });
    FillVoices();
}

TSpeechPage::~TSpeechPage() { FSpeaker.SetListener({}); }

uint16_t TSpeechPage::SelectedLanguage() const {
    return static_cast<uint16_t>(cbLanguage->currentData().toUInt());
}

QString TSpeechPage::SampleText(uint16_t languageId) {
    const std::optional<QLocale> locale = SpeechLocale(languageId);
    return locale ? locale->nativeLanguageName() : QString();
}

// The voices of the chosen language, the stored one selected; the state line
// says when there is none to choose.
void TSpeechPage::FillVoices() {
    const uint16_t language = SelectedLanguage();
    const QList<TVoice> offered = VoicesForLanguage(FSpeaker.Voices(), language);
    const QString stored = Utf8(FSettings.Voice(language));
    {
        const QSignalBlocker block(cbVoice);
        cbVoice->clear();
        cbVoice->addItem(QStringLiteral("(Default)"), QString());
        for (const TVoice& voice : offered)
            cbVoice->addItem(QStringLiteral("%1 (%2)").arg(voice.Name, voice.Locale.name()),
                             voice.Name);
        // A stored voice the service no longer has stays chosen, so OK keeps it.
        int index = stored.isEmpty() ? 0 : cbVoice->findData(stored);
        if (index < 0) {
            cbVoice->addItem(stored + QStringLiteral(" (not available)"), stored);
            index = cbVoice->count() - 1;
        }
        cbVoice->setCurrentIndex(index);
    }
    // "Speech unavailable: no voice for French" reads "No voice for French." here.
    QString why = FSpeaker.Unavailable(language);
    const qsizetype colon = why.indexOf(QStringLiteral(": "));
    if (colon >= 0) {
        why = why.mid(colon + 2) + u'.';
        why[0] = why[0].toUpper();
    }
    lblVoiceState->setText(why);
    cbVoice->setEnabled(!offered.isEmpty());
    btnTest->setEnabled(!offered.isEmpty());
}

void TSpeechPage::cbVoiceChange() {
    const uint16_t language = SelectedLanguage();
    const QString name = cbVoice->currentData().toString();
    if (name.isEmpty() && FSettings.Voice(language).empty())
        return;
    FSettings.Voices[language] = name.toStdString();
}

void TSpeechPage::btnTestClick() {
    const uint16_t language = SelectedLanguage();
    const std::optional<TVoice> voice =
        ChooseVoice(FSpeaker.Voices(), language, cbVoice->currentData().toString());
    if (voice)
        FSpeaker.SpeakWith(SampleText(language), *voice, tbRate->value());
}

} // namespace vocalore
