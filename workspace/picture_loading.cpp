#include "workspace/picture_loading.h"

#include <optional>

#include "windowing/picture_box.h"
#include "workspace/bitmap_transfer.h"
#include "workspace/form1.h"
#include "workspace/numbers.h"
#include "workspace/picture_decoder.h"

namespace kestrane {

bool showPictureFile(form1& main, const QString& path) {
    QImage& canvas = main.Picture1->bitmap();
    std::optional<QImage> picture =
        decodePictureForCanvas(path, canvas.size(), QColor(form1::kCanvasBackground));
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
