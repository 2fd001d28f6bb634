// The five soft-spot sprite images "SPOT01" to "SPOT05": 511 x 511 greyscale
// JPEGs, radially symmetric around pixel (255, 255), drawn from tabulated
// grey levels along the radius and exactly 0 beyond radius 255.
#pragma once

#include <array>
#include <string_view>
#include <vector>

#include "asset.h"

namespace lumivortex::generator {

inline constexpr int spotImageSize = 511;
inline constexpr int spotImageCentre = 255;

// Grey level of one spot at the tabulated distances 0, 16, ..., 240, 255.
struct SpotProfile {
    std::string_view name;
    std::array<int, 17> grey;
};

// Distance of tabulated point k from the centre.
constexpr double spotProfileDistance(int k) {
    return k < 16 ? 16.0 * k : 255.0;
}

inline constexpr std::array<SpotProfile, 5> spotProfiles{{
    {"SPOT01", {255, 255, 255, 255, 255, 255, 255, 253, 138, 77, 48, 32, 20, 12, 7, 3, 1}},
    {"SPOT02", {255, 255, 255, 176, 128, 100, 79, 63, 49, 37, 28, 20, 14, 10, 7, 3, 1}},
    {"SPOT03", {255, 255, 255, 254, 254, 252, 250, 247, 242, 236, 230, 222, 188, 53, 18, 4, 2}},
    {"SPOT04", {253, 253, 253, 252, 251, 249, 245, 241, 235, 225, 210, 191, 164, 134, 102, 74, 9}},
    {"SPOT05", {255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 153, 71, 35, 15, 5, 0}},
}};

// The five images as "BINARYDATA" resources.
std::vector<Asset> spotImages();

}  // namespace lumivortex::generator
