#include <QtTest>

#include "selection/form5.h"
#include "selection/point_profiles.h"
#include "windowing/form_slot.h"
#include "windowing/picture_box.h"
#include "workspace/bitmap_transfer.h"
#include "workspace/form1.h"

namespace kestrane {

class PointProfilesTest : public QObject {
    Q_OBJECT

private slots:
    // Height 3 * ((x + y) % 32) at grid cell [x, y]: along row 200 the heights start 24, 27, ...;
    // along column 100 they start 12, 15, ...
    void charts() {
        form1& main = form<form1>();
        const auto unload =
            qScopeGuard([] { setEndProgramAction([] {}), FormSlot<form1>::unload(); });
        for (int y = 0; y < PixelGrid::kSize; ++y) {
            for (int x = 0; x < PixelGrid::kSize; ++x)
                main.basePix(x, y) = {0, std::uint8_t(x % 200),
                                      std::uint8_t(7 + 8 * ((x + y) % 32))};
        }
        gridToPicture(*main.Picture1, main.basePix);
        showPointProfiles(main, 100, 200);
        const Form5& profiles = *FormSlot<Form5>::existing();
        const std::tuple<const char*, const PictureBox*, QPoint, QRgb> rows[] = {
            {"upper curve starts at height 24", profiles.Picture1, {0, 86}, 0xFFFFFFFFu},
            {"upper crossing marker", profiles.Picture1, {100, 50}, 0xFFFF0000u},
            {"lower curve starts at height 12", profiles.Picture2, {0, 98}, 0xFFFFFFFFu},
            {"lower drawn on a fresh box", profiles.Picture2, {0, 97}, 0xFF000000u},
            {"lower crossing marker", profiles.Picture2, {200, 50}, 0xFFFF0000u},
        };
        for (const auto& [name, box, at, colour] : rows) {
            // The box shows chart row r on its bitmap row r - 1.
            QVERIFY2(box->bitmap().pixel(at.x(), at.y() - 1) == colour, name);
        }
    }
};

}  // namespace kestrane

QTEST_MAIN(kestrane::PointProfilesTest)
#include "tst_point_profiles.moc"
