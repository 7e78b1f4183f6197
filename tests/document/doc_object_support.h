// Helpers of the document-object tests: a document reset as a view resets it, shown in a
// headless window.
#pragma once
#include <gtest/gtest.h>

#include "document/doc_body.h"
#include "tests/support/headless_windows.h"
#include "document/ql_doc.h"

namespace doctest {

// The window goes first: the document talks to it until it is gone.
struct ShownDoc {
    CHeadlessWindows window;
    CQlDoc doc{&window, &window};
    ShownDoc() { doc.Reset(); }
    CDocBody& Body() const { return *doc.GetBody(); }
};

// A new document's geometry: paper 200 x 287 mm (11338 x 16270 twips), margins 20 mm (1133
// twips); pages follow each other every 16470 twips.
constexpr int kPaperW = 11338;
constexpr int kPaperH = 16270;
constexpr int kMargin = 1133;
constexpr int kPitch = kPaperH + 200;

} // namespace doctest
