#include "png_file.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace lumivortex::render_tool {

namespace {

struct PngWriter {
    std::FILE* file = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~PngWriter() {
        if (png != nullptr) png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
        if (file != nullptr) std::fclose(file);
    }
};

// Everything libpng may leave by longjmp happens in here, and no object
// with a destructor lives in this frame, so nothing is skipped or clobbered
// when it does. `row` holds width * 3 bytes. Returns false when the encoder
// failed.
bool encodeRows(const PngWriter& w, int width, int height,
                const std::function<const std::uint32_t*(int y)>& rowPixels, png_byte* row) {
    if (setjmp(png_jmpbuf(w.png))) return false;
    png_init_io(w.png, w.file);
    png_set_IHDR(w.png, w.info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(w.png, w.info);
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* pixels = rowPixels(y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<png_byte>(pixels[x] >> 16);
            row[3 * x + 1] = static_cast<png_byte>(pixels[x] >> 8);
            row[3 * x + 2] = static_cast<png_byte>(pixels[x]);
        }
        png_write_row(w.png, row);
    }
    png_write_end(w.png, nullptr);
    return true;
}

}  // namespace

bool writePng(const std::string& path, int width, int height,
              const std::function<const std::uint32_t*(int y)>& rowPixels, std::string& error) {
    PngWriter w;
    w.file = std::fopen(path.c_str(), "wb");
    if (w.file == nullptr) {
        error = "cannot create " + path + ": " + std::strerror(errno);
        return false;
    }
    w.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (w.png != nullptr) w.info = png_create_info_struct(w.png);
    if (w.png == nullptr || w.info == nullptr) {
        error = "cannot start the PNG encoder";
        return false;
    }
    std::vector<png_byte> row(static_cast<std::size_t>(width) * 3);
    if (!encodeRows(w, width, height, rowPixels, row.data())) {
        error = "cannot write " + path;
        return false;
    }
    const int closed = std::fclose(w.file);
    w.file = nullptr;
    if (closed != 0) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace lumivortex::render_tool
