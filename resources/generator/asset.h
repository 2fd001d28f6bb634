// One embedded resource as the generator makes it: its name, its type and the
// bytes of the file (a JPEG, a BMP, an icon image).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lumivortex::generator {

struct Asset {
    std::string name;
    std::string type;
    std::vector<std::uint8_t> data;
};

}  // namespace lumivortex::generator
