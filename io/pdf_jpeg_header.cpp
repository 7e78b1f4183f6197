#include "io/pdf_jpeg_header.h"

#include "platform/file/file.h"

namespace {

constexpr std::uint8_t kMarkerPrefix = 0xFF;
constexpr std::uint8_t kStartOfImage = 0xD8;
constexpr std::uint8_t kEndOfImage = 0xD9;
constexpr std::uint8_t kStartOfScan = 0xDA;
// The frame segment: length (2), precision (1), height (2), width (2), component count
// (1), then three bytes a component.
constexpr int kFrameFixedBytes = 8;
constexpr int kFrameBytesPerComponent = 3;
// A PDF reader decodes DCT pictures of 8-bit samples only.
constexpr int kPdfJpegPrecision = 8;

bool IsFrameMarker(std::uint8_t m)
{
    // Start-of-frame markers: every 0xC0..0xCF except 0xC4 (Huffman tables), 0xC8 (reserved
    // for extensions) and 0xCC (arithmetic conditioning).
    return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
}

// Markers that stand alone, without a length: TEM, the restart markers and a stray
// start-of-image.
bool IsStandaloneMarker(std::uint8_t m)
{
    return m == 0x01 || (m >= 0xD0 && m <= 0xD7) || m == kStartOfImage;
}

class SpanSource : public PdfJpegSource {
public:
    explicit SpanSource(std::span<const std::uint8_t> data) : m_data(data) {}
    bool ReadByte(std::uint8_t& byte) override
    {
        if (m_pos >= m_data.size()) return false;
        byte = m_data[m_pos++];
        return true;
    }
    bool Skip(std::uint64_t n) override
    {
        if (n > m_data.size() - m_pos) return false;
        m_pos += static_cast<std::size_t>(n);
        return true;
    }

private:
    std::span<const std::uint8_t> m_data;
    std::size_t m_pos = 0;
};

// Reads a file through a small buffer; skips by seeking, within the file's length.
class FileSource : public PdfJpegSource {
public:
    FileSource(plat::File& file, std::uint64_t length) : m_file(file), m_length(length) {}
    bool ReadByte(std::uint8_t& byte) override
    {
        if (m_next == m_end && !Fill()) return false;
        byte = m_buffer[m_next++];
        return true;
    }
    bool Skip(std::uint64_t n) override
    {
        const std::uint64_t buffered = m_end - m_next;
        if (n <= buffered) {
            m_next += static_cast<std::size_t>(n);
            return true;
        }
        if (n - buffered > m_length - m_filePos) return false;
        m_filePos += n - buffered;
        m_file.Seek(static_cast<std::int64_t>(m_filePos), plat::Stream::kBegin);
        m_next = m_end = 0;
        return true;
    }

private:
    bool Fill()
    {
        if (m_filePos >= m_length) return false;
        // Never beyond the length the scan started with, even when the file grows meanwhile.
        const std::uint64_t left = m_length - m_filePos;
        m_end = m_file.Read(m_buffer, left < sizeof m_buffer ? static_cast<std::size_t>(left) : sizeof m_buffer);
        m_next = 0;
        m_filePos += m_end;
        return m_end > 0;
    }

