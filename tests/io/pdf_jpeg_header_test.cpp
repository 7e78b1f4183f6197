#include <gtest/gtest.h>

#include "io/pdf_jpeg_header.h"
#include "media/jpeg_file_saver.h"
#include "tests/io/pdf_support.h"

using pdftest::Bytes;
using pdftest::JpegMarkers;

namespace {

PdfJpegScan Scan(const Bytes& data, PdfJpegInfo& info)
{
    // An exact-size heap copy, so that a read past the end is caught by the address sanitizer.
    auto copy = std::make_unique<std::uint8_t[]>(data.size() ? data.size() : 1);
    std::copy(data.begin(), data.end(), copy.get());
    return PdfScanJpegHeader(std::span<const std::uint8_t>(copy.get(), data.size()), info);
}

struct HeaderCase {
    const char* name;
    Bytes data;
    PdfJpegScan result;
    int width, height, components, marker;
};

Bytes With(Bytes b, size_t at, std::initializer_list<std::uint8_t> bytes)
{
    size_t i = at;
    for (std::uint8_t v : bytes) b.at(i++) = v;
    return b;
}

Bytes Inserted(Bytes b, size_t at, std::initializer_list<std::uint8_t> bytes)
{
    b.insert(b.begin() + static_cast<std::ptrdiff_t>(at), bytes);
    return b;
}

// Offsets in JpegMarkers: APP0 at 2, frame marker at 20, its length at 22, precision at 24,
// height 25, width 27, component count 29.
TEST(PdfJpegHeader, ReadsFramesAndRefusesWhatAPdfCannotShow)
{
    const Bytes rgb = JpegMarkers(0xC0, 640, 480, 3);
    const HeaderCase cases[] = {
        {"baseline colour", rgb, PdfJpegScan::kOk, 640, 480, 3, 0xC0},
        {"baseline grey", JpegMarkers(0xC0, 17, 9000, 1), PdfJpegScan::kOk, 17, 9000, 1, 0xC0},
        {"progressive", JpegMarkers(0xC2, 3, 5, 3), PdfJpegScan::kOk, 3, 5, 3, 0xC2},
        {"CMYK", JpegMarkers(0xC1, 65535, 1, 4), PdfJpegScan::kOk, 65535, 1, 4, 0xC1},
        {"fill bytes and garbage before a marker", Inserted(rgb, 20, {0x00, 0x17, 0xFF, 0xFF, 0xFF}), PdfJpegScan::kOk,
         640, 480, 3, 0xC0},
        {"restart marker passed over", Inserted(rgb, 20, {0xFF, 0xD3}), PdfJpegScan::kOk, 640, 480, 3, 0xC0},
        {"empty", {}, PdfJpegScan::kNotJpeg, 0, 0, 0, 0},
        {"one byte", {0xFF}, PdfJpegScan::kNotJpeg, 0, 0, 0, 0},
        {"PNG signature", {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}, PdfJpegScan::kNotJpeg, 0, 0, 0, 0},
        {"start of image only", {0xFF, 0xD8}, PdfJpegScan::kTruncated, 0, 0, 0, 0},
        {"segment longer than the data", With(rgb, 4, {0x7F, 0xFF}), PdfJpegScan::kTruncated, 0, 0, 0, 0},
        {"segment length below 2", With(rgb, 4, {0x00, 0x01}), PdfJpegScan::kBadMarkerLength, 0, 0, 0, 0},
        {"frame length below its fixed part", With(rgb, 22, {0x00, 0x07}), PdfJpegScan::kBadFrame, 0, 0, 0, 0},
        {"frame length short of its components", With(rgb, 22, {0x00, 0x0A}), PdfJpegScan::kBadFrame, 0, 0, 0, 0},
        {"zero height (given by a DNL marker)", With(rgb, 25, {0x00, 0x00}), PdfJpegScan::kBadFrame, 0, 0, 0, 0},
        {"zero width", With(rgb, 27, {0x00, 0x00}), PdfJpegScan::kBadFrame, 0, 0, 0, 0},
        {"12-bit samples", JpegMarkers(0xC1, 8, 8, 3, 12), PdfJpegScan::kBadFrame, 0, 0, 0, 0},
        {"two components", JpegMarkers(0xC0, 8, 8, 2), PdfJpegScan::kBadFrame, 0, 0, 0, 0},
        {"five components", JpegMarkers(0xC0, 8, 8, 5), PdfJpegScan::kBadFrame, 0, 0, 0, 0},
        {"end of image before the scan", With(rgb, 20, {0xFF, 0xD9}), PdfJpegScan::kNoScan, 0, 0, 0, 0},
        {"scan before any frame", With(rgb, 20, {0xFF, 0xDA}), PdfJpegScan::kNoScan, 0, 0, 0, 0},
    };
    for (const HeaderCase& c : cases) {
        SCOPED_TRACE(c.name);
        PdfJpegInfo info;
        EXPECT_EQ(Scan(c.data, info), c.result);
        EXPECT_EQ(info.width, c.width);
        EXPECT_EQ(info.height, c.height);
        EXPECT_EQ(info.components, c.components);
        EXPECT_EQ(info.frameMarker, c.marker);
        EXPECT_EQ(info.bitsPerComponent, c.result == PdfJpegScan::kOk ? 8 : 0);
    }
}

// Every cut of a real JPEG before its start-of-scan marker is refused, and the scan never
// reads beyond the cut (the sanitizer watches the exact-size copy).
TEST(PdfJpegHeader, EveryPrefixEndingBeforeTheScanIsRefused)
{
    const std::string path = pdftest::Dir() + "prefix.jpg";
    auto bitmap = pdftest::RenderPage(0, 120, 90);
    ASSERT_TRUE(CJpegFileSaver().SaveBitmap(pdftest::U(path), bitmap.get()));
    const Bytes full = pdftest::ReadFile(path);
    PdfJpegInfo info;
    ASSERT_EQ(Scan(full, info), PdfJpegScan::kOk);
    EXPECT_EQ(info.width, 120);
    EXPECT_EQ(info.height, 90);
    EXPECT_EQ(info.components, 3);
    EXPECT_EQ(info.frameMarker, 0xC0);

    size_t scanAt = 0;
    for (size_t i = 2; i + 1 < full.size(); ++i)
        if (full[i] == 0xFF && full[i + 1] == 0xDA) {
            scanAt = i;
            break;
        }
    ASSERT_GT(scanAt, 0u);
    for (size_t n = 0; n <= scanAt + 1; ++n) {
        Bytes cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
        PdfJpegInfo partial;
        PdfJpegScan r = Scan(cut, partial);
        EXPECT_NE(r, PdfJpegScan::kOk) << "cut at " << n;
        EXPECT_EQ(partial.width, 0) << "cut at " << n;
    }
    // With the marker itself the header is complete.
    Bytes header(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(scanAt + 2));
    EXPECT_EQ(Scan(header, info), PdfJpegScan::kOk);
}

TEST(PdfJpegHeader, FilesAreScannedWithinTheirLength)
{
    const std::string dir = pdftest::Dir();
    PdfJpegInfo info;
    std::uint64_t size = 1;
    EXPECT_EQ(PdfScanJpegFile(pdftest::U(dir + "missing.jpg"), info, size), PdfJpegScan::kCannotOpen);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(PdfScanJpegFile(pdftest::U(dir), info, size), PdfJpegScan::kCannotOpen);

    // A segment that claims more than the file holds, in a file longer than the read buffer.
    Bytes big = JpegMarkers(0xC0, 10, 10, 1);
    Bytes app1 = {0xFF, 0xE1, 0xFF, 0xFF};
    app1.resize(4 + 9000, 0x55);
    big.insert(big.begin() + 2, app1.begin(), app1.end());
    pdftest::WriteFile(dir + "long-app1.jpg", big);
    EXPECT_EQ(PdfScanJpegFile(pdftest::U(dir + "long-app1.jpg"), info, size), PdfJpegScan::kTruncated);
    EXPECT_EQ(size, 0u);

    // Segments of 65535 bytes are skipped by seeking; the frame after them is found.
    Bytes skipped = JpegMarkers(0xC2, 33, 44, 3);
    Bytes app2 = {0xFF, 0xE2, 0xFF, 0xFF};
    app2.resize(2 + 65535, 0xAA);
    skipped.insert(skipped.begin() + 2, app2.begin(), app2.end());
    skipped.insert(skipped.begin() + 2, app2.begin(), app2.end());
    pdftest::WriteFile(dir + "skipped.jpg", skipped);
    EXPECT_EQ(PdfScanJpegFile(pdftest::U(dir + "skipped.jpg"), info, size), PdfJpegScan::kOk);
    EXPECT_EQ(size, skipped.size());
    EXPECT_EQ(info.width, 33);
    EXPECT_EQ(info.height, 44);
    EXPECT_EQ(info.frameMarker, 0xC2);
}

} // namespace
