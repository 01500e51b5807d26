#pragma once

#include "windowing/form3_design.h"

namespace kestrane {

// The graph window: turns the surface by dragging, switches monochrome display together with the
// settings dialog, keeps the compression text and scroll bar in step and saves the graph as a
// JPEG file. The view lives in the main window and is reached through its accessors only.
class Form3 : public Form3Design {
    Q_OBJECT

public:
    Form3();

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
};

}  // namespace kestrane
