#include "windowing/copy_shortcut.h"

#include <QAction>
#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QWidget>

namespace kestrane {

void installCopyShortcut(QWidget& window, std::function<CopiedContent()> content) {
    auto* copy = new QAction(&window);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WindowShortcut);
    window.addAction(copy);
    QObject::connect(copy, &QAction::triggered, &window, [content = std::move(content)] {
        const CopiedContent copied = content();
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        copied.picture.save(&buffer, "PNG");
        auto* data = new QMimeData;
        data->setData("image/png", png);
        data->setText(QString::fromLatin1(copied.text));
        QGuiApplication::clipboard()->setMimeData(data);
    });
}

}  // namespace kestrane
