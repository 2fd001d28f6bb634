// Glyphs are pixel art: '#' is the letter's grey, '+' a darker edge pixel
// that softens corners and diagonal steps, '.' the black background. Text is
// laid out glyph by glyph onto a canvas of palette indices, which is then
// written as an uncompressed 4-bit BMP (bottom-up rows, 16-entry palette).
#include "overlay_bitmaps.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lumivortex::generator {
namespace {

// Palette indices of the canvas.
constexpr std::uint8_t inkBackground = 0;
constexpr std::uint8_t inkEdge = 1;
constexpr std::uint8_t inkMain = 2;

struct Glyph {
    char letter;
    std::vector<std::string_view> rows;  // all of one glyph's rows are equally long
    int width() const { return static_cast<int>(rows.front().size()); }
};

// Thin capitals, ten rows tall, for the logo.
const std::vector<Glyph> logoFont = {
    {'L', {"#.......", "#.......", "#.......", "#.......", "#.......", "#.......", "#.......",
           "#.......", "#.......", "########"}},
    {'U', {"#........#", "#........#", "#........#", "#........#", "#........#", "#........#",
           "#........#", "#........#", "+#......#+", ".+######+."}},
    {'M', {"#.........#", "##.......##", "#+#.....#+#", "#.+#...#+.#", "#..+#.#+..#", "#...+#+...#",
           "#.........#", "#.........#", "#.........#", "#.........#"}},
    {'I', {"#", "#", "#", "#", "#", "#", "#", "#", "#", "#"}},
    {'V', {"#.........#", "#.........#", "+#.......#+", ".#.......#.", ".+#.....#+.", "..#.....#..",
           "..+#...#+..", "...#...#...", "...+#.#+...", "....+#+...."}},
    {'O', {".+######+.", "+#......#+", "#........#", "#........#", "#........#", "#........#",
           "#........#", "#........#", "+#......#+", ".+######+."}},
    {'R', {"#######+.", "#......#+", "#.......#", "#.......#", "#......#+", "#######+.", "#....#+..",
           "#.....#+.", "#......#+", "#.......#"}},
    {'T', {"###########", ".....#.....", ".....#.....", ".....#.....", ".....#.....", ".....#.....",
           ".....#.....", ".....#.....", ".....#.....", ".....#....."}},
    {'E', {"########", "#.......", "#.......", "#.......", "#######.", "#.......", "#.......",
           "#.......", "#.......", "########"}},
    {'X', {"#.......#", "+#.....#+", ".+#...#+.", "..+#.#+..", "...+#+...", "...+#+...", "..+#.#+..",
           ".+#...#+.", "+#.....#+", "#.......#"}},
};

// Small letters for the key legend, seven rows: capitals fill them, the
// lower-case body takes the last five.
const std::vector<Glyph> legendFont = {
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    {'s', {".....", ".....", "+####", "#....", "+###+", "....#", "####+"}},
    {'c', {".....", ".....", "+####", "#....", "#....", "#....", "+####"}},
    {'x', {".....", ".....", "#...#", "+#.#+", "..#..", "+#.#+", "#...#"}},
    {'i', {"#", ".", "#", "#", "#", "#", "#"}},
    {'t', {".#..", ".#..", "####", ".#..", ".#..", ".#..", ".+##"}},
    {'n', {".....", ".....", "####+", "#...#", "#...#", "#...#", "#...#"}},
    {'e', {".....", ".....", "+###+", "#...#", "#####", "#....", "+####"}},
    {'r', {"....", "....", "#+##", "##..", "#...", "#...", "#..."}},
    {'a', {".....", ".....", "####+", "....#", "+####", "#...#", "+####"}},
};

const Glyph& glyphFor(const std::vector<Glyph>& font, char letter) {
    for (const Glyph& g : font) {
        if (g.letter == letter) return g;
    }
    throw std::invalid_argument(std::string("no glyph for '") + letter + "'");
}

// Palette indices, row 0 at the top.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height), ink_(width * height, inkBackground) {}

    int width() const { return width_; }
    int height() const { return height_; }
    std::uint8_t at(int x, int y) const { return ink_[y * width_ + x]; }

    void plot(int x, int y, std::uint8_t ink) {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) {
            throw std::out_of_range("pixel outside the bitmap");
        }
        ink_[y * width_ + x] = ink;
    }

    // Pixel art at (left, top): '#' main, '+' edge, anything else untouched.
    void draw(int left, int top, const std::vector<std::string_view>& rows) {
        for (int y = 0; y < static_cast<int>(rows.size()); ++y) {
            for (int x = 0; x < static_cast<int>(rows[y].size()); ++x) {
                if (rows[y][x] == '#') plot(left + x, top + y, inkMain);
                else if (rows[y][x] == '+') plot(left + x, top + y, inkEdge);
            }
        }
    }

private:
    int width_;
    int height_;
    std::vector<std::uint8_t> ink_;
};

int textWidth(const std::vector<Glyph>& font, std::string_view text, int spacing) {
    int width = 0;
    for (char c : text) width += glyphFor(font, c).width() + spacing;
    return text.empty() ? 0 : width - spacing;
}

