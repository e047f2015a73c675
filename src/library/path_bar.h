#pragma once
// CPathBar: the strip above the captured-file list. It shows the path of the
// one selected file, and its Explore button has the desktop's file manager
// show the folder that holds it. User-interface thread only.

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace vistrel {

class CPathBar : public QWidget {
    Q_OBJECT
public:
    explicit CPathBar(QWidget* parent = nullptr);

    void SetPath(const QString& path); // "" empties it
    QString path() const;
    // The folder of the path shown, handed to the file manager; nothing when
    // no path is shown.
    void Explore();

private:
    QLineEdit* m_edit;
    QToolButton* m_explore;
};

} // namespace vistrel
