#include "media/gif_codec.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "platform/base/byte_order.h"
#include "media/image_stream.h"

namespace {

constexpr std::uint8_t kExtensionIntroducer = 0x21;
constexpr std::uint8_t kImageSeparator = 0x2C;
constexpr std::uint8_t kTrailer = 0x3B;
constexpr std::uint8_t kGraphicControl = 0xF9;
constexpr std::uint8_t kCommentLabel = 0xFE;
constexpr std::uint8_t kApplicationLabel = 0xFF;
constexpr std::uint8_t kTableFlag = 0x80;
constexpr std::uint8_t kInterlaceFlag = 0x40;
constexpr int kMaxCodes = 4096;
// The longest data sub-block the writer emits.
constexpr std::size_t kPacketBytes = 254;
// The encoder's open hash: a prime above the 4096 codes, and the shift that spreads a
// pixel value over it.
constexpr int kHashSize = 5003;
constexpr int kHashShift = 4;

// A colour table as the file stores it: count entries of red, green and blue.
struct ColorTable {
    std::uint8_t red[256] = {};
    std::uint8_t green[256] = {};
    std::uint8_t blue[256] = {};
    std::uint32_t count = 0;
};

int BitCountForColors(std::uint32_t colors)
{
    return colors <= 2 ? 1 : colors <= 16 ? 4 : 8;
}

// Pixel x of a packed DIB row of 1, 4 or 8 bits.
inline std::uint8_t IndexInRow(const std::uint8_t* row, std::int32_t x, int bits)
{
    switch (bits) {
    case 8: return row[x];
    case 4: return (x & 1) ? (row[x / 2] & 0x0F) : (row[x / 2] >> 4);
    default: return (row[x / 8] >> (7 - (x & 7))) & 1;
    }
}

} // namespace

// Sequential bytes of the stream through a look-ahead buffer, with the offset of the next
// byte; never reads past the stream's end.
class CGifCodec::Input {
public:
    explicit Input(CRasterImageFile& stream) : m_stream(stream), m_base(std::max<std::int64_t>(0, stream.Tell())) {}

    bool Byte(std::uint8_t& b)
    {
        if (m_pos == m_end && !Fill()) return false;
        b = m_buffer[m_pos++];
        return true;
    }
    // Exactly n bytes, or false (what arrived is kept in out).
    bool Bytes(std::uint8_t* out, std::size_t n)
    {
        while (n > 0) {
            if (m_pos == m_end && !Fill()) return false;
            const std::size_t take = std::min(n, m_end - m_pos);
            std::memcpy(out, m_buffer + m_pos, take);
            m_pos += take;
            out += take;
            n -= take;
        }
        return true;
    }
    bool Skip(std::size_t n)
    {
        while (n > 0) {
            if (m_pos == m_end && !Fill()) return false;
            const std::size_t take = std::min(n, m_end - m_pos);
            m_pos += take;
            n -= take;
        }
        return true;
    }
    // Data sub-blocks up to and with the zero-length one (or the end of the stream).
    void SkipSubBlocks()
    {
        std::uint8_t n;
        while (Byte(n) && n != 0 && Skip(n)) {}
    }
    std::int64_t Position() const { return m_base + static_cast<std::int64_t>(m_pos); }
    void MoveTo(std::int64_t position)
    {
        m_stream.Seek(position, SEEK_SET);
        m_base = position;
        m_pos = m_end = 0;
    }
    // Leaves the stream right after the bytes consumed.
    void Release() { m_stream.Seek(Position(), SEEK_SET); }

private:
    bool Fill()
    {
        m_base += static_cast<std::int64_t>(m_end);
        m_pos = 0;
        m_end = m_stream.Read(m_buffer, 1, sizeof m_buffer);
        return m_end > 0;
    }

    CRasterImageFile& m_stream;
    std::int64_t m_base; // offset of m_buffer[0]
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    std::uint8_t m_buffer[16384];
};

