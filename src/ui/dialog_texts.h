#pragma once
// Puts a dialog's texts from the chosen language file on its widgets: the
// title on the window, and each control's text on the widget registered under
// the control's identifier. With no language file chosen nothing changes, and
// the widgets keep the English texts they were built with.
// User-interface thread only.

#include "i18n/language_texts.h"

#include <QString>

#include <map>
#include <string_view>

class QWidget;

namespace vistrel {

// Identifier -> widget (a label, a button, a check box, a group box).
using DialogControls = std::map<int, QWidget*>;

void TranslateDialogWidgets(QWidget& dialog, DialogId id, const DialogControls& controls);

// Names each control's widget "id<identifier>", so tests and tools find it.
void NameControls(const DialogControls& controls);

// One of the dialog's other keys (a text it shows by name, such as a button
// text that changes): the translation, or the English key.
QString DialogText(DialogId id, std::string_view key);

// The text a control shows, whatever kind of widget it is.
void SetControlText(QWidget& control, const QString& text);

} // namespace vistrel
