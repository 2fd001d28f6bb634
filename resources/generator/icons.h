// The program's icons: the window emblem "ICON_MAIN" and the eight preview
// tiles "ICON_SSPRVW01".."ICON_SSPRVW08", drawn here and stored as icon files
// (an ICO container of 32-bit PNG images with alpha), resource type "ICON".
#pragma once

#include <vector>

#include "asset.h"

namespace lumivortex::generator {

std::vector<Asset> iconAssets();

}  // namespace lumivortex::generator
