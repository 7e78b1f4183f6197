// The JPEG header scan of the PDF writer: picture size, sample precision and colour
// components from the frame marker, which an image object's dictionary needs. The JPEG
// data itself goes into the PDF unchanged (DCTDecode), so nothing else is decoded.
//
// The scan never reads past the end of the data: a file that ends before its
// start-of-scan marker, a segment longer than what is left, or a frame the PDF cannot
// describe is refused.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/base/strings.h"

struct PdfJpegInfo {
    int width = 0;
    int height = 0;
    int bitsPerComponent = 0;
    int components = 0;
    int frameMarker = 0; // 0xC0 baseline, 0xC2 progressive, ...
};

enum class PdfJpegScan {
    kOk,
    kCannotOpen,       // the file cannot be opened or read
    kNotJpeg,          // no start-of-image marker at the start
    kTruncated,        // the data ends before the start-of-scan marker
    kBadMarkerLength,  // a segment length below 2
    kBadFrame,         // a frame segment that is too short or describes no usable picture
    kNoScan,           // end-of-image, or start-of-scan before any frame
};

// Where the scan takes its bytes from.
class PdfJpegSource {
public:
    virtual ~PdfJpegSource() = default;
    // false at the end of the data.
    virtual bool ReadByte(std::uint8_t& byte) = 0;
    // false (and nothing consumed) when fewer than n bytes are left.
    virtual bool Skip(std::uint64_t n) = 0;
};

PdfJpegScan PdfScanJpegHeader(PdfJpegSource& source, PdfJpegInfo& info);
PdfJpegScan PdfScanJpegHeader(std::span<const std::uint8_t> data, PdfJpegInfo& info);
// Scans a file and gives its size in bytes.
PdfJpegScan PdfScanJpegFile(const plat::String& path, PdfJpegInfo& info, std::uint64_t& fileSize);

// A short English remark for a result, for error messages and test output.
const char* PdfJpegScanText(PdfJpegScan result);
