#include "editor/annotation_dialog.h"

#include <cstdio>
#include <ctime>

#include "platform/ui/button.h"
#include "platform/ui/data_exchange.h"
#include "platform/ui/focus.h"
#include "resources/res_dialogs.h"

plat::String FormatAnnotationTime(std::int32_t seconds)
{
    const std::time_t t = seconds;
    std::tm local{};
    localtime_r(&t, &local);
    char text[96];
    std::snprintf(text, sizeof text, "%d\xE5\xB9\xB4%d\xE6\x9C\x88%d\xE6\x97\xA5%d\xE6\x97\xB6%d\xE5\x88\x86%d\xE7\xA7\x92",
                  local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return plat::Utf8ToUtf16(text);
}

CAnnotationDlg::CAnnotationDlg(CAnnotationDlgValues& values, plat::Window* parent)
    : plat::Dialog(DialogTemplateOf(kIddAnnotation), parent), m_values(values)
{
}

bool CAnnotationDlg::OnInitDialog()
{
    plat::Dialog::OnInitDialog();
    SetDlgItemText(kIdcAnnotationAuthor, m_values.authorName);
    SetDlgItemText(kIdcAnnotationTime, FormatAnnotationTime(m_values.time));
    plat::Control* text = GetDlgItem(kIdcAnnotationText);
    if (text) text->EnableWindow(m_values.editable);
    if (plat::Control* erase = GetDlgItem(kIdcAnnotationDelete)) erase->EnableWindow(m_values.editable && !m_values.isNew);
    if (text && m_values.editable) {
        GotoDlgCtrl(text);
        return false;
    }
    return true;
}

void CAnnotationDlg::DoDataExchange(plat::DataExchange& dx)
{
    plat::DdxText(dx, kIdcAnnotationText, m_values.text);
}

bool CAnnotationDlg::OnCommand(unsigned id, unsigned code, plat::Window*)
{
    if (static_cast<int>(id) != kIdcAnnotationDelete || code != plat::kBnClicked) return false;
    m_values.deleteRequested = true;
    OnOK();
    return true;
}

int RunAnnotationDialog(CAnnotationDlgValues& values, plat::Window* parent, plat::Window* focusAfter)
{
    CAnnotationDlg dlg(values, parent);
    const int result = dlg.DoModal();
    if (focusAfter) plat::SetFocus(focusAfter);
    return result;
}
