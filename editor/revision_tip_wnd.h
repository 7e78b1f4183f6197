// The revision tip: a small window over the canvas that names the author, the operation
// and the time of the revised text under the mouse.
#pragma once
#include <cstdint>

#include "platform/ui/window.h"

class CDocContext;
class CTextItem;

class CRevisionTipWnd : public plat::Window {
public:
    static constexpr int kId = 305;
    static constexpr int kWidth = 130;
    static constexpr int kHeight = 50;
    static constexpr int kTop = 26;
    // What the tip shows.
    enum Kind : std::uint8_t { kNone = 0, kInsertion = 1, kDeletion = 2 };

    ~CRevisionTipWnd() override;

    // A hidden child of the parent at (0, 26), 130 x 50 pixels, id 305.
    bool Create(plat::Window* parent);
    // The mouse is over the item (null: over no text) at (x, y) in twips of the document;
    // scroll is the canvas's scroll position in pixels. Shows, moves, hides or keeps the
    // tip as the item's revision asks.
    void Update(const CDocContext& doc, int x, int y, const CTextItem* item, plat::Point scroll = plat::Point());

    Kind GetKind() const { return m_kind; }
    std::int16_t GetAuthor() const { return m_author; }
    std::int32_t GetTime() const { return m_time; }
    // The three lines the tip paints for the document.
    void GetLines(const CDocContext& doc, plat::String lines[3]) const;

    // The colours and font it paints with.
    static constexpr plat::ColorRef kFrameColor = plat::Rgb(128, 128, 128);
    static constexpr plat::ColorRef kBackColor = plat::Rgb(255, 255, 225); // the tooltip background
    static constexpr plat::ColorRef kTextColor = plat::Rgb(192, 0, 0);

protected:
    plat::LResult WindowProc(unsigned message, plat::WParam wParam, plat::LParam lParam) override;

private:
    const CDocContext* m_doc = nullptr;
    Kind m_kind = kNone;
    std::int16_t m_author = 0;
    std::int32_t m_time = 0;
};
