#include "tests/support/modal_answerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <algorithm>

namespace kestrane::testing {

ModalAnswerer::ModalAnswerer(Answer otherWindows) : otherWindows_(std::move(otherWindows)) {
    timer_.setInterval(0);
    QObject::connect(&timer_, &QTimer::timeout, [this] { answerActiveModal(); });
    timer_.start();
}

void ModalAnswerer::answerActiveModal() {
    // A window is answered once each time it comes up, also when a box it opened closes over it.
    std::erase_if(answered_, [](const QPointer<QWidget>& window) {
        return window.isNull() || !window->isVisible();
    });
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr ||
        std::find(answered_.begin(), answered_.end(), modal) != answered_.end()) {
        return;
    }
    answered_.emplace_back(modal);
    // Answered from a fresh event, so that an answer may itself wait on another modal window.
    QTimer::singleShot(0, modal, [this, modal] {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            messages_.push_back({box->windowTitle(), box->text(), box->icon()});
            box->button(QMessageBox::Ok)->click();
        } else if (otherWindows_) {
            otherWindows_(modal);
        }
    });
}

}  // namespace kestrane::testing
