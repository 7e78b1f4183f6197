// The document's commands on the placement of the selected page objects: their properties
// and wrap mode, and their stacking order.
#include <vector>

#include "document/doc_body.h"
#include "document/float_object.h"
#include "document/ql_doc.h"
#include "platform/ui/focus.h"
#include "platform/ui/modal.h"

namespace {

ObjectLayoutDialog& LayoutDialog()
{
    static ObjectLayoutDialog dialog;
    return dialog;
}

ColorPickerDialog& PickerDialog()
{
    static ColorPickerDialog dialog;
    return dialog;
}

// Wrap modes 0-3: none, left, right, both.
constexpr std::uint8_t kLastWrapMode = 3;

} // namespace

void CQlDoc::SetObjectLayoutDialog(ObjectLayoutDialog dialog)
{
    LayoutDialog() = std::move(dialog);
}

void CQlDoc::SetColorPickerDialog(ColorPickerDialog dialog)
{
    PickerDialog() = std::move(dialog);
}

const ColorPickerDialog& CQlDoc::GetColorPickerDialog()
{
    return PickerDialog();
}

void CQlDoc::BlockAttr()
{
    const int selected = GetSelectedObjectCount();
    if (!IsEditable() || selected == 0) return;
    if (selected == 1) {
        // The object's own dialog makes its own changes.
        m_body->GetSelectedObject(0)->ShowProperties();
    } else {
        std::uint8_t wrap = m_body->GetSelectedObject(0)->m_wrapMode;
        const ObjectLayoutDialog& dialog = LayoutDialog();
        const int answer = dialog ? dialog(wrap) : plat::RunOkCancelDialog(u"对象属性");
        // A mode outside the four is no choice: nothing changes.
        if (answer == 1 && wrap <= kLastWrapMode) {
            PushUndoState();
            for (int n = 0; n < selected; ++n) {
                CFloatObject* object = m_body->GetSelectedObject(n);
                object->m_wrapMode = wrap;
                object->RecalcLayout();
            }
            m_body->BuildPageRegions();
            m_body->RelayoutWhole();
            SetModified();
            RequestRepaint();
        }
    }
    if (plat::Window* canvas = GetCanvas()) plat::SetFocus(canvas);
}

void CQlDoc::RestackSelected(void (CFloatObject::*move)())
{
    const int selected = GetSelectedObjectCount();
    if (!IsEditable() || selected == 0) return;
    // Each move takes its object out of the list and appends it again: the selection is
    // taken first, in list order, so that every object moves once.
    std::vector<CFloatObject*> objects;
    for (int n = 0; n < selected; ++n) objects.push_back(m_body->GetSelectedObject(n));
    PushUndoState();
    for (CFloatObject* object : objects) (object->*move)();
    SetModified();
    RequestRepaint();
}

void CQlDoc::BlockPosUp() { RestackSelected(&CFloatObject::BringForward); }
void CQlDoc::BlockPosDown() { RestackSelected(&CFloatObject::SendBackward); }
void CQlDoc::BlockPosFirst() { RestackSelected(&CFloatObject::BringToFront); }
void CQlDoc::BlockPosLast() { RestackSelected(&CFloatObject::SendToBack); }
