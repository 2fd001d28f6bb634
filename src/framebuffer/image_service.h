// The image service: turns an embedded resource into 32-bit pixels for the
// overlays and the sprite images. It holds one image at a time, the current
// image. Callers bracket their use with acquireImaging/releaseImaging, set
// `resourceType`, load, optionally resize, lock, copy the pixels out of
// `decodedPixels`, then unlock and release the image:
//
//   acquireImaging();
//   resourceType = resourceTypeBinaryData;
//   if (loadResourceImage("SPOT02") && lockCurrentImage()) { ...copy... }
//   unlockCurrentImage(); releaseCurrentImage(); releaseImaging();
//
// Worker thread only; all state is global and single-user.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/resources.h"

namespace lumivortex {

// Type of the resources loadResourceImage looks up: bitmap resources by
// default, resourceTypeBinaryData for the JPEG sprite images.
extern std::string resourceType;

// Values of the locked image: `decodedWidth` x `decodedHeight` pixels,
// rows top to bottom, `decodedStride` bytes apart (4 x width),
// `decodedBytes` = height x stride, pixels 0xAARRGGBB. `decodedPixels` is
// null while nothing is locked.
extern int decodedWidth;
extern int decodedHeight;
extern int decodedStride;
extern int decodedBytes;
extern const std::uint32_t* decodedPixels;

// Counted start and stop of the service: the first acquire starts it, the
// matching last release stops it and drops any image still held. Loading
// outside a bracket fails.
void acquireImaging();
void releaseImaging();
int imagingUserCount();

// Decodes the resource `name` (any case) of type `resourceType` into the
// current image, replacing (and freeing) any previous one. Returns 1 on
// success; 0 with no current image when the service is not acquired, the
// resource does not exist, or its bytes are not a valid JPEG or BMP.
int loadResourceImage(std::string_view name);

// The same from bytes in memory (also what loadResourceImage decodes).
int loadImageBytes(std::span<const std::uint8_t> bytes);

// Rescales the current image to width x height with a bicubic filter whose
// edges sample mirrored pixels (no dark rim). Returns 1 (also when the size
// is already right, leaving the image untouched); 0, keeping the image,
// when there is none or a side is not positive or larger than the
// decoder accepts (maxImageSide).
int resizeCurrentImage(int width, int height);

// Sets the decoded values for the current image. Returns 1, or 0 (with
// `decodedPixels` null) when there is no current image.
int lockCurrentImage();
void unlockCurrentImage();
void releaseCurrentImage();

}  // namespace lumivortex
