#include "ui/modal_run.h"

#include <QDialog>
#include <QEventLoop>

namespace vistrel {

int RunModal(QDialog& dialog)
{
    dialog.setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    QObject::connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
    dialog.show();
    loop.exec();
    return dialog.result();
}

} // namespace vistrel
