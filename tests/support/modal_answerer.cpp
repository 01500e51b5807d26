#include "tests/support/modal_answerer.h"

#include <QAbstractButton>
#include <QApplication>

namespace kestrane::testing {

ModalAnswerer::ModalAnswerer(Answer otherWindows) : otherWindows_(std::move(otherWindows)) {
    timer_.setInterval(0);
    QObject::connect(&timer_, &QTimer::timeout, [this] { answerActiveModal(); });
    timer_.start();
}

void ModalAnswerer::answerActiveModal() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) {
        // Gone: the same window shown modally again later gets a new answer.
        lastAnswered_ = nullptr;
        return;
    }
    if (modal == lastAnswered_.data()) {
        return;
    }
    lastAnswered_ = modal;
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
