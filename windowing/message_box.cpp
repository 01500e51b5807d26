#include "windowing/message_box.h"

#include <QApplication>
#include <QMessageBox>

namespace kestrane {

void MsgBox(const QString& text, MsgBoxStyle style, const QString& title) {
    const QMessageBox::Icon icon =
        style == vbCritical ? QMessageBox::Critical : QMessageBox::Information;
    QMessageBox box(icon, title, text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

}  // namespace kestrane
