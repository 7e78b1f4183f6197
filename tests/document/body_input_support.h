// Helpers of the body input tests.
#pragma once
#include <memory>

#include "document/doc_body.h"
#include "document/ql_doc.h"
#include "platform/base/geometry.h"

namespace bodyinput {

// An object of the tests' kind T (made with the document) with its box at the rectangle,
// put into the body, which flows its text around it.
template <class T>
T* AddBox(CQlDoc& doc, const plat::Rect& r)
{
    auto o = std::make_unique<T>(&doc);
    o->m_bounds = r;
    o->m_width = r.Width();
    o->m_height = r.Height();
    o->RecalcLayout();
    T* added = static_cast<T*>(doc.GetBody()->AddObject(std::move(o)));
    doc.GetBody()->BuildPageRegions();
    doc.GetBody()->RelayoutWhole();
    return added;
}

} // namespace bodyinput
