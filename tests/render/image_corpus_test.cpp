// Regression corpus of damaged images (JPEGs and BMPs mutated by the decoder
// fuzzer, truncated, or with headers claiming more than they hold): each
// must load cleanly or be refused, never crash, hang or read out of bounds
// (this test runs under the sanitizers too).
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "framebuffer/image_service.h"

namespace lumivortex {
namespace {

std::vector<std::uint8_t> readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ImageCorpusTest, DamagedImagesLoadSafelyOrAreRefused) {
    const std::filesystem::path corpus = std::filesystem::path(__FILE__).parent_path() / "corpus";
    ASSERT_TRUE(std::filesystem::is_directory(corpus)) << corpus;
    acquireImaging();
    int files = 0;
    for (const std::filesystem::directory_entry& entry : std::filesystem::directory_iterator(corpus)) {
        ++files;
        const std::string name = entry.path().filename().string();
        const std::vector<std::uint8_t> bytes = readFile(entry.path());
        const int loaded = loadImageBytes(bytes);
        // Mutated files may still be valid pictures; truncated ones, those
        // claiming an oversized picture and unreadable layouts never are.
        if (name.find("mutated") == std::string::npos) {
            EXPECT_EQ(loaded, 0) << name;
        }
        EXPECT_EQ(lockCurrentImage(), loaded) << name;
        if (loaded) {
            EXPECT_GT(decodedWidth, 0);
            EXPECT_EQ(decodedBytes, decodedHeight * 4 * decodedWidth);
            std::uint32_t all = 0;
            for (int i = 0; i < decodedBytes / 4; ++i) all |= decodedPixels[i];
            EXPECT_NE(all, 0u) << "a decoded picture has opaque pixels";
        }
        unlockCurrentImage();
        releaseCurrentImage();
    }
    releaseImaging();
    EXPECT_GE(files, 1);
}

}  // namespace
}  // namespace lumivortex
