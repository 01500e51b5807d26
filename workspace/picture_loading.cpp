#include "workspace/picture_loading.h"

#include <QFile>
#include <optional>

#include "windowing/file_names.h"
#include "windowing/picture_box.h"
#include "workspace/bitmap_transfer.h"
#include "workspace/form1.h"
#include "workspace/numbers.h"
#include "workspace/picture_decoder.h"

namespace kestrane {

bool showPictureFile(form1& main, const QString& path) {
    // The decoder takes a name, which Qt encodes as UTF-8: a name whose bytes are not UTF-8 would
    // not survive that, so such a file is opened by its own bytes and handed over under the name
    // its descriptor has in /proc.
    QFile file;
    const bool bytesLost = QFile::encodeName(path) != encodeFileName(path);
    if (bytesLost && !openRegularFile(file, path)) {
        return false;
    }
    QImage& canvas = main.Picture1->bitmap();
    std::optional<QImage> picture = decodePictureForCanvas(
        bytesLost ? QStringLiteral("/proc/self/fd/%1").arg(file.handle()) : path, canvas.size(),
        QColor(form1::kCanvasBackground));
    if (!picture) {
        return false;
    }
    canvas = std::move(*picture);
    main.Picture1->refresh();
    main.Picture1->setEnabled(true);
    return true;
}

void captureCanvas(form1& main) {
    pictureToGrid(*main.Picture1, main.basePix);
    copyBaseToView(main.basePix, main.viewPix);
    main.angleA = kStartAngleA;
    main.angleR = kStartAngleR;
}

}  // namespace kestrane
