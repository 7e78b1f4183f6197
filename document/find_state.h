// Where a find or replace stands: the flow it continues in, the next item index there,
// whether it has passed the flow it began in, and the texts. The find and replace
// dialogs own it; the document and its flows read and advance it.
#pragma once
#include <cstdint>

#include "platform/base/strings.h"

class CTextFlow;

class CFindState {
public:
    virtual ~CFindState() = default;

    CTextFlow* m_flow = nullptr;   // not owned
    std::int32_t m_pos = 0;        // after a match: just past its last item
    std::int32_t m_started = 0;    // the search has reached the flow it began in
    plat::String m_findText;       // compared code unit by code unit
    plat::String m_replaceText;
    std::int32_t m_replaceMode = 0; // 1 in the replace dialog: deleted text never matches
};
