// Bytes in, pixels out: the first bytes pick the format, libjpeg-turbo
// decodes JPEGs straight into 0xAARRGGBB rows (as BGRA bytes), stb_image
// decodes BMPs into RGBA bytes that are then repacked. Both decoders are
// made to fail cleanly: libjpeg's error exit and its corrupt-data warnings
// jump back to the caller instead of ending the process, and a BMP whose
// pixel array is shorter than its header promises (or whose compression stb
// cannot read) is refused before stb would quietly pad it with black.
#include "framebuffer/image_decoder.h"

#include <bit>
#include <csetjmp>
#include <cstddef>
#include <cstdio>  // jpeglib.h needs FILE declared first

#include <jpeglib.h>

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_MAX_DIMENSIONS 4096
#include <stb/stb_image.h>

namespace lumivortex {

static_assert(std::endian::native == std::endian::little,
              "0xAARRGGBB pixels are stored as B, G, R, A bytes");
static_assert(STBI_MAX_DIMENSIONS == maxImageSide);

namespace {

// Progressive JPEGs may carry thousands of tiny scans, each costing a pass
// over the coefficients; real images use about ten.
constexpr int maxJpegScans = 200;
// Working memory libjpeg may take (the coefficient buffers of a progressive
// colour image of the largest accepted size fit in it).
constexpr long maxJpegMemory = 256L << 20;

// libjpeg's error manager with the place to jump back to. The manager is the
// first member, so the library's pointer to it is also a pointer to the trap.
struct JpegErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf escape;
};

struct JpegSession {
    jpeg_decompress_struct info;
    JpegErrorTrap trap;
    jpeg_progress_mgr progress;
};

[[noreturn]] void escape(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegErrorTrap*>(info->err)->escape, 1);
}

// Level -1 is a warning about corrupt or missing data (premature end, bad
// Huffman code); positive levels are trace messages, which are ignored.
void escapeOnWarning(j_common_ptr info, int level) {
    if (level < 0) escape(info);
}

void limitScans(j_common_ptr info) {
    if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > maxJpegScans) escape(info);
}

// Runs inside the trap: any failure in here jumps back to decodeJpeg.
void readJpeg(JpegSession& s, std::span<const std::uint8_t> bytes, DecodedImage& out) {
    jpeg_create_decompress(&s.info);
    s.info.mem->max_memory_to_use = maxJpegMemory;
    s.progress.progress_monitor = limitScans;
    s.info.progress = &s.progress;
    jpeg_mem_src(&s.info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&s.info, TRUE);
    if (s.info.image_width > maxImageSide || s.info.image_height > maxImageSide) {
        escape(reinterpret_cast<j_common_ptr>(&s.info));
    }
    // Greyscale, YCbCr and RGB sources convert to BGRA with alpha 0xFF;
    // CMYK cannot and fails in jpeg_start_decompress.
    s.info.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&s.info);

    const std::size_t width = s.info.output_width;
    out.width = static_cast<int>(width);
    out.height = static_cast<int>(s.info.output_height);
    // Reserved but filled row by row: a damaged file that claims a large
    // picture fails at its first missing row without touching the rest.
    out.pixels.reserve(width * s.info.output_height);
    while (s.info.output_scanline < s.info.output_height) {
        out.pixels.resize(out.pixels.size() + width);
        JSAMPROW row = reinterpret_cast<JSAMPROW>(&out.pixels[s.info.output_scanline * width]);
        jpeg_read_scanlines(&s.info, &row, 1);
    }
    jpeg_finish_decompress(&s.info);
}

bool decodeJpeg(std::span<const std::uint8_t> bytes, DecodedImage& out) {
    // Zeroed, so that destroying works whatever point the decoder reached.
    JpegSession s{};
    s.info.err = jpeg_std_error(&s.trap.manager);
    s.trap.manager.error_exit = escape;
    s.trap.manager.emit_message = escapeOnWarning;
    // Only memory-resident state is touched after setjmp, so nothing is
    // clobbered by the jump.
    if (setjmp(s.trap.escape) != 0) {
        jpeg_destroy_decompress(&s.info);
        out = {};
        return false;
    }
    readJpeg(s, bytes, out);
    jpeg_destroy_decompress(&s.info);
    return true;
}

