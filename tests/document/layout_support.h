// Helpers of the layout and painting tests: a container of text in one format, and the
// desktop metrics that expectations are worked out from (read from the drawing layer,
// independently of the width cache).
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "document/char_format.h"
#include "document/doc_node.h"
#include "document/named_container.h"
#include "document/ql_doc.h"
#include "document/text_item.h"
#include "platform/gfx/dc.h"

namespace layouttest {

// Metrics of the two default faces at one size, in twips, as the 96-dpi desktop gives them.
struct FaceMetrics {
    int cjkHeight = 0; // also the width of every CJK item
    int cjkAscent = 0;
    int westernHeight = 0;
    int westernAscent = 0;
    int westernWidths[0x10000] = {};

    int C() const { return cjkHeight; }
    int W(char16_t c) const { return westernWidths[c]; }
    int W(const std::u16string& s) const
    {
        int sum = 0;
        for (char16_t c : s) sum += westernWidths[c];
        return sum;
    }
    // The height of a line that holds both faces: the larger ascent plus the larger part
    // below the baseline.
    int MixedHeight() const
    {
        return std::max(cjkAscent, westernAscent) +
               std::max(cjkHeight - cjkAscent, westernHeight - westernAscent);
    }
};

inline std::unique_ptr<FaceMetrics> ReadMetrics(int size = 210, const char16_t* cjkFace = u"宋体",
                                                const char16_t* westernFace = u"Times New Roman")
{
    auto m = std::make_unique<FaceMetrics>();
    plat::Dc dc;
    dc.SetMapMode(plat::kMmTwips);
    plat::FontDesc d;
    d.height = -size;
    d.face = cjkFace;
    plat::Font cjk(d);
    dc.Select(&cjk);
    plat::TextMetrics tm = dc.GetTextMetrics();
    m->cjkHeight = tm.height;
    m->cjkAscent = tm.ascent;
    d.face = westernFace;
    plat::Font western(d);
    dc.Select(&western);
    tm = dc.GetTextMetrics();
    m->westernHeight = tm.height;
    m->westernAscent = tm.ascent;
    // The codes the tests use: Latin, general punctuation and letter-like signs, full-width forms.
    dc.GetCharWidth(0, 1279, m->westernWidths);
    dc.GetCharWidth(0x2000, 0x21FF, m->westernWidths + 0x2000);
    dc.GetCharWidth(0xFF00, 0xFFEF, m->westernWidths + 0xFF00);
    dc.Select(plat::DefaultGuiFont());
    return m;
}

// A container of text in one format: CR makes a paragraph end (0xFF12), '\f' one that
// breaks the page (0xFF10); the final paragraph end closes it.
struct TextBox {
    CQlDoc doc;
    std::unique_ptr<CNamedContainer> box;
    CCharFormat format{&doc};

    explicit TextBox(std::uint16_t type = kNodePlain) : box(std::make_unique<CNamedContainer>(&doc, nullptr, type)) {}

    void Set(const std::u16string& text)
    {
        box->RemoveAll();
        Append(text);
        auto end = std::make_unique<CParaEndItem>(box.get(), kItemFinalParaEnd);
        end->SetFormat(format);
        box->AddItem(std::move(end));
    }
    void Append(const std::u16string& text)
    {
        int at = box->GetCount();
        for (char16_t c : text) {
            if (c == u'\f') {
                auto end = std::make_unique<CParaEndItem>(box.get(), kItemParaPageBreak);
                end->SetFormat(format);
                box->InsertItem(at++, std::move(end));
            } else {
                box->InsertCharAt(at, c, format);
            }
        }
    }
    CTextItem* Item(int i) const { return box->GetItem(i); }
    int Count() const { return box->GetCount(); }
    template <class Change>
    void Modify(int i, Change change)
    {
        CCharFormat f(Item(i)->GetFormat());
        change(f);
        Item(i)->SetFormat(f);
    }
    // Two authors with different ids (records 1 and 2 revise; record 0 is the original).
    void AddAuthors()
    {
        doc.GetAuthors().Append(0, u"");
        doc.GetAuthors().Append(5, u"甲");
        doc.GetAuthors().Append(7, u"乙");
    }
};

} // namespace layouttest
