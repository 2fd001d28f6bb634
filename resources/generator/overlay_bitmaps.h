// The two overlay bitmaps: the logo "LUMIVORTEX" (159 x 12) and the key
// legend "CONTROL_INFO" (155 x 13), drawn here in the program's own pixel
// font and stored as 4-bit palette BMP files, resource type "BITMAP".
#pragma once

#include <vector>

#include "asset.h"

namespace lumivortex::generator {

std::vector<Asset> overlayBitmapAssets();

}  // namespace lumivortex::generator
