#include "RecoveryPage.h"

#include "settings/Settings.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace vocalore {

TRecoveryPage::TRecoveryPage(int32_t& minutes, QWidget* parent)
    : QWidget(parent), FMinutes(minutes) {
    setObjectName(QStringLiteral("tsFiles"));
    setWindowTitle(QStringLiteral("Files"));

    auto* group = new QGroupBox(QStringLiteral("Recovery copies"), this);
    seRecoveryMinutes = new QSpinBox(group);
    seRecoveryMinutes->setObjectName(QStringLiteral("seRecoveryMinutes"));
    seRecoveryMinutes->setRange(0, MaxRecoveryMinutes);
    seRecoveryMinutes->setSuffix(QStringLiteral(" min"));
    // 0 is the spin box's lowest value; it reads as what it means.
    seRecoveryMinutes->setSpecialValueText(QStringLiteral("never"));
    seRecoveryMinutes->setValue(std::clamp<int32_t>(FMinutes, 0, MaxRecoveryMinutes));
    seRecoveryMinutes->setWhatsThis(QStringLiteral(
        "While a list has unsaved changes, a copy of it is kept this often in the recovery "
        "folder, readable by you only. After a crash or a power cut, the next start offers "
        "the copy. Saving or discarding the changes removes it."));
    auto* label = new QLabel(QStringLiteral("&Keep a copy of unsaved changes every"), group);
    label->setObjectName(QStringLiteral("lblRecoveryMinutes"));
    label->setBuddy(seRecoveryMinutes);

    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(seRecoveryMinutes);
    row->addStretch();
    auto* note = new QLabel(
        QStringLiteral(
            "After a crash, the next start offers the copy. Saving the list removes it."),
        group);
    note->setWordWrap(true);
    auto* inner = new QVBoxLayout(group);
    inner->addLayout(row);
    inner->addWidget(note);

    auto* column = new QVBoxLayout(this);
    column->addWidget(group);
    column->addStretch();

    connect(seRecoveryMinutes, &QSpinBox::valueChanged, this,
            [this](int value) { FMinutes = value; });
}

} // namespace vocalore
