// The ruler above a pane's canvas. For now a plain strip of the ruler's height, which the
// view places and shows or hides; the markers and their dragging come with the ruler's own
// drawing.
#pragma once
#include "platform/ui/window.h"

class CQlDoc;

class CQlRuler : public plat::Window {
public:
    static constexpr int kHeight = 20;
    static constexpr int kControlId = 303;

    explicit CQlRuler(CQlDoc* doc) : m_doc(doc) {}
    ~CQlRuler() override { Destroy(); }
    CQlDoc* GetDocument() const { return m_doc; }

protected:
    plat::LResult WindowProc(unsigned message, plat::WParam wParam, plat::LParam lParam) override;

private:
    CQlDoc* m_doc; // not owned
};
