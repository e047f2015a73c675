#pragma once
// CCursorOptionsDlg, the "Cursor Options" dialog: whether recordings draw the
// cursor, which one (the one the screen shows, a built-in picture or one
// loaded from a .cur or .ico file), and the highlight under it. The dialog
// works on a copy of the nine cursor fields; OK writes them back, Cancel
// writes nothing. The folder "..." last looked in is kept by the caller, so
// that it lasts for the run.
// User-interface thread only.

#include "capture/core/cursor_image.h"
#include "record/core/record_options.h"

#include <QDialog>

#include <functional>
#include <map>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;

namespace vistrel {

// The folder "..." last chose a file in during this run; empty at first.
std::string& RunCursorFolder();

// The cursor the screen shows now, through XFixes on an X display; nullopt
// when it cannot be read (no X, no XFixes).
std::optional<CursorImage> ScreenCursorNow();

class CCursorOptionsDlg : public QDialog {
    Q_OBJECT
public:
    using CursorSource = std::function<std::optional<CursorImage>()>;

    // folder: where "..." starts (the user's home folder when empty); it
    // receives the folder of every file chosen. screenCursor gives the
    // preview of "Use Actual Cursor".
    CCursorOptionsDlg(QWidget* parent, AviRecordOptions& options, std::string& folder,
                      CursorSource screenCursor = ScreenCursorNow);

    QWidget* Control(int id) const;
    // The cursor the preview shows; nullopt when it shows none.
    const std::optional<CursorImage>& previewCursor() const { return m_preview; }

    // What "..." does with the file the user chose: remembers its folder, then
    // loads it as the file cursor when its name ends in .ico or .cur (in any
    // letter case) and it reads as one. Otherwise shows why and keeps the
    // file cursor as it was; false then.
    bool LoadCursorFile(const QString& path);

    void accept() override; // OK: writes the nine fields and closes

signals:
    // A chosen file was refused with this message (after it was shown); for the tests.
    void refused(const QString& message);

private:
    // The constructor's parts: one builder per group box (and the buttons),
    // which makes the controls it alone uses, lays out its own and enters them
    // in m_controls; then one step that connects them. The member controls are
    // made first, in the initializer list, as the Tab order follows the order
    // widgets are made.
    QGroupBox* BuildDisplayGroup();
    QGroupBox* BuildHighlightGroup();
    QDialogButtonBox* BuildButtons();
    void ConnectControls();

    void OnChooseFile();
    void OnColor();
    void SetRecordCursor(int on);
    void SetCursorType(int type);
    void UpdateEnabled();
    void RefreshCursorPreview();
    void RefreshHighlightPreview();

    AviRecordOptions& m_options;
    std::string& m_folder;
    CursorSource m_screenCursor;
    std::map<int, QWidget*> m_controls;
    QRadioButton* m_hide;
    QRadioButton* m_show;
    QRadioButton* m_actual;
    QRadioButton* m_custom;
    QRadioButton* m_file;
    QComboBox* m_builtIn;
    QPushButton* m_browse;
    QLabel* m_cursorPreview;
    QCheckBox* m_highlight;
    QSlider* m_size;
    QComboBox* m_shape;
    QLabel* m_highlightPreview;
    QPushButton* m_color = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
    QPushButton* m_cancel = nullptr;

    // The copy of the nine fields.
    int m_recordCursor;
    int m_cursorType;
    int m_customIndex;
    std::optional<CursorImage> m_customCursor;
    std::optional<CursorImage> m_fileCursor;
    int m_highlightOn;
    uint32_t m_highlightColor;
    std::optional<CursorImage> m_preview;
};

} // namespace vistrel
