#include "selection/point_profiles.h"

#include "selection/form5.h"
#include "selection/height_map_builder.h"
#include "selection/profile_charts.h"
#include "windowing/form3_design.h"
#include "windowing/form_slot.h"
#include "windowing/window_placement.h"
#include "workspace/bitmap_transfer.h"
#include "workspace/form1.h"
#include "workspace/height_tables.h"
#include "workspace/numbers.h"

namespace kestrane {

void showPointProfiles(form1& main, float x, float y) {
    constexpr std::int16_t kLast = PixelGrid::kSize - 1;
    main.regionHeights = filledHeightMap(main.basePix, 0, 0, kLast, kLast);
    recreateProfileCanvas(main.profilePix);
    pictureToGrid(*main.Picture1, main.viewPix);

    FormSlot<Form5>::unload();
    Form5& profiles = form<Form5>();
    // Beside the main window, below where the graph window first appears.
    profiles.setFirstPlacement(
        [&main](QSize client) { return placeBeside(main, client, Form3Design::kClientHeight); });
    profiles.showModeless();
    profiles.profilesText =
        pointProfilesTable(main.regionHeights, roundHalfEven(x), roundHalfEven(y));

    drawHorizontalProfile(main.regionHeights, x, y, main.profilePix, main.viewPix);
    gridToPicture(*profiles.Picture1, main.profilePix);
    // The lower chart starts from what its fresh box shows, not from the upper chart.
    pictureToGrid(*profiles.Picture2, main.profilePix);
    drawVerticalProfile(main.regionHeights, x, y, main.profilePix, main.viewPix);
    gridToPicture(*main.Picture1, main.viewPix);
    gridToPicture(*profiles.Picture2, main.profilePix);
}

}  // namespace kestrane
