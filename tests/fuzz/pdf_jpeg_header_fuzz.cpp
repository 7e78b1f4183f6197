// Scans arbitrary bytes as the JPEG header the PDF writer reads. Nothing may read outside
// the data (libFuzzer's buffer is exactly its size); what is accepted must be a picture
// an image dictionary can describe, and a refusal must tell nothing of a frame.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "io/pdf_jpeg_header.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    PdfJpegInfo info;
    PdfJpegScan result = PdfScanJpegHeader(std::span<const std::uint8_t>(data, size), info);
    if (result != PdfJpegScan::kOk) {
        if (info.width || info.height || info.components || info.bitsPerComponent || info.frameMarker) std::abort();
        if (result == PdfJpegScan::kCannotOpen) std::abort(); // memory is always readable
        return 0;
    }
    if (info.width < 1 || info.width > 65535 || info.height < 1 || info.height > 65535) std::abort();
    if (info.components != 1 && info.components != 3 && info.components != 4) std::abort();
    if (info.bitsPerComponent != 8) std::abort();
    if (info.frameMarker < 0xC0 || info.frameMarker > 0xCF || info.frameMarker == 0xC4 || info.frameMarker == 0xC8 ||
        info.frameMarker == 0xCC)
        std::abort();
    return 0;
}
