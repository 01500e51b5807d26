#pragma once

#include "windowing/form3_design.h"

namespace kestrane {

class form1;

// The graph window: turns the surface by dragging, switches monochrome display together with the
// settings dialog, keeps the compression text and scroll bar in step and saves the graph as a
// JPEG file. The view lives in the main window and is reached through its accessors only. It
// first appears at the top of the column right of the main window.
class Form3 : public Form3Design {
    Q_OBJECT

public:
    explicit Form3(form1& main);

    void Form_Load() override;
    void Check1_Click();
    void Picture1_MouseDown(int button, int shift, float x, float y);
    void Picture1_MouseMove(int button, int shift, float x, float y);
    void Picture1_MouseUp(int button, int shift, float x, float y);
    void HScroll1_Change();
    void Text2_Change();
    void Command2_Click();
    void Command1_Click();

private:
    bool saveAsJpeg();

    form1& main_;
};

}  // namespace kestrane
