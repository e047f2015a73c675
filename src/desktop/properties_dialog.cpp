#include "desktop/properties_dialog.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QMimeDatabase>
#include <QVBoxLayout>

#include <iterator>

#include <sys/stat.h>

namespace vistrel {

namespace {

QString SizeText(qint64 bytes)
{
    const QString exact = QLocale().toString(bytes) + " bytes";
    if (bytes < 1024)
        return exact;
    return QLocale().formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat) + " (" + exact + ")";
}

QString DateText(const QDateTime& when)
{
    return when.isValid() ? QLocale().toString(when, QLocale::LongFormat) : QString("unknown");
}

// "rw-r--r--", then the owner and group, as `ls -l` shows them.
QString PermissionText(const QFileInfo& info)
{
    struct stat st {};
    if (stat(QFile::encodeName(info.absoluteFilePath()).constData(), &st) != 0)
        return "unknown";
    QString bits;
    const mode_t masks[] = {S_IRUSR, S_IWUSR, S_IXUSR, S_IRGRP, S_IWGRP, S_IXGRP, S_IROTH, S_IWOTH, S_IXOTH};
    for (size_t i = 0; i < std::size(masks); ++i)
        bits += (st.st_mode & masks[i]) ? "rwx"[i % 3] : '-';
    return bits + "  (" + info.owner() + ", " + info.group() + ")";
}

QLabel* Value(const QString& text, const char* name, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

PropertiesDialog::PropertiesDialog(const QString& path, QWidget* parent) : QDialog(parent)
{
    setObjectName("properties");
    const QFileInfo info(path);
    setWindowTitle(info.fileName() + " Properties");
    const QMimeType type = QMimeDatabase().mimeTypeForFile(info);

    auto* form = new QFormLayout;
    form->addRow("Name:", Value(info.fileName(), "name", this));
    form->addRow("Type:", Value(type.comment() + " (" + type.name() + ")", "type", this));
    form->addRow("Folder:", Value(info.absolutePath(), "folder", this));
    form->addRow("Size:", Value(SizeText(info.size()), "size", this));
    form->addRow("Created:", Value(DateText(info.birthTime()), "created", this));
    form->addRow("Modified:", Value(DateText(info.lastModified()), "modified", this));
    form->addRow("Accessed:", Value(DateText(info.lastRead()), "accessed", this));
    form->addRow("Permissions:", Value(PermissionText(info), "permissions", this));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

} // namespace vistrel
