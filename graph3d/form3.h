#pragma once

#include "windowing/form3_design.h"
#include "workspace/height_map.h"

namespace kestrane {

class form1;

// The graph window: turns the surface by dragging, switches monochrome display together with the
// settings dialog, keeps the compression text and scroll bar in step and saves the graph as a
// JPEG file. The view lives in the main window and is reached through its accessors only. It
// first appears at the top of the column right of the main window. Ctrl+C copies the graph as last
// shown, with the heights of the region it shows.
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

    // Keeps the heights of the region 0..lastX x 0..lastY that the canvas now shows, for the
    // copy, since a later point selection rebuilds the main window's map. A region the map does
    // not cover shows no heights.
    void setShownRegion(const HeightMap& heights, int lastX, int lastY);

private:
    bool saveAsJpeg();

    form1& main_;
    HeightMap shownHeights_;
    int shownLastX_ = -1;
    int shownLastY_ = -1;
};

}  // namespace kestrane
