// Overlay bitmaps: small pictures from the program's resources combined with
// the finished frame near a corner of the viewport (the logo and the key
// legend). Loading decodes, rescales and tints once through the image
// service and keeps the overlay's own 32-bit pixels; per frame the overlay is
// anchored to a corner and drawn, a plain pass over its rows, clipped to the
// viewport.
#pragma once

#include <cstdint>
#include <string_view>

namespace lumivortex {

// Multiplied into the colour pixels of the next load (red, green, blue each
// times tint / 256; the tint's alpha plays no part), then set back to
// 0xFFFFFFFF by every load.
extern std::uint32_t imageTint;

// How drawOverlay combines an overlay pixel s with the frame pixel d.
enum OverlayDrawKind : int {
    overlayCopy = 0,         // any kind not listed: s replaces d, all 32 bits
    overlayBlend = 1,        // alpha blend by s's alpha byte: 255 = s, 0 = d, else lerpColour(d, s, a)
    overlayAdd = 2,          // addColour(d, s)
    overlaySubtract = 3,     // subtractColour(d, s)
    overlayHiddenFirst = 4,  // 4, 5 and 6 draw nothing
    overlayHiddenLast = 6,
    overlayCutBlack = 7,     // where s is 0xFF000000, d becomes 0
    overlayCutWhite = 8,     // where s is 0xFFFFFFFF, d becomes 0x00FFFFFF
};

struct OverlayBitmap {
    // All positions 0, drawKind 1, then loadOverlay with these arguments.
    OverlayBitmap(std::string_view colourName, std::string_view alphaName, int width, int height);
    ~OverlayBitmap();
    OverlayBitmap(const OverlayBitmap&) = delete;
    OverlayBitmap& operator=(const OverlayBitmap&) = delete;

    // Replaces the pixels with the named bitmap resources (of the image
    // service's resourceType): the colour image tinted by imageTint, with
    // alpha 0xFF, or the alpha image's blue channel as alpha. An empty name
    // means no such image. width -1 keeps the image's own size (height is
    // then ignored); height -1 is the same as width. An alpha image is
    // rescaled to the colour image's size. A missing or undecodable resource
    // is fatal. Returns 1 when the overlay has pixels.
    int loadOverlay(std::string_view colourName, std::string_view alphaName, int newWidth, int newHeight);

    // Puts the overlay's bottom row marginY rows above the viewport's bottom
    // edge and its left (right) column marginX columns from the left (right)
    // edge. kind -1 keeps drawKind.
    void anchorBottomLeft(int marginX, int marginY, int kind);
    void anchorBottomRight(int marginX, int marginY, int kind);

    // Combines the overlay with the frame by drawKind; the part outside the
    // viewport is not drawn.
    void drawOverlay() const;

    int left = 0;    // viewport column of the first column
    int top = 0;     // viewport row of the first row
    int width = 0;
    int height = 0;
    int right = 0;   // left + width - 1
    int bottom = 0;  // top + height - 1
    int drawKind = overlayBlend;
    std::uint32_t* pixels = nullptr;  // width x height, rows top to bottom; 16-byte aligned, owned

private:
    void placeAt(int newLeft, int newTop, int kind);
};

}  // namespace lumivortex
