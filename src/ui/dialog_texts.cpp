#include "ui/dialog_texts.h"

#include "i18n/translate.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QWidget>

namespace vistrel {

void SetControlText(QWidget& control, const QString& text)
{
    if (auto* button = qobject_cast<QAbstractButton*>(&control))
        button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(&control))
        label->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(&control))
        group->setTitle(text);
}

void NameControls(const DialogControls& controls)
{
    for (const auto& [id, widget] : controls)
        if (widget)
            widget->setObjectName(QString("id%1").arg(id));
}

void TranslateDialogWidgets(QWidget& dialog, DialogId id, const DialogControls& controls)
{
    const auto texts = TranslateDialog(id);
    if (!texts)
        return;
    dialog.setWindowTitle(QString::fromStdString(texts->title));
    for (const auto& [controlId, text] : texts->controls) {
        const auto found = controls.find(controlId);
        if (found != controls.end() && found->second)
            SetControlText(*found->second, QString::fromStdString(text));
    }
}

QString DialogText(DialogId id, std::string_view key)
{
    const Translator tr = Translator::Current();
    return QString::fromStdString(tr.chosen() ? tr.Text(DialogTexts(id).section, key) : std::string(key));
}

} // namespace vistrel
