// SPDX-License-Identifier: MIT
// The tick scale.
#include "ui/device/TickScale.h"

#include <QPainter>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>

namespace ps::ui {
namespace {
constexpr int kSmallestPixels = 8;
constexpr int kGap = 6;
}  // namespace

TTickScale::TTickScale(QSlider* slider, QWidget* parent) : QLabel(parent), m_pSlider(slider) {
    setTextFormat(Qt::PlainText);
    // The numbers say nothing the track bar does not say; readers hear the track bar.
    setAccessibleName(QString());
}

QStringList TTickScale::Marks() const {
    return text().split(' ', Qt::SkipEmptyParts);
}

QSize TTickScale::sizeHint() const {
    return {m_pSlider->sizeHint().width(), fontMetrics().height() + 2};
}

QSize TTickScale::minimumSizeHint() const {
    return {0, fontMetrics().height() + 2};
}

void TTickScale::paintEvent(QPaintEvent*) {
    const QStringList marks = Marks();
    if (marks.isEmpty()) return;
    QStyleOptionSlider option;
    option.initFrom(m_pSlider);
    option.orientation = Qt::Horizontal;
    option.minimum = m_pSlider->minimum();
    option.maximum = m_pSlider->maximum();
    const QRect handle = m_pSlider->style()->subControlRect(QStyle::CC_Slider, &option,
                                                            QStyle::SC_SliderHandle, m_pSlider);
    const int span = m_pSlider->width() - handle.width();
    const int steps = std::max(1, static_cast<int>(marks.size()) - 1);
    // The slider's x relative to this label.
    const int offset =
        m_pSlider->mapTo(window(), QPoint(0, 0)).x() - mapTo(window(), QPoint(0, 0)).x();
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    // A crowded scale gets a smaller font, so that neighbouring numbers keep a gap.
    QFont font = this->font();
    const int pitch = span / steps;
    for (int pixels = QFontInfo(font).pixelSize(); pixels > kSmallestPixels; --pixels) {
        const QFontMetrics trial(font);
        int widest = 0;
        for (const QString& mark : marks) widest = std::max(widest, trial.horizontalAdvance(mark));
        if (widest + kGap <= pitch) break;
        font.setPixelSize(pixels - 1);
    }
    painter.setFont(font);
    const QFontMetrics metrics(font);
    for (int i = 0; i < marks.size(); ++i) {
        const int centre = offset + handle.width() / 2 + span * i / steps;
        const int width = metrics.horizontalAdvance(marks[i]);
        int left = centre - width / 2;
        left = std::clamp(left, 0, std::max(0, this->width() - width));
        painter.drawText(QRect(left, 0, width, height()), Qt::AlignLeft | Qt::AlignVCenter,
                         marks[i]);
    }
}

}  // namespace ps::ui
