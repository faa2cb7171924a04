#pragma once
// The Options command (F12): runs the Options dialog on the window's options
// record and puts the result into force.

namespace vocalore {

class TMainForm;

void miViewOptionsClick(TMainForm& form);

} // namespace vocalore
