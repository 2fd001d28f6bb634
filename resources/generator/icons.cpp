// Draws the icons. Every shape is rendered with 4 x 4 supersampling into a
// premultiplied float canvas (antialiased edges), converted to straight
// 8-bit RGBA, encoded as PNG and wrapped in an ICO container; the program
// reads the container's directory and decodes the PNG it picks.
#include "icons.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace lumivortex::generator {
namespace {

struct Colour {
    float r, g, b;
};

// Premultiplied RGBA canvas.
struct Canvas {
    int width, height;
    std::vector<float> rgba;
    Canvas(int w, int h) : width(w), height(h), rgba(static_cast<std::size_t>(w) * h * 4, 0.0f) {}
};

using Inside = std::function<bool(float x, float y)>;
using Shade = std::function<Colour(float x, float y)>;

constexpr int subsamples = 4;

// Composites a shape over the canvas: `inside` decides coverage per
// subsample, `shade` gives the colour at the pixel centre, `alphaAt` its
// opacity (rows of the mirrored title fade out).
void paint(Canvas& canvas, const Inside& inside, const Shade& shade,
           const std::function<float(float x, float y)>& alphaAt) {
    for (int y = 0; y < canvas.height; ++y) {
        for (int x = 0; x < canvas.width; ++x) {
            int hits = 0;
            for (int sy = 0; sy < subsamples; ++sy) {
                for (int sx = 0; sx < subsamples; ++sx) {
                    const float px = x + (sx + 0.5f) / subsamples;
                    const float py = y + (sy + 0.5f) / subsamples;
                    hits += inside(px, py) ? 1 : 0;
                }
            }
            if (hits == 0) continue;
            const float cx = x + 0.5f, cy = y + 0.5f;
            const float a = alphaAt(cx, cy) * static_cast<float>(hits) / (subsamples * subsamples);
            const Colour c = shade(cx, cy);
            float* p = &canvas.rgba[(static_cast<std::size_t>(y) * canvas.width + x) * 4];
            p[0] = c.r * a + p[0] * (1 - a);
            p[1] = c.g * a + p[1] * (1 - a);
            p[2] = c.b * a + p[2] * (1 - a);
            p[3] = a + p[3] * (1 - a);
        }
    }
}

void paint(Canvas& canvas, const Inside& inside, const Shade& shade) {
    paint(canvas, inside, shade, [](float, float) { return 1.0f; });
}

Shade flat(float grey) {
    return [grey](float, float) { return Colour{grey, grey, grey}; };
}

Inside disc(float cx, float cy, float r) {
    return [=](float x, float y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
}

Inside ring(float cx, float cy, float outer, float inner) {
    return [=](float x, float y) {
        const float d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
        return d2 <= outer * outer && d2 >= inner * inner;
    };
}

// Straight 8-bit RGBA rows, top row first.
std::vector<std::uint8_t> toRgba8(const Canvas& canvas, int left, int top, int width, int height) {
    std::vector<std::uint8_t> out(static_cast<std::size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const float* p =
                &canvas.rgba[(static_cast<std::size_t>(top + y) * canvas.width + left + x) * 4];
            std::uint8_t* q = &out[(static_cast<std::size_t>(y) * width + x) * 4];
            const float a = std::clamp(p[3], 0.0f, 1.0f);
            for (int c = 0; c < 3; ++c) {
                const float straight = a > 0 ? p[c] / a : 0.0f;
                q[c] = static_cast<std::uint8_t>(std::lround(std::clamp(straight, 0.0f, 1.0f) * 255));
            }
            q[3] = static_cast<std::uint8_t>(std::lround(a * 255));
        }
    }
    return out;
}

std::vector<std::uint8_t> encodePng(const std::vector<std::uint8_t>& rgba, int width, int height) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) throw std::runtime_error("libpng: out of memory");
    std::vector<std::uint8_t> out;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("libpng: encoding failed");
    }
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, png_size_t length) {
            auto* sink = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(p));
            sink->insert(sink->end(), data, data + length);
        },
        nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        png_write_row(png, &rgba[static_cast<std::size_t>(y) * width * 4]);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

void putLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

struct IconImage {
    int size;
    std::vector<std::uint8_t> png;
};

// ICO container: 6-byte header, one 16-byte entry per image, then the images.
std::vector<std::uint8_t> icoContainer(const std::vector<IconImage>& images) {
    std::vector<std::uint8_t> out;
    putLe(out, 0, 2);
    putLe(out, 1, 2);
    putLe(out, static_cast<std::uint32_t>(images.size()), 2);
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (const IconImage& image : images) {
        out.push_back(static_cast<std::uint8_t>(image.size));  // width (0 would mean 256)
        out.push_back(static_cast<std::uint8_t>(image.size));  // height
        out.push_back(0);                                      // no palette
        out.push_back(0);
        putLe(out, 1, 2);   // planes
        putLe(out, 32, 2);  // bits per pixel
        putLe(out, static_cast<std::uint32_t>(image.png.size()), 4);
        putLe(out, offset, 4);
        offset += static_cast<std::uint32_t>(image.png.size());
    }
    for (const IconImage& image : images) out.insert(out.end(), image.png.begin(), image.png.end());
    return out;
}

IconImage iconImage(const Canvas& canvas, int left, int top, int size) {
    return {size, encodePng(toRgba8(canvas, left, top, size, size), size, size)};
}

// The window emblem: a white ring with a black centre inside a grey disc.
Canvas mainEmblem(int size) {
    Canvas canvas(size, size);
    const float c = size / 2.0f;
    paint(canvas, disc(c, c, c - 0.25f), flat(0.55f));
    paint(canvas, disc(c, c, size * 0.34f), flat(1.0f));
    paint(canvas, disc(c, c, size * 0.19f), flat(0.0f));
    return canvas;
}

// The preview emblem, 64 x 64: a softly lit white ball with a dark ring
// inset at its upper left.
Canvas previewEmblem() {
    Canvas canvas(64, 64);
    const float c = 32.0f, r = 30.5f;
    paint(canvas, disc(c, c, r), [=](float x, float y) {
        // Light from the upper left: brightest there, a little grey at the lower right rim.
        const float dx = (x - c) / r, dy = (y - c) / r;
        const float nz = std::sqrt(std::max(0.0f, 1 - dx * dx - dy * dy));
        const float light = std::clamp(-0.45f * dx - 0.45f * dy + 0.77f * nz, 0.0f, 1.0f);
        const float grey = 0.72f + 0.28f * light;
        return Colour{grey, grey, grey};
    });
    paint(canvas, ring(21.0f, 21.0f, 10.0f, 6.0f), flat(0.16f));
    return canvas;
}

// Thin pixel letters of the title: strokes between pixel centres in a
// 9 x 14 pixel cell.
struct Stroke {
    int x0, y0, x1, y1;
};

std::vector<Stroke> letterStrokes(char letter) {
    switch (letter) {
        case 'L': return {{0, 0, 0, 13}, {0, 13, 8, 13}};
        case 'U': return {{0, 0, 0, 11}, {0, 11, 2, 13}, {2, 13, 6, 13}, {6, 13, 8, 11}, {8, 11, 8, 0}};
        case 'M': return {{0, 13, 0, 0}, {0, 0, 4, 7}, {4, 7, 8, 0}, {8, 0, 8, 13}};
        case 'I': return {{4, 0, 4, 13}, {2, 0, 6, 0}, {2, 13, 6, 13}};
        case 'V': return {{0, 0, 4, 13}, {4, 13, 8, 0}};
        case 'O':
            return {{2, 0, 6, 0}, {6, 0, 8, 2}, {8, 2, 8, 11}, {8, 11, 6, 13},
                    {6, 13, 2, 13}, {2, 13, 0, 11}, {0, 11, 0, 2}, {0, 2, 2, 0}};
        case 'R':
            return {{0, 13, 0, 0}, {0, 0, 6, 0}, {6, 0, 8, 2}, {8, 2, 8, 5},
                    {8, 5, 6, 7}, {6, 7, 0, 7}, {4, 7, 8, 13}};
        case 'T': return {{0, 0, 8, 0}, {4, 0, 4, 13}};
        case 'E': return {{8, 0, 0, 0}, {0, 0, 0, 13}, {0, 13, 8, 13}, {0, 7, 6, 7}};
        case 'X': return {{0, 0, 8, 13}, {8, 0, 0, 13}};
        default: return {};
    }
}

