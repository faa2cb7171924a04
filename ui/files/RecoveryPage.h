#pragma once
// The Files page of the Options dialog: how often a copy of unsaved changes
// goes to the recovery folder. It edits the caller's copy of the minutes as
// the control changes; the caller keeps the copy only on OK.

#include <QWidget>

#include <cstdint>

class QSpinBox;

namespace vocalore {

class TRecoveryPage : public QWidget {
public:
    TRecoveryPage(int32_t& minutes, QWidget* parent = nullptr);

private:
    int32_t& FMinutes;
    QSpinBox* seRecoveryMinutes;
};

} // namespace vocalore
