#include "windowing/form_window.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QHash>
#include <QPointer>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <typeinfo>

namespace kestrane {

namespace {

std::function<void()>& endProgramAction() {
    static std::function<void()> action = [] {
        std::fflush(nullptr);
        std::_Exit(0);
    };
    return action;
}

// Where each window class was last left, by its type's name, so that classes without their own
// meta-object are told apart too.
QHash<QByteArray, QPoint>& lastPositions() {
    static QHash<QByteArray, QPoint> positions;
    return positions;
}

}  // namespace

FormWindow::FormWindow(const QString& caption, int clientWidth, int clientHeight) {
    setWindowTitle(caption);
    setFixedSize(clientWidth, clientHeight);
}

void FormWindow::setFirstPlacement(std::function<QPoint(QSize client)> place) {
    firstPlacement_ = std::move(place);
}

void FormWindow::placeBeforeFirstShow() {
    if (shownBefore_) {
        return;
    }
    shownBefore_ = true;
    const auto last = lastPositions().constFind(typeid(*this).name());
    if (last != lastPositions().constEnd()) {
        move(*last);
    } else if (firstPlacement_) {
        move(firstPlacement_(size()));
    }
}

void FormWindow::showModeless() {
    placeBeforeFirstShow();
    show();
    raise();
    activateWindow();
}

void FormWindow::showModal() {
    QPointer<FormWindow> self(this);
    QEventLoop wait;
    connect(this, &FormWindow::formHidden, &wait, &QEventLoop::quit);
    connect(this, &QObject::destroyed, &wait, &QEventLoop::quit);
    if (isVisible()) {
        hide();
    }
    setWindowModality(Qt::ApplicationModal);
    showModeless();
    wait.exec(QEventLoop::DialogExec);
    if (self) {
        self->setWindowModality(Qt::NonModal);
    }
}

void FormWindow::unload() {
    if (unloaded_) {
        return;
    }
    unloaded_ = true;
    Form_Unload();
    hide();
    // The caller may be one of this window's own handlers, so the object goes once it returns.
    deleteLater();
}

void FormWindow::setVisible(bool visible) {
    const bool wasVisible = isVisible();
    if (wasVisible && !visible) {
        lastPositions().insert(typeid(*this).name(), pos());
    }
    QWidget::setVisible(visible);
    if (wasVisible && !visible) {
        emit formHidden();
    }
}

void FormWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    unload();
}

void endProgram() { endProgramAction()(); }

void setEndProgramAction(std::function<void()> action) { endProgramAction() = std::move(action); }

}  // namespace kestrane