namespace {

// LZW codes of an image's data sub-blocks, least significant bit first.
class CodeReader {
public:
    explicit CodeReader(CGifCodec::Input& in) : m_in(in) {}
    // The next code of width bits, or -1 at the end of the data.
    int Next(int width)
    {
        while (m_bits < width) {
            if (m_blockLeft == 0) {
                std::uint8_t n;
                if (!m_in.Byte(n) || n == 0) {
                    m_terminated = true; // the zero-length block (or the stream's end) is consumed
                    return -1;
                }
                m_blockLeft = n;
            }
            std::uint8_t b;
            if (!m_in.Byte(b)) {
                m_terminated = true;
                return -1;
            }
            --m_blockLeft;
            m_acc |= std::uint32_t(b) << m_bits;
            m_bits += 8;
        }
        const int code = static_cast<int>(m_acc & ((1u << width) - 1));
        m_acc >>= width;
        m_bits -= width;
        return code;
    }
    // Skips what is left of the data, so that the next block is read after it.
    void Finish()
    {
        if (m_terminated) return;
        m_in.Skip(m_blockLeft);
        m_in.SkipSubBlocks();
    }

private:
    CGifCodec::Input& m_in;
    std::uint32_t m_acc = 0;
    int m_bits = 0;
    std::size_t m_blockLeft = 0;
    bool m_terminated = false;
};

// Where decoded lines go: top row first into the last DIB row, or in the four passes of
// an interlaced image; packed to the image's bit count.
class LineWriter {
public:
    LineWriter(CRasterImage& image, bool interlaced, CGifCodec::DecodedRows& rows)
        : m_image(image), m_interlaced(interlaced), m_rows(rows)
    {
        m_rows.reached.assign(std::size_t(image.Height()), false);
        std::fill(std::begin(m_rows.used), std::end(m_rows.used), false);
    }

    // False when the picture has no more rows.
    bool Put(const std::uint8_t* line)
    {
        if (m_done) return false;
        const std::int32_t w = m_image.Width(), h = m_image.Height();
        std::uint8_t* row = m_image.Row(h - 1 - m_row);
        const std::uint8_t mask = static_cast<std::uint8_t>((1u << m_image.BitCount()) - 1);
        for (std::int32_t x = 0; x < w; ++x) m_rows.used[line[x] & mask] = true;
        switch (m_image.BitCount()) {
        case 8: std::memcpy(row, line, std::size_t(w)); break;
        case 4:
            for (std::int32_t x = 0; x < w; x += 2) {
                const std::uint8_t low = x + 1 < w ? (line[x + 1] & 0x0F) : 0;
                row[x / 2] = static_cast<std::uint8_t>((line[x] << 4) | low);
            }
            break;
        default:
            std::memset(row, 0, std::size_t(m_image.RowBytes()));
            for (std::int32_t x = 0; x < w; ++x)
                if (line[x] & 1) row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
            break;
        }
        m_rows.reached[std::size_t(m_row)] = true;
        Advance(h);
        return !m_done;
    }

private:
    void Advance(std::int32_t h)
    {
        static constexpr struct { std::int32_t start, step; } kPasses[] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};
        if (!m_interlaced) {
            m_done = ++m_row >= h;
            return;
        }
        m_row += kPasses[m_pass].step;
        while (m_row >= h) {
            if (++m_pass == 4) {
                m_done = true;
                return;
            }
            m_row = kPasses[m_pass].start;
        }
    }

    CRasterImage& m_image;
    bool m_interlaced;
    CGifCodec::DecodedRows& m_rows;
    std::int32_t m_row = 0;
    int m_pass = 0;
    bool m_done = false;
};

// The encoder's output: codes packed least significant bit first into data sub-blocks.
class CodeWriter {
public:
    explicit CodeWriter(std::vector<std::uint8_t>& out) : m_out(out) {}
    void Put(int code, int width)
    {
        m_acc |= std::uint32_t(code) << m_bits;
        m_bits += width;
        while (m_bits >= 8) {
            Byte(static_cast<std::uint8_t>(m_acc));
            m_acc >>= 8;
            m_bits -= 8;
        }
    }
    // The last partial byte and the last sub-block.
    void Finish()
    {
        if (m_bits > 0) Byte(static_cast<std::uint8_t>(m_acc));
        m_acc = 0;
        m_bits = 0;
        Flush();
    }

private:
    void Byte(std::uint8_t b)
    {
        m_packet[m_count++] = b;
        if (m_count == kPacketBytes) Flush();
    }
    void Flush()
    {
        if (m_count == 0) return;
        m_out.push_back(static_cast<std::uint8_t>(m_count));
        m_out.insert(m_out.end(), m_packet, m_packet + m_count);
        m_count = 0;
    }

