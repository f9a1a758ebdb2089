#pragma once

#include <QString>

class QWidget;

// One-use dialogs hand their results back by writing into the calling screen's controls, found
// by name. A dialog is itself a child of its caller and often has controls with the same names
// ("txtCliente", "lblFile01"), so the lookup skips everything inside the dialog.
namespace velmora {

// The caller's control called name that is neither the dialog nor inside it; nullptr when none.
QWidget *callerControl(QWidget *caller, const QString &name, const QWidget *dialog);

// Text of a line box, a multi-line box or a label; empty for anything else.
QString controlText(const QWidget *control);

// Writes the text into a line box, a multi-line box or a label; false for anything else.
bool setControlText(QWidget *control, const QString &text);

} // namespace velmora
