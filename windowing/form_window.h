#pragma once

#include <QWidget>
#include <functional>

namespace kestrane {

// A top-level window of the program. Windows are reached through FormSlot, which creates each one
// hidden on first access and runs its load handler; unloading runs the unload handler and discards
// the window, so the next access starts again from the design.
class FormWindow : public QWidget {
    Q_OBJECT

public:
    explicit FormWindow(const QString& caption, int clientWidth, int clientHeight);

    // Where the window appears when it is first shown, given its client size. A window of this
    // class that was shown before, this one or an earlier one since unloaded, appears where it was
    // last left instead, so that a window the user has moved stays where the user put it.
    void setFirstPlacement(std::function<QPoint(QSize client)> place);
    // Shows the window and brings it to the front; returns at once.
    void showModeless();
    // Shows the window application-modal and returns once it is hidden or unloaded.
    void showModal();
    // Runs Form_Unload, hides the window and discards it. The close box does the same.
    void unload();
    bool isUnloaded() const { return unloaded_; }

    void setVisible(bool visible) override;

    virtual void Form_Load() {}
    virtual void Form_Unload() {}

signals:
    void formHidden();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void placeBeforeFirstShow();

    bool unloaded_ = false;
    bool shownBefore_ = false;
    std::function<QPoint(QSize client)> firstPlacement_;
};

// Ends the program at once: no further events and no window's unload handler.
void endProgram();
// Tests replace the ending so that they can observe it.
void setEndProgramAction(std::function<void()> action);

}  // namespace kestrane
