// The image properties dialog (template 7129, "图象属性"): a preview of the picture, its
// natural size, the four wrap-mode buttons and the note that the image shows as its
// caption. The image object fills the members, runs it and reads the note and wrap mode
// back after OK; the dialog itself changes nothing in the document.
#pragma once
#include "platform/ui/dialog.h"
#include "resources/res_wrap_buttons.h"

class CImagePropDlg : public plat::Dialog {
public:
    static constexpr int kTemplateId = 7129;
    enum ControlId : int {
        kIdcPreview = 5540,
        kIdcWidth = 5541,
        kIdcHeight = 5542,
        kIdcWrapNone = 5547, // then Left, Right, Both
        kIdcNote = 224,
    };
    static const plat::DialogTemplate& Template();

    explicit CImagePropDlg(plat::Window* parent);

    // The preview's picture box: the button's client rectangle shrunk by one pixel a side.
    // Where a picture of natural size (width, height) is drawn inside box.
    static plat::Rect PreviewRect(const plat::Rect& box, int width, int height);

    plat::String m_note;
    int m_naturalWidth = 0;
    int m_naturalHeight = 0;
    plat::String m_picturePath; // the working copy
    int m_wrapMode = 3;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(plat::DataExchange& dx) override;
    bool OnCommand(unsigned id, unsigned code, plat::Window* control) override;
    void OnDrawItem(plat::DrawItem& item) override;

private:
    void DrawPreview(plat::Dc& dc, const plat::Rect& rect) const;

    CWrapButtons m_wrapButtons{kIdcWrapNone};
};
