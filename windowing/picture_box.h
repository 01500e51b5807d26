#pragma once

#include <QFrame>
#include <QImage>

namespace kestrane {

// Mouse buttons and shift keys as the program's handlers receive them.
enum MouseButtonBits : int { vbLeftButton = 1, vbRightButton = 2, vbMiddleButton = 4 };

// A canvas with a persistent bitmap of its drawing area, framed by a 2-pixel sunken border.
// What is drawn into the bitmap stays and is what the canvas shows. Mouse positions are in
// bitmap pixels with the origin at the drawing area's top-left corner.
class PictureBox : public QFrame {
    Q_OBJECT

public:
    static constexpr int kBorder = 2;

    PictureBox(QWidget* parent, int x, int y, int drawWidth, int drawHeight, QColor background);

    QImage& bitmap() { return bitmap_; }
    const QImage& bitmap() const { return bitmap_; }
    // Shows the bitmap's current content.
    void refresh();

signals:
    // button: the button that changed (down, up) or the buttons held (move); shift: 1 shift, 2
    // ctrl, 4 alt.
    void MouseDown(int button, int shift, float x, float y);
    void MouseMove(int button, int shift, float x, float y);
    void MouseUp(int button, int shift, float x, float y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPointF canvasPoint(const QMouseEvent* event) const;

    QImage bitmap_;
};

}  // namespace kestrane