float distanceToSegment(float px, float py, float ax, float ay, float bx, float by) {
    const float vx = bx - ax, vy = by - ay;
    const float len2 = vx * vx + vy * vy;
    const float t = len2 > 0 ? std::clamp(((px - ax) * vx + (py - ay) * vy) / len2, 0.0f, 1.0f) : 0.0f;
    const float dx = px - (ax + t * vx), dy = py - (ay + t * vy);
    return std::sqrt(dx * dx + dy * dy);
}

constexpr int titleLeft = 5;      // first letter's column in the strip
constexpr int titleTop = 2;       // top row of the letters
constexpr int letterAdvance = 12; // 9 pixel cell + 3 pixel gap
constexpr int mirrorAxis = 32;    // row y of the letters appears at row 32 - y below them

// True when (x, y) lies on a stroke of the title; `mirrored` reflects the
// title about the row below it.
bool onTitle(const std::string& title, float x, float y, bool mirrored) {
    if (mirrored) y = mirrorAxis - y;
    for (std::size_t i = 0; i < title.size(); ++i) {
        const float left = titleLeft + letterAdvance * static_cast<float>(i) + 0.5f;
        const float top = titleTop + 0.5f;
        for (const Stroke& s : letterStrokes(title[i])) {
            if (distanceToSegment(x, y, left + s.x0, top + s.y0, left + s.x1, top + s.y1) <= 0.5f) {
                return true;
            }
        }
    }
    return false;
}

// The title strip, 128 x 32: the name in thin grey letters above a
// mirror image that fades out downwards.
Canvas titleStrip() {
    const std::string title = "LUMIVORTEX";
    Canvas canvas(128, 32);
    paint(canvas, [&](float x, float y) { return onTitle(title, x, y, false); }, flat(0.71f));
    paint(
        canvas, [&](float x, float y) { return onTitle(title, x, y, true); }, flat(0.71f),
        [](float, float y) { return std::clamp(0.45f * (1 - (y - 17) / 14), 0.05f, 0.45f); });
    return canvas;
}

Asset iconAsset(const std::string& name, const std::vector<IconImage>& images) {
    return {name, "ICON", icoContainer(images)};
}

}  // namespace

std::vector<Asset> iconAssets() {
    std::vector<Asset> assets;
    std::vector<IconImage> mainImages;
    for (int size : {48, 32, 16}) mainImages.push_back(iconImage(mainEmblem(size), 0, 0, size));
    assets.push_back(iconAsset("ICON_MAIN", mainImages));

    // Preview tiles: 01..04 are the emblem's quarters (left to right, top to
    // bottom), 05..08 the title strip's four 32-pixel columns.
    const Canvas emblem = previewEmblem();
    const Canvas strip = titleStrip();
    for (int tile = 0; tile < 8; ++tile) {
        const bool inEmblem = tile < 4;
        const Canvas& source = inEmblem ? emblem : strip;
        const int left = inEmblem ? (tile % 2) * 32 : (tile - 4) * 32;
        const int top = inEmblem ? (tile / 2) * 32 : 0;
        const std::string name = "ICON_SSPRVW0" + std::to_string(tile + 1);
        assets.push_back(iconAsset(name, {iconImage(source, left, top, 32)}));
    }
    return assets;
}

}  // namespace lumivortex::generator