// Draws text from (left, top); returns the column after its last glyph.
int drawText(Canvas& canvas, const std::vector<Glyph>& font, std::string_view text, int left, int top,
             int spacing) {
    for (char c : text) {
        const Glyph& g = glyphFor(font, c);
        canvas.draw(left, top, g.rows);
        left += g.width() + spacing;
    }
    return left - spacing;
}

// A key cap: a one-pixel outline with rounded corners, `height` rows tall.
void drawKeyBox(Canvas& canvas, int left, int width, int height) {
    const std::string straight = "#" + std::string(width - 2, '.') + "#";
    const std::string shoulder = "+#" + std::string(width - 4, '.') + "#+";
    const std::string edge = ".+" + std::string(width - 4, '#') + "+.";
    std::vector<std::string_view> rows(height, straight);
    rows[0] = rows[height - 1] = edge;
    rows[1] = rows[height - 2] = shoulder;
    canvas.draw(left, 0, rows);
}

// BITMAPFILEHEADER + BITMAPINFOHEADER + 16 palette entries + 4-bit rows,
// bottom-up, each row padded to a multiple of four bytes.
std::vector<std::uint8_t> encodeBmp4(const Canvas& canvas, std::uint32_t edgeColour, std::uint32_t mainColour) {
    constexpr std::uint32_t headerBytes = 14 + 40 + 16 * 4;
    const auto rowBytes = static_cast<std::uint32_t>((canvas.width() + 7) / 8 * 4);
    const std::uint32_t imageBytes = rowBytes * static_cast<std::uint32_t>(canvas.height());
    std::vector<std::uint8_t> out;
    auto u16 = [&out](std::uint32_t v) {
        out.push_back(static_cast<std::uint8_t>(v));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    auto u32 = [&u16](std::uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    out.push_back('B');
    out.push_back('M');
    u32(headerBytes + imageBytes);
    u32(0);
    u32(headerBytes);
    u32(40);
    u32(static_cast<std::uint32_t>(canvas.width()));
    u32(static_cast<std::uint32_t>(canvas.height()));  // positive: bottom-up
    u16(1);                                            // planes
    u16(4);                                            // bits per pixel
    u32(0);                                            // no compression
    u32(imageBytes);
    u32(2835);  // 72 dots per inch
    u32(2835);
    u32(16);  // palette entries
    u32(0);
    const std::uint32_t palette[16] = {0x000000, edgeColour, mainColour};
    for (std::uint32_t colour : palette) u32(colour & 0x00FFFFFF);  // blue, green, red, 0
    for (int y = canvas.height() - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        for (int x = 0; x < canvas.width(); x += 2) {
            const int right = x + 1 < canvas.width() ? canvas.at(x + 1, y) : inkBackground;
            out.push_back(static_cast<std::uint8_t>(canvas.at(x, y) << 4 | right));
        }
        out.resize(rowStart + rowBytes, 0);
    }
    return out;
}

// The program's name, thin capitals spread evenly across 159 x 12.
Asset logoBitmap() {
    constexpr std::string_view name = "LUMIVORTEX";
    constexpr int letterSpacing = 7;
    Canvas canvas(159, 12);
    const int left = (canvas.width() - textWidth(logoFont, name, letterSpacing)) / 2;
    drawText(canvas, logoFont, name, left, 1, letterSpacing);
    return {"LUMIVORTEX", "BITMAP", encodeBmp4(canvas, 0x545454, 0x7E7E7E)};
}

// The key legend, 155 x 13: [Esc] Exit, a gap, [Enter] Extra.
Asset legendBitmap() {
    constexpr int boxPadding = 5;   // columns between a key's outline and its text
    constexpr int labelGap = 6;     // columns between a key and what it does
    constexpr int textTop = 3;      // seven text rows centred in the 13-row keys
    constexpr int spacing = 1;
    Canvas canvas(155, 13);
    auto keyWidth = [&](std::string_view key) { return textWidth(legendFont, key, spacing) + 2 * boxPadding + 2; };
    const int groupsWidth = keyWidth("Esc") + labelGap + textWidth(legendFont, "Exit", spacing) +
                            keyWidth("Enter") + labelGap + textWidth(legendFont, "Extra", spacing);
    const int groupGap = canvas.width() - 1 - groupsWidth;  // one blank column at the right

    int x = 0;
    for (auto [key, label] : {std::pair<std::string_view, std::string_view>{"Esc", "Exit"}, {"Enter", "Extra"}}) {
        drawKeyBox(canvas, x, keyWidth(key), canvas.height());
        drawText(canvas, legendFont, key, x + 1 + boxPadding, textTop, spacing);
        x += keyWidth(key) + labelGap;
        x = drawText(canvas, legendFont, label, x, textTop, spacing) + groupGap;
    }
    return {"CONTROL_INFO", "BITMAP", encodeBmp4(canvas, 0x3F3F3F, 0x7F7F7F)};
}

}  // namespace

std::vector<Asset> overlayBitmapAssets() { return {logoBitmap(), legendBitmap()}; }

}  // namespace lumivortex::generator
