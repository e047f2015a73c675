#include "capture/notice_dialog.h"

#include "i18n/translate.h"
#include "platform/qt/key_names.h"
#include "settings/env.h"
#include "ui/dialog_texts.h"
#include "ui/pictures/pictures.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vistrel {

namespace {

constexpr int kTextId = 1172;
constexpr int kDontShowId = 1150;
constexpr int kOkId = 1;

} // namespace

CNoticeDlg::CNoticeDlg(CEnv& env, QWidget* parent)
    : QDialog(parent), m_env(env), m_text(new QLabel(this)), m_dontShow(new QCheckBox(this))
{
    setObjectName("noticeDialog");
    setWindowIcon(ApplicationIcon());
    setWindowTitle("Notice!!");
    m_text->setText("Press %s to finish capture\nOR Press Escape to cancel capture");
    QFont heavy = m_text->font();
    heavy.setWeight(QFont::Black);
    m_text->setFont(heavy);
    m_text->setObjectName("noticeText");
    m_dontShow->setText("Don't show me this message again.");
    m_dontShow->setChecked(false);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setText("OK");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    TranslateDialogWidgets(*this, DialogId::Notice, {{kTextId, m_text}, {kDontShowId, m_dontShow}, {kOkId, ok}});
    // The key is named after translation: the text may place it anywhere.
    m_text->setText(QString::fromStdString(
        ReplaceHotkeyPlaceholder(m_text->text().toStdString(), HotkeyToText(env.m_hkObject, NativeKeyName))));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(m_dontShow);
    layout->addWidget(buttons);
}

void CNoticeDlg::accept()
{
    if (m_dontShow->isChecked())
        m_env.m_bShowReminder = 0;
    QDialog::accept();
}

} // namespace vistrel