    std::vector<std::uint8_t>& m_out;
    std::uint32_t m_acc = 0;
    int m_bits = 0;
    std::uint8_t m_packet[kPacketBytes];
    std::size_t m_count = 0;
};

// LZW-codes the picture's indices, top row first, with a minimum code size of codeSize:
// a table of up to 4096 codes in an open hash, a clear code whenever it is full.
void EncodePixels(const CRasterImage& image, int codeSize, std::vector<std::uint8_t>& out)
{
    const int clear = 1 << codeSize, end = clear + 1;
    const int initialWidth = codeSize + 1;
    int width = initialWidth;
    int maxCode = (1 << width) - 1;
    int freeCode = clear + 2;
    bool clearFlag = false;
    std::vector<std::int32_t> keys(kHashSize, -1);
    std::vector<std::uint16_t> codes(kHashSize, 0);
    CodeWriter writer(out);

    auto emit = [&](int code) {
        writer.Put(code, width);
        if (clearFlag) {
            width = initialWidth;
            maxCode = (1 << width) - 1;
            clearFlag = false;
        } else if (freeCode > maxCode) {
            ++width;
            maxCode = width == 12 ? kMaxCodes : (1 << width) - 1;
        }
    };

    emit(clear);
    const std::int32_t w = image.Width(), h = image.Height();
    const int bits = image.BitCount();
    int prefix = -1;
    for (std::int32_t r = 0; r < h; ++r) {
        const std::uint8_t* row = image.Row(h - 1 - r);
        for (std::int32_t x = 0; x < w; ++x) {
            const int k = IndexInRow(row, x, bits);
            if (prefix < 0) {
                prefix = k;
                continue;
            }
            const std::int32_t key = (std::int32_t(k) << 12) + prefix;
            int i = (k << kHashShift) ^ prefix;
            bool found = keys[i] == key;
            if (!found && keys[i] >= 0) {
                const int step = i == 0 ? 1 : kHashSize - i;
                do {
                    i -= step;
                    if (i < 0) i += kHashSize;
                    found = keys[i] == key;
                } while (!found && keys[i] >= 0);
            }
            if (found) {
                prefix = codes[i];
                continue;
            }
            emit(prefix);
            prefix = k;
            if (freeCode < kMaxCodes) {
                codes[i] = static_cast<std::uint16_t>(freeCode++);
                keys[i] = key;
            } else {
                std::fill(keys.begin(), keys.end(), -1);
                freeCode = clear + 2;
                clearFlag = true;
                emit(clear);
            }
        }
    }
    if (prefix >= 0) emit(prefix);
    emit(end);
    writer.Finish();
}

// The colour table whose size the flags byte gives; entries the file cuts off are black.
void ReadColorTable(CGifCodec::Input& in, std::uint8_t flags, ColorTable& table)
{
    table = ColorTable();
    table.count = 2u << (flags & 7);
    for (std::uint32_t i = 0; i < table.count; ++i) {
        std::uint8_t rgb[3] = {};
        in.Bytes(rgb, 3);
        table.red[i] = rgb[0];
        table.green[i] = rgb[1];
        table.blue[i] = rgb[2];
    }
}

// Which of the canvas's palette entries its pixels (or its transparent index) use: what
// the first frame's data filled, and every entry a frame drawn over it has taken since.
struct CanvasEntries {
    bool taken[256] = {};
};

