#pragma once
// The look of the recorder dialogs' sliders: a thin blue groove with a small
// red handle, alike in every dialog.

namespace vistrel {

inline constexpr char kRecorderSliderStyle[] = "QSlider::groove:horizontal { background: #2050c0; height: 4px; }"
                                               "QSlider::sub-page:horizontal { background: #2050c0; }"
                                               "QSlider::handle:horizontal { background: #d02020; width: 10px;"
                                               " margin: -6px 0; border-radius: 2px; }";

} // namespace vistrel
