// Text frames: text flows that live in a rectangle of fixed width instead of on pages -
// the text of a text shape, of a table cell, of an annotation's box and, as a caption,
// the line under a floating object. A frame lays out its paragraphs in one column from its
// own top-left corner, with one alignment and one line spacing for the whole frame and no
// indents; its items' coordinates are frame-local.
#pragma once
#include <cstdint>

#include "document/text_flow.h"

class CFindState;

class CTextFrameObj : public CTextFlow {
public:
    // A frame of a shape, cell or caption: with a width or a height it gets its final
    // paragraph end and is laid out; with neither it stays empty until it is loaded. A
    // caption (node type 29) writes in 9 point.
    CTextFrameObj(CDocContext* doc, CDocNode* parent, std::uint16_t type, int width, int height, std::uint8_t alignment);
    // The box of an annotation: left aligned, with its final paragraph end, not laid out.
    CTextFrameObj(CDocContext* doc, std::uint16_t type, int width, int height);
    ~CTextFrameObj() override;

    // Width, height and content height, then the flow record.
    void Load(plat::Archive& ar, int mode) override;
    void Save(plat::Archive& ar, int mode) override;
    using CTextFlow::Load;
    using CTextFlow::Save;

    void SetCharFormat(int fieldId, const CCharFormat& values) override;
    // The frame's one alignment and spacing: every paragraph follows them.
    void SetAlignment(std::uint8_t alignment) override;
    void SetLineSpacing(std::uint8_t spacing) override;
    // Frames have no indents.
    void SetIndents(std::int32_t, std::int32_t, std::int32_t) override {}
    void UpdateCaretFormat(int take) override;
    void DeleteSelection() override;
    void OnDelete() override;
    void OnBackspace() override;
    // Measures, breaks and places every line in the frame's width.
    void Relayout(int all, int retry) override;

    // The flow's search from its caret; a match makes this frame the focus text.
    bool FindNext(CFindState& state);

    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    // The owner sets the size and then lays the frame out again.
    void SetSize(int width, int height)
    {
        m_width = width;
        m_height = height;
    }
    int GetContentHeight() const { return m_contentHeight; }
    int GetLineBreakCount() const { return m_lineBreaks; }
    int GetLineGap() const { return m_lineGap; }

protected:
    std::int32_t m_width = 0;         // the line width; 0: not laid out
    std::int32_t m_height = 0;        // the height the owner gives the frame
    std::int32_t m_contentHeight = 0; // bottom of the last line, from the frame's top
    std::int16_t m_lineBreaks = 0;    // lines ended by a wrap or a paragraph end (not the last)
    std::int32_t m_lineGap = 0;
    std::int32_t m_curLineTop = 0;    // the layout cursor after the last line
};

// The caption under a floating object: a frame of node type 29 holding the caption text,
// justified when it needs more than one line.
class CCaptionText : public CTextFrameObj {
public:
    CCaptionText(CDocContext* doc, CDocNode* parent, plat::StringView caption, int width, int height,
                 std::uint8_t alignment);
    ~CCaptionText() override;

protected:
    // The caption stands under its object's box.
    plat::Point GetPageOrigin() const override;
};