// Where each of the frame's palette entries goes in the canvas's palette: the same index
// when the colours agree, else an entry of that colour, else an entry no canvas pixel
// uses (the canvas widened to 8 bits when its own palette has none left), else the
// nearest colour. The canvas's transparent entry is never taken for a visible colour.
bool MapFrameColors(const CRasterImage& frame, const bool frameUses[256], CRasterImage& canvas,
                    std::int32_t canvasTransparent, CanvasEntries& entries, std::uint8_t map[256])
{
    auto rgbEqual = [](ColorQuad a, ColorQuad b) { return a.red == b.red && a.green == b.green && a.blue == b.blue; };
    auto visible = [&](std::uint32_t j) { return std::int32_t(j) != canvasTransparent; };
    for (std::uint32_t i = 0; i < 256; ++i) {
        if (!frameUses[i]) continue;
        const ColorQuad colour = frame.PaletteEntryAt(i);
        const std::uint32_t count = canvas.Header().colorsUsed;
        std::int32_t found = -1;
        if (i < count && visible(i) && rgbEqual(canvas.PaletteEntryAt(i), colour)) found = std::int32_t(i);
        for (std::uint32_t j = 0; found < 0 && j < count; ++j)
            if (visible(j) && rgbEqual(canvas.PaletteEntryAt(j), colour)) found = std::int32_t(j);
        for (int pass = 0; found < 0 && pass < 2; ++pass) {
            for (std::uint32_t j = 0; found < 0 && j < canvas.Header().colorsUsed; ++j)
                if (!entries.taken[j]) found = std::int32_t(j);
            if (found < 0 && pass == 0 && canvas.BitCount() < 8) {
                CRasterImage wide(canvas, false, false, false);
                if (!wide.Allocate(canvas.Width(), canvas.Height(), 8, kFormatGif)) return false;
                for (std::uint32_t j = 0; j < count; ++j) wide.PutPaletteEntry(j, canvas.PaletteEntryAt(j));
                const int bits = canvas.BitCount();
                for (std::int32_t y = 0; y < canvas.Height(); ++y) {
                    const std::uint8_t* from = canvas.Row(y);
                    std::uint8_t* to = wide.Row(y);
                    for (std::int32_t x = 0; x < canvas.Width(); ++x) to[x] = IndexInRow(from, x, bits);
                }
                canvas.TakeOver(wide);
            }
        }
        if (found >= 0) {
            canvas.PutPaletteEntry(std::uint32_t(found), ColorQuad{colour.blue, colour.green, colour.red, 0});
        } else {
            found = canvas.NearestPaletteIndex(colour);
        }
        entries.taken[found] = true;
        map[i] = static_cast<std::uint8_t>(found);
    }
    return true;
}

// Draws the rows of the frame that its data reached at its offset over the canvas: every
// pixel but the frame's transparent ones, in its own colour; what falls outside the
// canvas is clipped.
bool DrawFrameOnCanvas(const CRasterImage& frame, const CGifCodec::DecodedRows& rows, std::int64_t left,
                       std::int64_t top, std::int32_t frameTransparent, CRasterImage& canvas,
                       std::int32_t canvasTransparent, CanvasEntries& entries)
{
    const std::int32_t w = frame.Width(), h = frame.Height();
    bool uses[256];
    std::copy(std::begin(rows.used), std::end(rows.used), uses);
    if (frameTransparent >= 0 && frameTransparent < 256) uses[frameTransparent] = false;
    std::uint8_t map[256] = {};
    if (!MapFrameColors(frame, uses, canvas, canvasTransparent, entries, map)) return false;
    const std::int64_t cw = canvas.Width(), ch = canvas.Height();
    const int bits = frame.BitCount();
    for (std::int32_t r = 0; r < h && top + r < ch; ++r) {
        if (!rows.reached[std::size_t(r)]) continue;
        const std::uint8_t* from = frame.Row(h - 1 - r);
        const std::int64_t canvasRow = ch - 1 - (top + r);
        for (std::int32_t x = 0; x < w && left + x < cw; ++x) {
            const std::uint8_t index = IndexInRow(from, x, bits);
            if (index != frameTransparent) canvas.PutPixelIndex(left + x, canvasRow, map[index]);
        }
    }
    return true;
}

