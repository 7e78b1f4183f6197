// The tests' own kind of floating object: a box filled with its colour, with a record of
// its own after the base record, registered with the object factory for the life of a
// scope. Free of the test framework, so that fuzz targets use it too.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "document/float_object.h"
#include "document/ql_doc.h"
#include "document/units.h"
#include "platform/file/archive.h"
#include "platform/gfx/dc.h"

namespace objtest {

// The node type the tests' object kind is registered under.
constexpr std::uint16_t kTestType = kNodeShape;

// A box filled with its colour. Its record adds the colour and a tag after the base
// record; drawing appends the tag to the shared paint log.
class CTestObject : public CFloatObject {
public:
    CTestObject(CDocContext* doc, CDocNode* parent) : CFloatObject(doc, parent, kTestType) {}

    static std::vector<int>& PaintLog()
    {
        static std::vector<int> log;
        return log;
    }

    void Load(plat::Archive& ar, int mode) override
    {
        LoadBase(ar, mode);
        m_color = ar.ReadU32() & 0xFFFFFF;
        m_tag = ar.ReadU8();
        RecalcLayout();
    }
    void Save(plat::Archive& ar, int mode, int dx, int dy) override
    {
        SaveBase(ar, mode, dx, dy);
        ar.WriteU32(m_color);
        ar.WriteU8(static_cast<std::uint8_t>(m_tag));
    }
    void Draw(plat::Dc& dc, double zoom, int x0, int y0, int pass, CRenderContext& rc) override
    {
        PaintLog().push_back(m_tag);
        const plat::Rect b(m_bounds.left, m_bounds.top, m_bounds.left + m_width, m_bounds.top + m_height);
        const plat::Rect px = TwipsToPixelsRect(dc, zoom, b.left, b.top, b.right, b.bottom);
        dc.FillRect(plat::Rect(x0 + px.left, y0 + px.top, x0 + px.right, y0 + px.bottom),
                    plat::Brush::Solid(m_color));
        CFloatObject::Draw(dc, zoom, x0, y0, pass, rc);
    }
    bool IsShape() const override { return true; }
    // Records which annotation numbers the body asked it to drop, and how often it was
    // asked to clear and mark its spelling.
    void RemoveAnnotationMark(std::int16_t annotation) override { m_removedMarks.push_back(annotation); }
    void ClearSpellMarks() override { ++m_spellClears; }
    void MarkSpelling() override { ++m_spellMarks; }
    void MarkSentenceErrors(CSentenceChecker&) override { ++m_sentenceMarks; }

    plat::ColorRef m_color = 0xFF0000; // blue
    int m_tag = 0;
    std::vector<int> m_removedMarks;
    int m_spellClears = 0;
    int m_spellMarks = 0;
    int m_sentenceMarks = 0;
};

inline std::unique_ptr<CFloatObject> MakeTestObject(CDocContext* doc, CDocNode* parent)
{
    return std::make_unique<CTestObject>(doc, parent);
}

// The test kind's library function: registers its node type with the object factory, as
// every kind library does from one function of its own.
inline void RegisterTestObjectKind()
{
    RegisterDocObject(kTestType, &MakeTestObject);
}

// Registers the test kind with the factory and puts back what was there.
class ScopedTestKind {
public:
    ScopedTestKind() : m_previous(RegisterDocObject(kTestType, &MakeTestObject)) {}
    ~ScopedTestKind() { RegisterDocObject(kTestType, m_previous); }
    ScopedTestKind(const ScopedTestKind&) = delete;
    ScopedTestKind& operator=(const ScopedTestKind&) = delete;

private:
    DocObjectMaker m_previous;
};

// A test object with its box at (left, top), the size given, laid out.
inline std::unique_ptr<CTestObject> NewObject(CQlDoc* doc, int left, int top, int width, int height,
                                              std::uint8_t wrap = kWrapBoth, std::uint8_t layer = 2, int tag = 0)
{
    auto o = std::make_unique<CTestObject>(doc, nullptr);
    o->m_bounds = plat::Rect(left, top, left + width, top + height);
    o->m_width = width;
    o->m_height = height;
    o->m_wrapMode = wrap;
    o->m_layer = layer;
    o->m_tag = tag;
    o->RecalcLayout();
    return o;
}

} // namespace objtest
