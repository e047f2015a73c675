#pragma once
// CVideoOptionsDlg, the "Video Options" dialog: the compressor (from the
// installed ones), quality, key frame distance, capture interval and playback
// rate of the recorder's options. OK writes them only when all four numbers are
// in range; Cancel writes nothing, except that opening with a compressor the
// list does not have makes the list's first one the compressor at once.
// User-interface thread only.

#include "platform/ffmpeg/compressor_catalog.h"
#include "record/core/record_options.h"

#include <QDialog>

#include <map>
#include <vector>

class QComboBox;
class QDialogButtonBox;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QSlider;

namespace vistrel {

class CVideoOptionsDlg : public QDialog {
    Q_OBJECT
public:
    CVideoOptionsDlg(QWidget* parent, AviRecordOptions& options, std::vector<ffmpeg::CompressorInfo> compressors);

    QWidget* Control(int id) const;
    void accept() override; // OK: checks, then writes and closes, or names the fault and stays

signals:
    // A field was refused with this message (after it was shown); for the tests.
    void refused(const QString& message);

private:
    // The constructor's parts: one builder for the compressor's group box, one
    // for the fields under it and one for the buttons, each making the controls
    // it alone uses, laying out its own and entering them in m_controls; then
    // one step that connects them.
    QGroupBox* BuildCompressorGroup();
    QLayout* BuildFieldsGrid();
    QDialogButtonBox* BuildButtons();
    void ConnectControls();

    void UpdateAbout();
    void OnAbout();

    AviRecordOptions& m_options;
    std::vector<ffmpeg::CompressorInfo> m_compressors;
    std::map<int, QWidget*> m_controls;
    QComboBox* m_compressor;
    QPushButton* m_about = nullptr;
    QSlider* m_quality;
    QLabel* m_qualityValue;
    QLineEdit* m_keyFrames;
    QLineEdit* m_interval;
    QLineEdit* m_rate;
    QDialogButtonBox* m_buttons = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace vistrel
