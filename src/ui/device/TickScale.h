// SPDX-License-Identifier: MIT
// The scale under a track bar: its text is the scale as written ("-5  -4 ... 4"); its numbers
// are drawn each under its own tick, whatever the font, so the scale always lines up.
#pragma once

#include <QLabel>

class QSlider;

namespace ps::ui {

class TTickScale : public QLabel {
    Q_OBJECT
public:
    TTickScale(QSlider* slider, QWidget* parent);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QStringList Marks() const;
    QSlider* m_pSlider;
};

}  // namespace ps::ui
