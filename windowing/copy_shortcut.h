#pragma once

#include <QByteArray>
#include <QImage>
#include <functional>

class QWidget;

namespace kestrane {

// What a window puts on the clipboard: one picture and the same content as text.
struct CopiedContent {
    QImage picture;
    QByteArray text;  // ASCII
};

// Makes the platform's copy key (Ctrl+C) anywhere in window put what content returns on the
// clipboard, as one entry holding the picture as image/png and the text as text/plain. A text
// box with the focus keeps the key for its own text.
void installCopyShortcut(QWidget& window, std::function<CopiedContent()> content);

}  // namespace kestrane
