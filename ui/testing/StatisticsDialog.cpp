#include "StatisticsDialog.h"

#include "ui/common/DialogHelpers.h"
#include "ui/window/Help.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vocalore {

namespace {

constexpr int StatisticsHelpTopic = 3007;

// One page: caption labels on the left, right-aligned values on the right.
struct TRow {
    const char* Caption;
    const char* Name;
    int HelpContext;
    QString Value;
};

QWidget* Page(const char* name, std::initializer_list<TRow> rows, QWidget* extra = nullptr,
              int extraHelp = 0) {
    auto* page = new QWidget;
    page->setObjectName(QString::fromLatin1(name));
    auto* grid = new QGridLayout(page);
    grid->setColumnMinimumWidth(1, 60);
    grid->setColumnStretch(0, 1);
    grid->setHorizontalSpacing(24);
    int row = 0;
    for (const TRow& r : rows) {
        auto* caption = new QLabel(QString::fromLatin1(r.Caption), page);
        auto* value = new QLabel(r.Value, page);
        value->setObjectName(QString::fromLatin1(r.Name));
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        SetPopupHelp(caption, r.HelpContext);
        SetPopupHelp(value, r.HelpContext);
        grid->addWidget(caption, row, 0);
        grid->addWidget(value, row, 1);
        ++row;
    }
    if (extra) {
        SetPopupHelp(extra, extraHelp);
        grid->addWidget(extra, row++, 0, 1, 2);
    }
    grid->setRowStretch(row, 1);
    return page;
}

} // namespace

TStatisticsDialog::TStatisticsDialog(QWidget* owner, const TStatisticsFigures& figures)
    : QDialog(owner) {
    setObjectName(QStringLiteral("StatisticsDialog"));
    setWindowTitle(QStringLiteral("Statistics"));

    auto* content = new QWidget(this);
    auto* pcStatistics = new QTabWidget(content);
    pcStatistics->setObjectName(QStringLiteral("pcStatistics"));
    auto* pbProgress = new QProgressBar;
    pbProgress->setObjectName(QStringLiteral("pbProgress"));
    pbProgress->setRange(0, std::max(figures.Items, 0));
    pbProgress->setValue(std::clamp(figures.Learnt, 0, std::max(figures.Items, 0)));
    pbProgress->setTextVisible(false);
    pbProgress->setFocusPolicy(Qt::StrongFocus);
    // An empty document has nothing to fill; the bar stays empty instead of busy.
    if (figures.Items <= 0)
        pbProgress->setRange(0, 1);
    QWidget* tsProgress =
        Page("tsProgress",
             {{"Words learnt:", "stLearnt", 1800, QString::number(figures.Learnt)},
              {"Words in file:", "stItems", 1801, QString::number(figures.Items)},
              {"Progress:", "stProgress", 1802, QString::fromStdString(figures.Progress)}},
             pbProgress, 1802);
    QWidget* tsSuccessRate = Page(
        "tsSuccessRate",
        {{"Questions answered correctly:", "stSuccesses", 1803, QString::number(figures.Successes)},
         {"Questions attempted:", "stAttempts", 1804, QString::number(figures.Attempts)},
         {"Success rate:", "stSuccessRate", 1805, QString::fromStdString(figures.SuccessRate)}});
    pcStatistics->addTab(tsProgress, QStringLiteral("Progress"));
    pcStatistics->addTab(tsSuccessRate, QStringLiteral("Success Rate"));

    auto* chbReset = new QCheckBox(QStringLiteral("&Reset statistics"), content);
    chbReset->setObjectName(QStringLiteral("chbReset"));
    chbReset->setEnabled(figures.ResetEnabled);
    SetPopupHelp(chbReset, 1806);

    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pcStatistics);
    layout->addWidget(chbReset);
    content->setMinimumWidth(280);

    const TDialogButtons buttons = AddDialogButtons(this, StatisticsHelpTopic);
    LayOutAboveButtonRow(this, content, buttons);
    connect(buttons.OK, &QPushButton::clicked, this, [this, chbReset] {
        FReset = chbReset->isEnabled() && chbReset->isChecked();
        btnOKClick();
    });

    // Ctrl+Tab turns the pages; so do Ctrl+PageDown and Ctrl+PageUp.
    auto* nextPage = new QShortcut(this);
    nextPage->setKeys({QKeySequence(Qt::CTRL | Qt::Key_PageDown)});
    connect(nextPage, &QShortcut::activated, this, [pcStatistics] {
        pcStatistics->setCurrentIndex((pcStatistics->currentIndex() + 1) % pcStatistics->count());
    });
    auto* previousPage = new QShortcut(this);
    previousPage->setKeys({QKeySequence(Qt::CTRL | Qt::Key_PageUp)});
    connect(previousPage, &QShortcut::activated, this, [pcStatistics] {
        pcStatistics->setCurrentIndex((pcStatistics->currentIndex() + pcStatistics->count() - 1) %
                                      pcStatistics->count());
    });

    pcStatistics->setCurrentWidget(tsProgress);
    pbProgress->setFocus(Qt::OtherFocusReason);
    EnablePopupHelp(this);
    PlaceDialog(this, owner);
}

void TStatisticsDialog::btnOKClick() {
    // Only a requested reset counts as OK; everything else leaves the counters.
    if (FReset)
        accept();
    else
        reject();
}

bool TStatisticsDialog::Execute(QWidget* owner, const TStatisticsFigures& figures) {
    TStatisticsDialog dialog(owner, figures);
    return dialog.exec() == QDialog::Accepted && dialog.ResetRequested();
}

} // namespace vocalore
