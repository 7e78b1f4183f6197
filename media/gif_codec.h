// The GIF codec of the raster image: reads one frame of a GIF87a or GIF89a file (the one
// FrameIndex names; frames after the first are drawn over the ones before when their
// graphic control asks to leave them in place) and writes single-frame GIF87a files,
// each direction with its own LZW coder.
// A codec object lives for one read or write; the raster image takes the result over.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "media/raster_image.h"

class CGifCodec : public CRasterImage {
public:
    CGifCodec() : CRasterImage(kFormatGif) {}
    ~CGifCodec() override;

    // Read: true, or false with no message (not a GIF, or no frame of that index). Short
    // or damaged data ends a frame's decoding early; the pixels it leaves are index 0.
    bool Read(CRasterImageFile& stream);
    // Write: true, or false with the last error set.
    bool Write(CRasterImageFile& stream);

    // What the last read found in the file's extensions.
    const std::string& Comment() const { return m_comment; }
    std::uint16_t LoopCount() const { return m_loopCount; }
    int DisposalMethod() const { return m_disposal; }
    std::uint32_t FrameDelay() const { return m_frameDelay; }
    std::uint32_t FrameLeft() const { return m_frameLeft; }
    std::uint32_t FrameTop() const { return m_frameTop; }

    // The reader's buffered view of the stream.
    class Input;
    // What the data of a frame filled: its rows (top row first) and the palette indices
    // they hold (index 0 counted whenever a row is not filled).
    struct DecodedRows {
        std::vector<bool> reached;
        bool used[256] = {};
    };

private:
    enum class Block { kNext, kEnd };
    // One extension block after its 0x21; kEnd when it is refused.
    Block ReadExtension(Input& in);
    // Decodes the image data of a frame into its allocated picture.
    void DecodeImage(Input& in, bool interlaced, CRasterImage& frame, DecodedRows& rows);

    std::string m_comment;
    std::uint16_t m_loopCount = 0;
    int m_disposal = 0;
};
