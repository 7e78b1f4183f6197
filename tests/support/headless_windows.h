// The two headless halves of a document's window in one object, so that a test reads what
// the view and the frame were asked through one name: `CQlDoc doc(&window, &window)`.
#pragma once
#include "document/doc_frame.h"
#include "document/doc_view.h"

struct CHeadlessWindows : CHeadlessDocView, CHeadlessDocFrame {};
