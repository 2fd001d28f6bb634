// Tabulated profile -> monotone cubic (Fritsch-Carlson) -> grey level per
// pixel from its distance to the centre -> greyscale JPEG. The JPEG is
// decoded again: blocks where a pixel beyond radius 255 does not come back
// exactly 0 (the sprite kernels stop a row at the first zero texel) are
// lowered until it does, and every pixel must stay within two grey levels
// of the drawn one; otherwise the generator fails and with it the build.
#include "spot_images.h"

#include <algorithm>
#include <cmath>
#include <cstdio>  // jpeglib.h needs FILE declared first
#include <cstdlib>
#include <stdexcept>
#include <string>

#include <jpeglib.h>

namespace lumivortex::generator {
namespace {

constexpr int knotCount = 17;
constexpr std::size_t pixelCount = static_cast<std::size_t>(spotImageSize) * spotImageSize;
constexpr int blocksPerRow = (spotImageSize + DCTSIZE - 1) / DCTSIZE;
// Each step lowers a block by an eighth of a grey level; stray levels are
// at most two, so about sixteen steps suffice.
constexpr int maxMeanSteps = 16;
constexpr int tolerance = 2;  // grey levels a decoded pixel may differ by

// Hermite tangents at the knots, limited so that the cubic never overshoots
// between two tabulated levels (Fritsch-Carlson).
std::array<double, knotCount> monotoneTangents(const SpotProfile& profile) {
    std::array<double, knotCount - 1> secant{};
    for (int k = 0; k + 1 < knotCount; ++k) {
        secant[k] = (profile.grey[k + 1] - profile.grey[k]) / (spotProfileDistance(k + 1) - spotProfileDistance(k));
    }
    std::array<double, knotCount> tangent{};
    tangent[0] = secant[0];
    tangent[knotCount - 1] = secant[knotCount - 2];
    for (int k = 1; k + 1 < knotCount; ++k) {
        tangent[k] = secant[k - 1] * secant[k] <= 0 ? 0.0 : (secant[k - 1] + secant[k]) / 2;
    }
    for (int k = 0; k + 1 < knotCount; ++k) {
        if (secant[k] == 0) {
            tangent[k] = tangent[k + 1] = 0;
            continue;
        }
        const double a = tangent[k] / secant[k];
        const double b = tangent[k + 1] / secant[k];
        const double length = std::hypot(a, b);
        if (length > 3) {
            tangent[k] = 3 / length * a * secant[k];
            tangent[k + 1] = 3 / length * b * secant[k];
        }
    }
    return tangent;
}

// Grey level at distance d: the monotone cubic through the tabulated points,
// 0 beyond distance 255.
double spotGrey(const SpotProfile& profile, const std::array<double, knotCount>& tangent, double d) {
    if (d > 255) return 0;
    const int k = std::min(static_cast<int>(d / 16), knotCount - 2);
    const double x0 = spotProfileDistance(k);
    const double h = spotProfileDistance(k + 1) - x0;
    const double t = (d - x0) / h;
    const double t2 = t * t;
    const double t3 = t2 * t;
    return (2 * t3 - 3 * t2 + 1) * profile.grey[k] + (t3 - 2 * t2 + t) * h * tangent[k] +
           (-2 * t3 + 3 * t2) * profile.grey[k + 1] + (t3 - t2) * h * tangent[k + 1];
}

// Greyscale pixels of one spot, row by row.
std::vector<std::uint8_t> drawSpot(const SpotProfile& profile) {
    const std::array<double, knotCount> tangent = monotoneTangents(profile);
    std::vector<std::uint8_t> grey(pixelCount);
    for (int y = 0; y < spotImageSize; ++y) {
        for (int x = 0; x < spotImageSize; ++x) {
            const double d = std::hypot(x - spotImageCentre, y - spotImageCentre);
            grey[static_cast<std::size_t>(y) * spotImageSize + x] =
                static_cast<std::uint8_t>(std::lround(spotGrey(profile, tangent, d)));
        }
    }
    return grey;
}

// Greyscale JPEG at quality 100: no chroma to subsample and quantisation
// steps of 1, so the error stays well below one grey level.
std::vector<std::uint8_t> encodeGreyJpeg(const std::vector<std::uint8_t>& grey) {
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = spotImageSize;
    info.image_height = spotImageSize;
    info.input_components = 1;
    info.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    info.dct_method = JDCT_ISLOW;
    info.optimize_coding = TRUE;
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(&grey[static_cast<std::size_t>(info.next_scanline) * spotImageSize]);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<std::uint8_t> jpeg(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return jpeg;
}

void checkCloseToDrawn(const SpotProfile& profile, const std::vector<std::uint8_t>& drawn,
                       const std::vector<std::uint8_t>& decoded) {
    for (std::size_t i = 0; i < pixelCount; ++i) {
        if (std::abs(drawn[i] - decoded[i]) > tolerance) {
            throw std::runtime_error(std::string(profile.name) + ": pixel " + std::to_string(i) + " drawn " +
                                     std::to_string(drawn[i]) + " decodes to " + std::to_string(decoded[i]));
        }
    }
}

// Our own output, so libjpeg's default error exit is acceptable here.
std::vector<std::uint8_t> decodeGreyJpeg(const std::vector<std::uint8_t>& jpeg) {
    jpeg_decompress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, jpeg.data(), jpeg.size());
    jpeg_read_header(&info, TRUE);
    jpeg_start_decompress(&info);
    std::vector<std::uint8_t> grey(pixelCount);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = &grey[static_cast<std::size_t>(info.output_scanline) * spotImageSize];
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return grey;
}

// Blocks (row-major index) holding a pixel that should be 0 but decodes
// otherwise.
std::vector<int> blocksWithStrayLevels(const std::vector<std::uint8_t>& drawn,
                                       const std::vector<std::uint8_t>& decoded) {
    std::vector<int> blocks;
    for (std::size_t i = 0; i < pixelCount; ++i) {
        if (drawn[i] != 0 || decoded[i] == 0) continue;
        const int x = static_cast<int>(i % spotImageSize);
        const int y = static_cast<int>(i / spotImageSize);
        const int block = y / DCTSIZE * blocksPerRow + x / DCTSIZE;
        if (blocks.empty() || blocks.back() != block) blocks.push_back(block);
    }
    std::ranges::sort(blocks);
    blocks.erase(std::unique(blocks.begin(), blocks.end()), blocks.end());
    return blocks;
}

// Lowers the mean (DC coefficient, an eighth of a grey level per step at
// quality 100) of the given blocks by one step and writes the JPEG again
// from its coefficients, so nothing else changes.
std::vector<std::uint8_t> lowerBlockMeans(const std::vector<std::uint8_t>& jpeg, const std::vector<int>& blocks) {
    jpeg_decompress_struct in{};
    jpeg_error_mgr inError{};
    in.err = jpeg_std_error(&inError);
    jpeg_create_decompress(&in);
    jpeg_mem_src(&in, jpeg.data(), jpeg.size());
    jpeg_read_header(&in, TRUE);
    jvirt_barray_ptr* coefficients = jpeg_read_coefficients(&in);
    for (const int block : blocks) {
        JBLOCKARRAY row = (*in.mem->access_virt_barray)(reinterpret_cast<j_common_ptr>(&in), coefficients[0],
                                                         static_cast<JDIMENSION>(block / blocksPerRow), 1, TRUE);
        row[0][block % blocksPerRow][0] -= 1;
    }
    jpeg_compress_struct out{};
    jpeg_error_mgr outError{};
    out.err = jpeg_std_error(&outError);
    jpeg_create_compress(&out);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&out, &buffer, &size);
    jpeg_copy_critical_parameters(&in, &out);
    out.optimize_coding = TRUE;
    jpeg_write_coefficients(&out, coefficients);
    jpeg_finish_compress(&out);
    std::vector<std::uint8_t> result(buffer, buffer + size);
    jpeg_destroy_compress(&out);
    std::free(buffer);
    jpeg_finish_decompress(&in);
    jpeg_destroy_decompress(&in);
    return result;
}

// Even at quality 100 the rounding of the DCT coefficients moves a pixel by
// a level or two, which would leave stray 1s beyond the edge of the spot
// where the kernels expect their zero end marker. The blocks where that
// happens are lowered a little until those pixels decode to 0.
std::vector<std::uint8_t> encodeSpot(const SpotProfile& profile) {
    const std::vector<std::uint8_t> drawn = drawSpot(profile);
    std::vector<std::uint8_t> jpeg = encodeGreyJpeg(drawn);
    for (int step = 0;; ++step) {
        const std::vector<std::uint8_t> decoded = decodeGreyJpeg(jpeg);
        const std::vector<int> blocks = blocksWithStrayLevels(drawn, decoded);
        if (blocks.empty()) {
            checkCloseToDrawn(profile, drawn, decoded);
            return jpeg;
        }
        if (step == maxMeanSteps) break;
        jpeg = lowerBlockMeans(jpeg, blocks);
    }
    throw std::runtime_error(std::string(profile.name) + ": stray grey levels beyond the edge of the spot");
}

}  // namespace

std::vector<Asset> spotImages() {
    std::vector<Asset> assets;
    for (const SpotProfile& profile : spotProfiles) {
        assets.push_back({std::string(profile.name), "BINARYDATA", encodeSpot(profile)});
    }
    return assets;
}

}  // namespace lumivortex::generator
