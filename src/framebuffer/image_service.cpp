// Resource bytes -> decodeImage -> current image -> (resize) -> lock, which
// publishes the decoded values the callers copy from. The current image is
// already top-down 32-bit ARGB, so locking only points at it.
#include "framebuffer/image_service.h"

#include <utility>

#include "framebuffer/image_decoder.h"

#define STB_IMAGE_RESIZE_STATIC
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include <stb/stb_image_resize.h>

namespace lumivortex {

std::string resourceType{resourceTypeBitmap};
int decodedWidth = 0;
int decodedHeight = 0;
int decodedStride = 0;
int decodedBytes = 0;
const std::uint32_t* decodedPixels = nullptr;

namespace {

int userCount = 0;
bool hasCurrentImage = false;
DecodedImage currentImage;

// The library mirrors only one image width beyond each edge (and reads out
// of bounds past that); where the cubic filter reaches farther, that is
// for a source of a few pixels or a strong reduction, the edge pixels are
// repeated instead. Reach: two source pixels, times the reduction factor.
stbir_edge edgeMode(int from, int to) {
    const double reach = from > to ? 2.0 * from / to + 2 : 3;
    return reach >= from ? STBIR_EDGE_CLAMP : STBIR_EDGE_REFLECT;
}

// Any change of the current image ends a lock on it.
void replaceCurrentImage(DecodedImage&& image, bool present) {
    decodedPixels = nullptr;
    currentImage = std::move(image);
    hasCurrentImage = present;
}

}  // namespace

void acquireImaging() {
    ++userCount;
}

void releaseImaging() {
    if (userCount == 0) return;
    if (--userCount == 0) replaceCurrentImage({}, false);
}

int imagingUserCount() {
    return userCount;
}

int loadImageBytes(std::span<const std::uint8_t> bytes) {
    DecodedImage image;
    const bool decoded = userCount > 0 && decodeImage(bytes, image);
    replaceCurrentImage(std::move(image), decoded);
    return decoded ? 1 : 0;
}

int loadResourceImage(std::string_view name) {
    const Resource* resource = findResource(name, resourceType);
    if (resource == nullptr) {
        replaceCurrentImage({}, false);
        return 0;
    }
    return loadImageBytes(resource->data);
}

int resizeCurrentImage(int width, int height) {
    if (!hasCurrentImage || width <= 0 || height <= 0 || width > maxImageSide || height > maxImageSide) return 0;
    if (width == currentImage.width && height == currentImage.height) return 1;

    DecodedImage resized{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height)};
    // Pixels are B, G, R, A bytes in memory, so alpha is channel 3. Catmull-Rom
    // interpolates: plateaus and sampled grey levels of a soft spot survive,
    // where a B-spline would blur its shoulder and lower its peak. Mirrored
    // edges keep the border pixels from being mixed with black.
    const int ok = stbir_resize(currentImage.pixels.data(), currentImage.width, currentImage.height,
                                4 * currentImage.width, resized.pixels.data(), width, height, 4 * width,
                                STBIR_TYPE_UINT8, 4, 3, 0, edgeMode(currentImage.width, width),
                                edgeMode(currentImage.height, height), STBIR_FILTER_CATMULLROM,
                                STBIR_FILTER_CATMULLROM, STBIR_COLORSPACE_LINEAR, nullptr);
    if (!ok) return 0;
    replaceCurrentImage(std::move(resized), true);
    return 1;
}

int lockCurrentImage() {
    if (!hasCurrentImage) {
        decodedPixels = nullptr;
        return 0;
    }
    decodedWidth = currentImage.width;
    decodedHeight = currentImage.height;
    decodedStride = 4 * currentImage.width;
    decodedBytes = decodedHeight * decodedStride;
    decodedPixels = currentImage.pixels.data();
    return 1;
}

void unlockCurrentImage() {
    decodedPixels = nullptr;
}

void releaseCurrentImage() {
    replaceCurrentImage({}, false);
}

}  // namespace lumivortex
