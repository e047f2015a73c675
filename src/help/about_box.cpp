#include "help/about_box.h"

#include "base/trace.h"
#include "help/core/credits_text.h"
#include "help/core/product_links.h"
#include "help/credits_banner.h"
#include "help/link_static.h"
#include "i18n/language_texts.h"
#include "i18n/translate.h"
#include "ui/dialog_texts.h"
#include "ui/pictures/pictures.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vistrel {

namespace {

constexpr int kOkId = 1;
constexpr QSize kBannerSize(400, 150);
constexpr int kLinkRowSpacingPx = 4;

// The chosen language file's translator, or nothing.
std::string TranslatorName()
{
    const Translator tr = Translator::Current();
    if (!tr.chosen())
        return {};
    constexpr std::string_view kKey = "Author";
    std::string author = tr.Lookup(kLanguageSection, kKey);
    return author == kKey ? std::string() : author;
}

QStringList Credits()
{
    QStringList lines;
    for (const auto& line : CreditsLines(VISTREL_VERSION, TranslatorName()))
        lines << QString::fromStdString(line);
    return lines;
}

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName("aboutBox");
    setWindowIcon(ApplicationIcon());
    setWindowTitle("About Vistrel");
    m_banner = new CCreditsBanner(Credits(), kBannerSize, this);

    auto* name = new QLabel(QString("Vistrel Version %1").arg(VISTREL_VERSION), this);
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    auto* copyright = new QLabel("Copyright (C) 2026 Tessaro Works", this);
    auto* rights = new QLabel("All Rights Reserved", this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setText("OK");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    const DialogControls controls = {{IDC_ABOUT_RIGHTS, rights}, {kOkId, ok}};
    NameControls(controls);
    TranslateDialogWidgets(*this, DialogId::About, controls);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_banner, 0, Qt::AlignHCenter);
    for (QLabel* label : {name, copyright, rights}) {
        label->setAlignment(Qt::AlignHCenter);
        layout->addWidget(label);
    }
    layout->addWidget(BuildLinks());
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    Trace("about box opened");
}

CAboutDlg::~CAboutDlg() { m_banner->Stop(); }

QWidget* CAboutDlg::BuildLinks()
{
    // The links place themselves: each fits its rectangle to its text, centred
    // in the row.
    auto* area = new QWidget(this);
    const int rowHeight = fontMetrics().lineSpacing() + kLinkRowSpacingPx;
    const std::pair<const char*, const char*> links[] = {{kWebSiteUrl, kWebSiteUrl},
                                                         {kSupportMailText, kSupportMailUrl}};
    int y = 0;
    for (const auto& [text, url] : links) {
        auto* link = new CLinkStatic(text, area);
        link->setObjectName(y == 0 ? "webSiteLink" : "mailLink");
        link->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
        link->setGeometry(0, y, kBannerSize.width(), rowHeight);
        link->SetURL(url);
        y += rowHeight;
    }
    area->setFixedSize(kBannerSize.width(), y);
    return area;
}

void CAboutDlg::done(int result)
{
    m_banner->Stop();
    QDialog::done(result);
}

} // namespace vistrel