    plat::File& m_file;
    std::uint64_t m_length;
    std::uint64_t m_filePos = 0; // position of the file just after the buffered bytes
    std::uint8_t m_buffer[4096];
    std::size_t m_next = 0;
    std::size_t m_end = 0;
};

bool Read16(PdfJpegSource& source, int& value)
{
    std::uint8_t hi, lo;
    if (!source.ReadByte(hi) || !source.ReadByte(lo)) return false;
    value = (hi << 8) | lo;
    return true;
}

// The next marker code: bytes before a 0xFF are garbage and passed over, as are fill bytes
// (repeated 0xFF) and a stuffed zero after 0xFF. False at the end of the data.
bool NextMarker(PdfJpegSource& source, std::uint8_t& marker)
{
    for (;;) {
        std::uint8_t c;
        do {
            if (!source.ReadByte(c)) return false;
        } while (c != kMarkerPrefix);
        do {
            if (!source.ReadByte(c)) return false;
        } while (c == kMarkerPrefix);
        if (c != 0) {
            marker = c;
            return true;
        }
    }
}

PdfJpegScan ReadFrame(PdfJpegSource& source, std::uint8_t marker, PdfJpegInfo& info)
{
    int length, height, width;
    std::uint8_t precision, components;
    if (!Read16(source, length)) return PdfJpegScan::kTruncated;
    if (length < kFrameFixedBytes) return PdfJpegScan::kBadFrame;
    if (!source.ReadByte(precision) || !Read16(source, height) || !Read16(source, width) ||
        !source.ReadByte(components))
        return PdfJpegScan::kTruncated;
    if (length < kFrameFixedBytes + kFrameBytesPerComponent * components) return PdfJpegScan::kBadFrame;
    // A height of 0 is given later by a DNL marker, which the image dictionary cannot wait
    // for; two components have no PDF colour space.
    if (width == 0 || height == 0 || precision != kPdfJpegPrecision ||
        !(components == 1 || components == 3 || components == 4))
        return PdfJpegScan::kBadFrame;
    if (!source.Skip(static_cast<std::uint64_t>(length - kFrameFixedBytes))) return PdfJpegScan::kTruncated;
    info.width = width;
    info.height = height;
    info.bitsPerComponent = precision;
    info.components = components;
    info.frameMarker = marker;
    return PdfJpegScan::kOk;
}

PdfJpegScan WalkMarkers(PdfJpegSource& source, PdfJpegInfo& info)
{
    std::uint8_t first, second;
    if (!source.ReadByte(first) || !source.ReadByte(second) || first != kMarkerPrefix || second != kStartOfImage)
        return PdfJpegScan::kNotJpeg;
    bool haveFrame = false;
    for (;;) {
        std::uint8_t marker;
        if (!NextMarker(source, marker)) return PdfJpegScan::kTruncated;
        if (IsFrameMarker(marker)) {
            PdfJpegScan r = ReadFrame(source, marker, info);
            if (r != PdfJpegScan::kOk) return r;
            haveFrame = true;
        } else if (marker == kStartOfScan) {
            return haveFrame ? PdfJpegScan::kOk : PdfJpegScan::kNoScan;
        } else if (marker == kEndOfImage) {
            return PdfJpegScan::kNoScan;
        } else if (!IsStandaloneMarker(marker)) {
            int length;
            if (!Read16(source, length)) return PdfJpegScan::kTruncated;
            if (length < 2) return PdfJpegScan::kBadMarkerLength;
            if (!source.Skip(static_cast<std::uint64_t>(length - 2))) return PdfJpegScan::kTruncated;
        }
    }
}

} // namespace

PdfJpegScan PdfScanJpegHeader(PdfJpegSource& source, PdfJpegInfo& info)
{
    info = PdfJpegInfo();
    PdfJpegScan r = WalkMarkers(source, info);
    // A refused picture tells nothing, not even the frame it had before it went wrong.
    if (r != PdfJpegScan::kOk) info = PdfJpegInfo();
    return r;
}

PdfJpegScan PdfScanJpegHeader(std::span<const std::uint8_t> data, PdfJpegInfo& info)
{
    SpanSource source(data);
    return PdfScanJpegHeader(source, info);
}

PdfJpegScan PdfScanJpegFile(const plat::String& path, PdfJpegInfo& info, std::uint64_t& fileSize)
{
    info = PdfJpegInfo();
    fileSize = 0;
    plat::File file;
    if (!file.TryOpen(path, plat::File::kRead)) return PdfJpegScan::kCannotOpen;
    try {
        const std::uint64_t length = file.GetLength();
        FileSource source(file, length);
        PdfJpegScan r = PdfScanJpegHeader(source, info);
        if (r == PdfJpegScan::kOk) fileSize = length;
        return r;
    } catch (const plat::FileException&) {
        info = PdfJpegInfo();
        return PdfJpegScan::kCannotOpen;
    }
}

const char* PdfJpegScanText(PdfJpegScan result)
{
    switch (result) {
    case PdfJpegScan::kOk: return "JPEG header read";
    case PdfJpegScan::kCannotOpen: return "Can't open image file";
    case PdfJpegScan::kNotJpeg: return "Not a JPEG file";
    case PdfJpegScan::kTruncated: return "Premature EOF in JPEG file";
    case PdfJpegScan::kBadMarkerLength: return "Erroneous JPEG marker length";
    case PdfJpegScan::kBadFrame: return "Bogus or unsupported SOF marker";
    case PdfJpegScan::kNoScan: return "No picture before the end of the JPEG file";
    }
    return "";
}