std::uint32_t readLittleEndian(std::span<const std::uint8_t> bytes, std::size_t at, int count) {
    std::uint32_t v = 0;
    for (int k = count - 1; k >= 0; --k) v = (v << 8) | bytes[at + static_cast<std::size_t>(k)];
    return v;
}

// True when the BMP is uncompressed (plain or with bit-field masks; stb_image
// reads no run-length or embedded formats and would take an unknown
// compression code for none), has a full palette if it has one, and holds
// all the pixel rows its header announces (stb_image would read missing
// bytes as zeros).
bool bmpPixelDataComplete(std::span<const std::uint8_t> bytes) {
    constexpr std::size_t coreHeaderSize = 12;  // the old 16-bit-size header
    if (bytes.size() < 26) return false;
    const std::int64_t pixelOffset = readLittleEndian(bytes, 10, 4);
    const bool core = readLittleEndian(bytes, 14, 4) == coreHeaderSize;
    if (!core && bytes.size() < 34) return false;
    std::int64_t width, height, bitsPerPixel, compression;
    if (core) {
        width = readLittleEndian(bytes, 18, 2);
        height = readLittleEndian(bytes, 20, 2);
        bitsPerPixel = readLittleEndian(bytes, 24, 2);
        compression = 0;
    } else {
        width = static_cast<std::int32_t>(readLittleEndian(bytes, 18, 4));
        height = static_cast<std::int32_t>(readLittleEndian(bytes, 22, 4));
        bitsPerPixel = readLittleEndian(bytes, 28, 2);
        compression = readLittleEndian(bytes, 30, 4);
    }
    if (height < 0) height = -height;  // top-down rows
    if (width <= 0 || width > maxImageSide || height == 0 || height > maxImageSide) return false;
    constexpr std::int64_t uncompressed = 0, bitFields = 3, alphaBitFields = 6;
    if (compression != uncompressed && compression != bitFields && compression != alphaBitFields) return false;
    if (bitsPerPixel <= 8) {
        // stb_image leaves palette entries the file lacks undefined, so a
        // palette image must carry a colour for every possible index.
        const std::int64_t headerEnd = 14 + (core ? 12 : readLittleEndian(bytes, 14, 4));
        const std::int64_t paletteBytes = (core ? 3 : 4) * (std::int64_t{1} << bitsPerPixel);
        if (pixelOffset < headerEnd + paletteBytes) return false;
    }
    const std::int64_t rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
    return pixelOffset + rowBytes * height <= static_cast<std::int64_t>(bytes.size());
}

bool decodeBmp(std::span<const std::uint8_t> bytes, DecodedImage& out) {
    if (!bmpPixelDataComplete(bytes) || bytes.size() > 0x7FFFFFFF) return false;
    int width = 0, height = 0, channels = 0;
    stbi_uc* rgba = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &width, &height,
                                          &channels, 4);
    if (rgba == nullptr) return false;
    out.width = width;
    out.height = height;
    out.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (std::size_t i = 0; i < out.pixels.size(); ++i) {
        const stbi_uc* p = rgba + 4 * i;
        out.pixels[i] = std::uint32_t{p[3]} << 24 | std::uint32_t{p[0]} << 16 | std::uint32_t{p[1]} << 8 | p[2];
    }
    stbi_image_free(rgba);
    return true;
}

}  // namespace

bool decodeImage(std::span<const std::uint8_t> bytes, DecodedImage& out) {
    out = {};
    if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) return decodeJpeg(bytes, out);
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') return decodeBmp(bytes, out);
    return false;
}

}  // namespace lumivortex
