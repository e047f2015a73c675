#pragma once
// Our own Properties window for a captured file, shown when no file manager
// offers its own: name, type, folder, size, dates and permissions, read when it
// opens. User-interface thread.

#include <QDialog>
#include <QString>

namespace vistrel {

class PropertiesDialog : public QDialog {
public:
    PropertiesDialog(const QString& path, QWidget* parent);
};

} // namespace vistrel
