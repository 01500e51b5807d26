#include "workspace/form1.h"

#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMenuBar>
#include <QMimeData>
#include <QUrl>
#include <QVBoxLayout>

#include "windowing/file_names.h"
#include "windowing/picture_box.h"
#include "workspace/application_folder.h"

namespace kestrane {

namespace {

// The first local file among the dropped URLs that is not a folder; empty when there is none
// (folders, remote URLs, plain text). The path keeps the name's own bytes, also when they are not
// UTF-8.
QString droppedFile(const QMimeData& data) {
    for (const QUrl& url : data.urls()) {
        // file://host/... names a file on another machine.
        if (!url.isLocalFile() || !(url.host().isEmpty() || url.host() == "localhost")) {
            continue;
        }
        const QString path = decodeFileName(
            QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
        if (!QFileInfo(path).isDir()) {
            return path;
        }
    }
    return {};
}

// A window under a modal box takes no drop, also when the event reaches it past the
// platform's own blocking.
bool takesDrop(const QMimeData* data) {
    return data != nullptr && QApplication::activeModalWidget() == nullptr &&
           !droppedFile(*data).isEmpty();
}

}  // namespace

form1::form1() : FormWindow("Kestrane", kClientSize, kClientSize) {
    auto* client = new QWidget(this);
    client->setFixedSize(kClientSize, kClientSize);
    Picture1 = new PictureBox(client, 8, 8, kCanvasSize, kCanvasSize, QColor(kCanvasBackground));

    menuBar = new QMenuBar(this);
    file1 = menuBar->addMenu("ファイル(&F)");
    open1 = file1->addAction("読み込み(&O)");
    bar = file1->addSeparator();
    save1 = file1->addAction("指定範囲データ保存(&S)");
    bar2 = file1->addSeparator();
    end1 = file1->addAction("終了(&Q)");
    edit1 = menuBar->addAction("設定(&E)");
    save1->setEnabled(false);

    // The client area keeps its size below the menu bar, whatever height the style gives that.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar);
    layout->addWidget(client);
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setAcceptDrops(true);

    connect(end1, &QAction::triggered, this, &form1::end1_Click);
}

void form1::redraw2() {
    if (redraw2_) {
        redraw2_();
    }
}

void form1::redraw() {
    if (redraw_) {
        redraw_();
    }
}

// The grids were allocated with the window; loading clears them.
void form1::Form_Load() {
    showModeless();
    basePix.fill(Pixel{});
    viewPix.fill(Pixel{});
    Picture1->setEnabled(false);
}

void form1::Form_Unload() {
    QFile::remove(temporaryFileNamed("temp.bmp"));
    QFile::remove(temporaryFileNamed("3Dtemp.bmp"));
    endProgram();
}

void form1::end1_Click() { endProgram(); }

void form1::dragEnterEvent(QDragEnterEvent* event) {
    if (takesDrop(event->mimeData())) {
        event->acceptProposedAction();
    }
}

void form1::dropEvent(QDropEvent* event) {
    if (!takesDrop(event->mimeData())) {
        return;
    }
    event->acceptProposedAction();
    emit pictureDropped(droppedFile(*event->mimeData()));
}

}  // namespace kestrane
