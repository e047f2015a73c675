#include "library/path_bar.h"

#include "base/trace.h"
#include "platform/qt/desktop_open.h"
#include "ui/pictures/pictures.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

namespace vistrel {

CPathBar::CPathBar(QWidget* parent) : QWidget(parent), m_edit(new QLineEdit(this)), m_explore(new QToolButton(this))
{
    setObjectName("pathBar");
    m_edit->setObjectName("path");
    m_edit->setReadOnly(true);
    m_explore->setObjectName("explore");
    m_explore->setIcon(FolderPicture(true));
    m_explore->setIconSize({16, 16});
    m_explore->setToolTip("Explore");
    m_explore->setAutoRaise(true);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1); // the edit ends one pixel left of the button
    layout->addWidget(m_edit, 1);
    layout->addWidget(m_explore);
    connect(m_explore, &QToolButton::clicked, this, &CPathBar::Explore);
}

void CPathBar::SetPath(const QString& path) { m_edit->setText(path); }

QString CPathBar::path() const { return m_edit->text(); }

void CPathBar::Explore()
{
    const QString path = m_edit->text();
    if (path.isEmpty())
        return;
    const QString folder = path.left(std::max<qsizetype>(path.lastIndexOf('/'), 1));
    Trace("explore " + folder.toStdString());
    OpenInDesktop(folder);
}

} // namespace vistrel
