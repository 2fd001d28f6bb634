// libFuzzer entry for the image decoder: mutated JPEG and BMP bytes go in,
// and whatever comes back must be a consistent picture or a clean refusal.
#include <cstdint>
#include <cstdlib>

#include "framebuffer/image_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    lumivortex::DecodedImage image;
    const bool decoded = lumivortex::decodeImage({data, size}, image);
    const std::size_t expected = static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
    if (decoded ? (image.width <= 0 || image.height <= 0 || image.pixels.size() != expected)
                : (!image.pixels.empty() || image.width != 0 || image.height != 0)) {
        std::abort();
    }
    // Touch every pixel so that a short buffer shows up under the sanitizers.
    std::uint32_t sum = 0;
    for (const std::uint32_t p : image.pixels) sum += p;
    return static_cast<int>(sum & 0);
}
