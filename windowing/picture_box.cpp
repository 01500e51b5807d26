#include "windowing/picture_box.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace kestrane {

namespace {

int buttonBits(Qt::MouseButtons buttons) {
    int bits = 0;
    if (buttons & Qt::LeftButton) {
        bits |= vbLeftButton;
    }
    if (buttons & Qt::RightButton) {
        bits |= vbRightButton;
    }
    if (buttons & Qt::MiddleButton) {
        bits |= vbMiddleButton;
    }
    return bits;
}

int shiftBits(Qt::KeyboardModifiers modifiers) {
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

}  // namespace

PictureBox::PictureBox(QWidget* parent, int x, int y, int drawWidth, int drawHeight,
                       QColor background)
    : QFrame(parent), bitmap_(drawWidth, drawHeight, QImage::Format_RGB32) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(kBorder);
    setGeometry(x, y, drawWidth + 2 * kBorder, drawHeight + 2 * kBorder);
    bitmap_.fill(background);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::refresh() { update(contentsRect()); }

void PictureBox::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), bitmap_);
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    const QPointF at = canvasPoint(event);
    emit MouseDown(buttonBits(event->button()), shiftBits(event->modifiers()), float(at.x()),
                   float(at.y()));
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = canvasPoint(event);
    emit MouseMove(buttonBits(event->buttons()), shiftBits(event->modifiers()), float(at.x()),
                   float(at.y()));
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF at = canvasPoint(event);
    emit MouseUp(buttonBits(event->button()), shiftBits(event->modifiers()), float(at.x()),
                 float(at.y()));
}

QPointF PictureBox::canvasPoint(const QMouseEvent* event) const {
    // Handlers see whole bitmap pixels, also on screens that report fractional positions.
    const QPointF at = event->position() - contentsRect().topLeft();
    return {std::floor(at.x()), std::floor(at.y())};
}

}  // namespace kestrane
