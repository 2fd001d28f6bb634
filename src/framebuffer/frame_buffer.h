// The one 32-bit frame buffer everything is drawn into, its viewport and
// its presentation. Memory row 0 is the bottom row of the picture (bottom-up
// buffer); drawing code never relies on that and addresses viewport pixel
// (x, y) as framePixels[rowOffsets[y] + x], viewport row 0 at the top.
//
// Worker thread: size -> margins -> row table -> buffer; per frame
// prepareFrame (when needsClear) ... drawing ... presentFrame, which hands the
// viewport to the window synchronously. The window thread only repaints the
// last presented frame (presentRect while painting).
//
// frameWidth, frameHeight, fullScreen, backgroundColour and clearColour are
// host settings (host/host_config.h).
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/host_config.h"

namespace lumivortex {

inline constexpr int fullScreenSize = 9999999;   // setFrameSize width: the screen's size
inline constexpr int rowTableCapacity = 4320;    // 8K screens; taller frames are limited to it
inline constexpr int minimumFrameSize = 16;      // the viewport keeps at least 16 x 16 pixels

extern std::uint32_t* framePixels;               // null while no buffer exists
extern int rowOffsets[rowTableCapacity];         // pixel index of viewport pixel (0, y)
extern int rowsTopDown;                          // 1: viewport row 0 is the top of the picture
extern int viewportLeft, viewportTop;            // margins, mirrored right and bottom
extern int viewportWidth, viewportHeight;
extern int viewportMaxX, viewportMaxY;           // clipping limits: width - 1, height - 1
extern int hasMargins;                           // viewportLeft | viewportTop
extern int viewportChanged;                      // set by setViewportMargins, cleared by prepareFrame
extern double zoom;                              // scale of projectionScale
extern double projectionScale;                   // viewportHeight * zoom / 600

// Fills count pixels with a colour: byte-wise when blue = green = red (the
// alpha byte then takes that value too), else pixel by pixel.
void fillPixels(std::uint32_t* pixels, std::size_t count, std::uint32_t colour);

// Width fullScreenSize: the screen's size and fullScreen = 1 (height
// ignored); else the given size and fullScreen = 0. Either is limited to
// 16 .. 32768 columns and 16 .. rowTableCapacity rows. Then margins 0.
void setFrameSize(int width, int height);
// top -1: same as left. Clamped so at least 16 columns and rows remain.
void setViewportMargins(int left, int top);
void buildRowTable(int topDown);

void createFrameBuffer();
void releaseFrameBuffer();
void recreateFrameBuffer();

// Fills with backgroundColour: the whole buffer for left 0, else the rows
// top .. frameHeight - top - 1, columns left .. frameWidth - left - 1.
void clearFrame(int left, int top);
// 1 when the viewport must be cleared this frame (no fade, or it changed).
int needsClear();
// First step of a frame: after a viewport change the whole buffer is filled
// with clearColour and shown at once; then the viewport is cleared.
void prepareFrame();
// Copies the viewport to the window; returns 1.
int presentFrame();
// Copies (x, y)-(frameWidth - x, frameHeight - y) to the window; y -1 = x.
// On the window thread (painting) it repaints the last presented frame.
void presentRect(int x, int y);

}  // namespace lumivortex