// The frame's palette from its colour table. With a transparent index, the entries past
// the table are white, and one white entry at least is there for the transparent drawing
// to key on.
void LoadFramePalette(CRasterImage& frame, ColorTable table, std::int32_t transparentIndex)
{
    if (table.count == 0) return;
    std::uint32_t load = table.count;
    if (transparentIndex != -1) {
        for (std::uint32_t i = table.count; i < 256; ++i) table.red[i] = table.green[i] = table.blue[i] = 255;
        bool white = false;
        for (std::uint32_t i = 0; i < table.count && !white; ++i)
            white = table.red[i] == 255 && table.green[i] == 255 && table.blue[i] == 255;
        if (!white) table.red[255] = table.green[255] = table.blue[255] = 255;
        load = 256;
    }
    frame.LoadPaletteChannels(load, table.red, table.green, table.blue);
}

void PutU16(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Decode(CGifCodec::Input& in, LineWriter& rows, std::int32_t w);

} // namespace

CGifCodec::~CGifCodec() = default;

CGifCodec::Block CGifCodec::ReadExtension(Input& in)
{
    std::uint8_t label;
    if (!in.Byte(label)) return Block::kEnd;
    switch (label) {
    case kGraphicControl: {
        std::uint8_t size, control[4];
        if (!in.Byte(size) || !in.Bytes(control, 4) || size != 4) return Block::kEnd;
        if (control[0] & 1) m_transparentIndex = control[3];
        m_frameDelay = plat::LoadU16(control + 1);
        m_disposal = (control[0] >> 2) & 7;
        break;
    }
    case kCommentLabel: {
        std::uint8_t n;
        if (!in.Byte(n)) return Block::kEnd;
        if (n == 0) {
            m_comment.clear();
            return Block::kNext; // that was the terminator
        }
        char text[255];
        if (!in.Bytes(reinterpret_cast<std::uint8_t*>(text), n)) return Block::kEnd;
        m_comment.assign(text, n);
        m_comment.resize(std::strlen(m_comment.c_str()));
        break;
    }
    case kApplicationLabel: {
        std::uint8_t size, id[11];
        if (!in.Byte(size) || size != 11 || !in.Bytes(id, 11)) return Block::kEnd;
        // The looping block holds 3 bytes: 1 and the loop count. Other applications'
        // blocks (profiles, metadata) are passed over.
        std::uint8_t n, loop[3];
        if (!in.Byte(n)) return Block::kEnd;
        if (n == 0) return Block::kNext;
        if (n != 3) {
            if (!in.Skip(n)) return Block::kEnd;
            break;
        }
        if (!in.Bytes(loop, 3)) return Block::kEnd;
        m_loopCount = plat::LoadU16(loop + 1);
        break;
    }
    default: break;
    }
    in.SkipSubBlocks();
    return Block::kNext;
}

void CGifCodec::DecodeImage(Input& in, bool interlaced, CRasterImage& frame, DecodedRows& decoded)
{
    LineWriter rows(frame, interlaced, decoded);
    Decode(in, rows, frame.Width());
    // Rows the data did not reach hold index 0.
    if (std::find(decoded.reached.begin(), decoded.reached.end(), false) != decoded.reached.end())
        decoded.used[0] = true;
}

