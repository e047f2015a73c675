// The main window's part in hotkeys another program holds: once the hotkeys
// are registered (at start, and after the Options sheet applied them) the
// keys found taken are named in the status bar and in a notice that is not
// modal, so the hotkeys that were grabbed keep working while it is open.
#include "mainframe/main_frame.h"

#include "base/trace.h"
#include "i18n/hotkey_text.h"
#include "i18n/translate.h"
#include "options/options_sheet.h"
#include "platform/qt/key_names.h"
#include "settings/env.h"
#include "ui/dialog_texts.h"

#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QStringList>

namespace vistrel {

namespace {

QStringList TakenKeyTexts(const std::vector<int>& ids)
{
    QStringList texts;
    for (int id : ids)
        texts << QString::fromStdString(HotkeyToText(theEnv.Hotkey(id), NativeKeyName));
    return texts;
}

} // namespace

void CMainFrame::RunOptions(OptionsStart start)
{
    if (!RunOptionsSheet(this, start))
        return;
    ReportTakenHotkeys();
    FollowTrayPreference();
}

void CMainFrame::ReportTakenHotkeys()
{
    if (m_takenNotice)
        m_takenNotice->close();
    const QStringList keys = TakenKeyTexts(theEnv.TakenHotkeys());
    if (keys.isEmpty()) {
        if (!m_takenStatus.isEmpty() && statusBar()->currentMessage() == m_takenStatus)
            statusBar()->clearMessage();
        m_takenStatus.clear();
        return;
    }
    Trace("hotkeys taken by another program: " + keys.join(", ").toStdString());
    m_takenStatus = QString::fromStdString(ReplaceHotkeyPlaceholder(
        DialogText(DialogId::Hotkeys, kTakenHotkeysStatusKey).toStdString(), keys.join(", ").toStdString()));
    statusBar()->showMessage(m_takenStatus);

    auto* notice = new QMessageBox(QMessageBox::Warning, DialogText(DialogId::Hotkeys, "Hotkeys"),
                                   DialogText(DialogId::Hotkeys, kTakenHotkeysNoticeKey), QMessageBox::Close, this);
    notice->setObjectName("takenHotkeys");
    notice->setInformativeText(keys.join("\n"));
    notice->setAttribute(Qt::WA_DeleteOnClose);
    notice->setModal(false);
    QPushButton* change = notice->addButton(DialogText(DialogId::Hotkeys, kChangeHotkeysKey), QMessageBox::AcceptRole);
    change->setObjectName("changeHotkeys");
    connect(change, &QPushButton::clicked, this, [this] {
        // After the notice has closed; the sheet runs its own loop.
        QMetaObject::invokeMethod(this, [this] { RunOptions(OptionsStart::Hotkeys); }, Qt::QueuedConnection);
    });
    m_takenNotice = notice;
    notice->show();
}

} // namespace vistrel
