#pragma once
// Running a dialog modally to its end. QDialog::exec ends when the dialog is
// merely hidden; a dialog that steps aside while the user selects an area of
// the screen, or while it records, must stay open, so it runs on a loop that
// ends only when the dialog is done (accepted, rejected or closed).
// User-interface thread only.

class QDialog;

namespace vistrel {

// Shows dialog application-modal and returns its result once it is done.
int RunModal(QDialog& dialog);

} // namespace vistrel