namespace {

// The LZW decoder: codes from the data sub-blocks, lines to the writer.
void Decode(CGifCodec::Input& in, LineWriter& rows, std::int32_t w)
{
    std::uint8_t codeSize;
    if (!in.Byte(codeSize)) return;
    CodeReader codes(in);
    if (codeSize < 2 || codeSize > 9) {
        codes.Finish(); // left undecoded
        return;
    }
    const int clear = 1 << codeSize, end = clear + 1;
    int width = codeSize + 1;
    int limit = 1 << width;
    int freeSlot = clear + 2;
    std::uint16_t prefix[kMaxCodes];
    std::uint8_t suffix[kMaxCodes];
    std::uint8_t stack[kMaxCodes + 1];
    for (int i = 0; i < clear; ++i) {
        prefix[i] = 0;
        suffix[i] = static_cast<std::uint8_t>(i);
    }

    std::vector<std::uint8_t> line(static_cast<std::size_t>(w), 0);
    std::int32_t x = 0;
    bool open = true;
    auto emit = [&](std::uint8_t c) {
        line[std::size_t(x++)] = c;
        if (x == w) {
            x = 0;
            open = rows.Put(line.data());
        }
    };

    int previous = -1;
    std::uint8_t first = 0;
    while (open) {
        int code = codes.Next(width);
        if (code < 0 || code == end) break;
        if (code == clear) {
            width = codeSize + 1;
            limit = 1 << width;
            freeSlot = clear + 2;
            previous = -1;
            continue;
        }
        if (previous < 0) {
            // The first code after a clear is a literal.
            if (code >= freeSlot) code = 0;
            first = static_cast<std::uint8_t>(code);
            previous = code;
            emit(first);
            continue;
        }
        // A code past the next free slot names an entry no one has made: the data is
        // damaged and the frame ends here.
        if (code > freeSlot) break;
        const int incoming = code;
        int sp = 0;
        if (code == freeSlot) {
            stack[sp++] = first;
            code = previous;
        }
        while (code >= clear && sp < kMaxCodes) {
            stack[sp++] = suffix[code];
            code = prefix[code];
        }
        if (code >= clear) break; // a chain longer than the table
        first = static_cast<std::uint8_t>(code);
        stack[sp++] = first;
        if (freeSlot < kMaxCodes) {
            prefix[freeSlot] = static_cast<std::uint16_t>(previous);
            suffix[freeSlot] = first;
            if (++freeSlot >= limit && width < 12) {
                ++width;
                limit <<= 1;
            }
        }
        previous = incoming;
        while (sp > 0 && open) emit(stack[--sp]);
    }
    // A last partial line; what the data did not reach stays index 0.
    if (open && x > 0) {
        std::fill(line.begin() + x, line.end(), 0);
        rows.Put(line.data());
    }
    codes.Finish();
}

} // namespace

bool CGifCodec::Read(CRasterImageFile& stream)
{
    try {
        Input in(stream);
        std::uint8_t screen[13];
        if (!in.Bytes(screen, sizeof screen) || std::memcmp(screen, "GIF8", 4) != 0) return false;
        ColorTable global;
        if (screen[10] & kTableFlag) ReadColorTable(in, screen[10], global);

        // Count the frames, passing over every block's data.
        const std::int64_t blocks = in.Position();
        m_frameCount = 0;
        for (std::uint8_t b; in.Byte(b) && b != kTrailer;) {
            if (b == kExtensionIntroducer) {
                in.Skip(1);
                in.SkipSubBlocks();
            } else if (b == kImageSeparator) {
                std::uint8_t d[9];
                if (!in.Bytes(d, 9)) break;
                if ((d[8] & kTableFlag) && !in.Skip(3 * (2u << (d[8] & 7)))) break;
                if (!in.Skip(1)) break; // minimum code size
                in.SkipSubBlocks();
                ++m_frameCount;
            }
        }
        if (m_frameIndex < 0 || m_frameIndex >= m_frameCount) return false;
        in.MoveTo(blocks);

        std::int32_t firstTransparent = -1;
        CanvasEntries canvasEntries;
        for (std::int32_t n = 0;;) {
            std::uint8_t b;
            if (!in.Byte(b) || b == kTrailer) break;
            if (b == kExtensionIntroducer) {
                if (ReadExtension(in) == Block::kEnd) break;
                continue;
            }
            if (b != kImageSeparator) continue;
            std::uint8_t d[9];
            if (!in.Bytes(d, 9)) break;
            const std::uint32_t left = plat::LoadU16(d), top = plat::LoadU16(d + 2);
            const std::int32_t w = plat::LoadU16(d + 4), h = plat::LoadU16(d + 6);
            ColorTable table = global;
            if (d[8] & kTableFlag) ReadColorTable(in, d[8], table);
            const bool composite = n > 0 && m_disposal == 1 && m_dib;
            const int bits = BitCountForColors(table.count);
            // The frame, beside the canvas it is drawn on (which may be widened to 8 bits
            // a pixel while it is there), and the decoder's line.
            const std::uint64_t canvasBytes =
                composite ? PictureBytes(Width(), Height(), BitCount(), HasAlpha()) +
                                PictureBytes(Width(), Height(), 8, HasAlpha())
                          : 0;
            if (w < 1 || h < 1 || DecodeBudgetLeft(w, h, bits, false, canvasBytes + 2 * std::uint64_t(w + h)) == 0)
                break;
            if (n == 0) firstTransparent = m_transparentIndex;
            const std::int32_t frameTransparent = m_transparentIndex;
            DecodedRows rows;
            if (composite) {
                CRasterImage frame(kFormatGif);
                if (!frame.Allocate(w, h, bits, kFormatGif)) break;
                LoadFramePalette(frame, table, frameTransparent);
                DecodeImage(in, (d[8] & kInterlaceFlag) != 0, frame, rows);
                if (!DrawFrameOnCanvas(frame, rows, left, top, frameTransparent, *this, firstTransparent,
                                       canvasEntries))
                    break;
                m_transparentIndex = firstTransparent;
            } else {
                if (!Allocate(w, h, bits, kFormatGif)) break;
                LoadFramePalette(*this, table, frameTransparent);
                DecodeImage(in, (d[8] & kInterlaceFlag) != 0, *this, rows);
                std::copy(std::begin(rows.used), std::end(rows.used), canvasEntries.taken);
                for (std::int32_t index : {frameTransparent, firstTransparent})
                    if (index >= 0 && index < 256) canvasEntries.taken[index] = true;
            }
            m_frameLeft = left;
            m_frameTop = top;
            if (n == m_frameIndex) break;
            ++n;
        }
        in.Release();
        if (m_dib) return true;
    } catch (const std::bad_alloc&) {
    }
    FreeBuffers();
    return false;
}

