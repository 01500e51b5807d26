#pragma once

#include <cstdint>
#include <functional>

#include "windowing/form_window.h"
#include "workspace/workspace_state.h"

class QAction;
class QDragEnterEvent;
class QDropEvent;
class QMenu;
class QMenuBar;

namespace kestrane {

class PictureBox;

// The main window "Kestrane": owner of the state every window works on. The subsystems connect
// their handlers to its menu items and canvas and plug in the two public redraw procedures.
class form1 : public FormWindow, public WorkspaceState {
    Q_OBJECT

public:
    static constexpr int kClientSize = 529;
    static constexpr int kCanvasSize = 512;
    // Shows where a loaded picture does not cover the canvas, and so reads as height 0.
    static constexpr QRgb kCanvasBackground = 0xFF000000u;

    form1();

    QMenuBar* menuBar = nullptr;
    QMenu* file1 = nullptr;
    QAction* open1 = nullptr;
    QAction* bar = nullptr;
    QAction* save1 = nullptr;
    QAction* bar2 = nullptr;
    QAction* end1 = nullptr;
    QAction* edit1 = nullptr;
    PictureBox* Picture1 = nullptr;

    void inxx(const std::int16_t& v) { xx = v; }
    void inyy(const std::int16_t& v) { yy = v; }
    std::int16_t outxx() const { return xx; }
    std::int16_t outyy() const { return yy; }
    void inmx(const std::int16_t& v) { mx = v; }
    void inmy(const std::int16_t& v) { my = v; }
    std::int16_t outmx() const { return mx; }
    std::int16_t outmy() const { return my; }
    void inmx2(const std::int16_t& v) { mx2 = v; }
    void inmy2(const std::int16_t& v) { my2 = v; }
    std::int16_t outmx2() const { return mx2; }
    std::int16_t outmy2() const { return my2; }
    void inA(const double& v) { angleA = v; }
    void inR(const double& v) { angleR = v; }
    // Replays a selection from the settings dialog's coordinate boxes.
    void redraw2();
    // Renders the current region into the graph window.
    void redraw();

    void setRedraw2(std::function<void()> procedure) { redraw2_ = std::move(procedure); }
    void setRedraw(std::function<void()> procedure) { redraw_ = std::move(procedure); }

    void Form_Load() override;
    void Form_Unload() override;
    void end1_Click();

signals:
    // A local file was dropped on the window: the first of the dropped files that is not a
    // folder, its path absolute.
    void pictureDropped(const QString& path);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    std::function<void()> redraw2_;
    std::function<void()> redraw_;
};

}  // namespace kestrane
