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
    // Qt 6.4 hands a child widget its window's mouse position rounded to whole logical pixels; on a
    // scaled screen that puts the right and lower half of every canvas pixel on the next one. The
    // position in the window keeps the fraction. An event sent to this widget itself has none to
    // keep, and its scene position is not the window's, so it differs by a whole offset.
    QPointF at = event->position();
    const QPointF precise = mapFrom(window(), event->scenePosition());
    if (std::abs(precise.x() - at.x()) <= 0.5 && std::abs(precise.y() - at.y()) <= 0.5) {
        at = precise;
    }
    // Handlers see whole bitmap pixels.
    at -= contentsRect().topLeft();
    return {std::floor(at.x()), std::floor(at.y())};
}

}  // namespace kestrane