bool CGifCodec::Write(CRasterImageFile& stream)
{
    if (!stream.IsOpen()) {
        SetLastError("Can't open GIF for writing");
        return false;
    }
    if (!m_dib) {
        SetLastError("No image to save");
        return false;
    }
    const int bits = BitCount();
    if (bits > 8) {
        SetLastError("GIF Images must be 8 bit or less");
        return false;
    }
    try {
        std::vector<std::uint8_t> out = {'G', 'I', 'F', '8', '7', 'a'};
        PutU16(out, static_cast<std::uint32_t>(Width()));
        PutU16(out, static_cast<std::uint32_t>(Height()));
        out.push_back(static_cast<std::uint8_t>(kTableFlag | ((bits - 1) << 4) | (bits - 1)));
        out.push_back(0); // background index
        out.push_back(0); // aspect
        for (std::uint32_t i = 0; i < (1u << bits); ++i) {
            const ColorQuad c = PaletteEntryAt(i);
            out.insert(out.end(), {c.red, c.green, c.blue});
        }

        out.insert(out.end(), {kExtensionIntroducer, kGraphicControl, 4});
        out.push_back(static_cast<std::uint8_t>(((m_disposal & 7) << 2) | (m_transparentIndex != -1 ? 1 : 0)));
        PutU16(out, m_frameDelay);
        out.push_back(static_cast<std::uint8_t>(m_transparentIndex));
        out.push_back(0);

        out.push_back(kImageSeparator);
        PutU16(out, m_frameLeft);
        PutU16(out, m_frameTop);
        PutU16(out, static_cast<std::uint32_t>(Width()));
        PutU16(out, static_cast<std::uint32_t>(Height()));
        out.push_back(0); // no local table, not interlaced
        const int codeSize = std::max(bits, 2);
        out.push_back(static_cast<std::uint8_t>(codeSize));
        EncodePixels(*this, codeSize, out);
        out.push_back(0);

        if (!m_comment.empty()) {
            out.insert(out.end(), {kExtensionIntroducer, kCommentLabel});
            const std::size_t n = std::min<std::size_t>(m_comment.size(), 255);
            out.push_back(static_cast<std::uint8_t>(n));
            out.insert(out.end(), m_comment.begin(), m_comment.begin() + static_cast<std::ptrdiff_t>(n));
            out.push_back(0);
        }
        out.push_back(kTrailer);

        const bool written = stream.Write(out.data(), 1, out.size()) == out.size();
        stream.Flush();
        if (!written || stream.HasError()) {
            SetLastError("Write Error in GIF file");
            return false;
        }
        return true;
    } catch (const std::bad_alloc&) {
        SetLastError("can't allocate memory");
        return false;
    }
}
