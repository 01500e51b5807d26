#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <vector>

namespace kestrane::testing {

struct SeenMessage {
    QString title;
    QString text;
    QMessageBox::Icon icon;
};

// While alive, answers every modal window that comes up: message boxes are recorded and closed
// with OK; any other modal window is handed to the given answer.
class ModalAnswerer {
public:
    using Answer = std::function<void(QWidget* modal)>;

    explicit ModalAnswerer(Answer otherWindows = {});

    const std::vector<SeenMessage>& messages() const { return messages_; }

private:
    void answerActiveModal();

    Answer otherWindows_;
    std::vector<SeenMessage> messages_;
    std::vector<QPointer<QWidget>> answered_;  // still up
    QTimer timer_;
};

}  // namespace kestrane::testing
