// The property dialogs of page objects: how body text flows around the object (its wrap
// mode, four picture buttons with the current one pressed) and its note. CObjectPropDlg
// (7150) serves text shapes, drawn shapes, media objects and several selected objects;
// CTablePropDlg (7108) serves tables.
#pragma once
#include <cstdint>

#include "platform/base/strings.h"
#include "platform/ui/dialog.h"
#include "resources/res_wrap_buttons.h"

class CObjectPropDlg : public plat::Dialog {
public:
    explicit CObjectPropDlg(plat::Window* parent = nullptr);

    void OnWrapNone() { OnWrap(0); }
    void OnWrapLeft() { OnWrap(1); }
    void OnWrapRight() { OnWrap(2); }
    void OnWrapBoth() { OnWrap(3); }

    int m_wrapMode = -1; // set by the caller before the dialog runs; read back after OK
    plat::String m_note;
    int m_noteEditable = 0; // 0: the note edit is disabled

protected:
    bool OnInitDialog() override;
    void DoDataExchange(plat::DataExchange& dx) override;
    bool OnCommand(unsigned id, unsigned code, plat::Window* control) override;
    void OnDrawItem(plat::DrawItem& item) override;

private:
    void OnWrap(int mode);
    CWrapButtons m_buttons;
};

class CTablePropDlg : public plat::Dialog {
public:
    explicit CTablePropDlg(plat::Window* parent = nullptr);

    void OnWrapNone() { OnWrap(0); }
    void OnWrapLeft() { OnWrap(1); }
    void OnWrapRight() { OnWrap(2); }
    void OnWrapBoth() { OnWrap(3); }

    int m_wrapMode = -1;
    plat::String m_note;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(plat::DataExchange& dx) override;
    bool OnCommand(unsigned id, unsigned code, plat::Window* control) override;
    void OnDrawItem(plat::DrawItem& item) override;

private:
    void OnWrap(int mode);
    CWrapButtons m_buttons;
};

// The layout dialog of several selected objects (CQlDoc::SetObjectLayoutDialog): the
// object dialog over the wrap mode, its note left out. Returns the dialog's answer (1 OK).
int RunObjectLayoutDialog(std::uint8_t& wrapMode, plat::Window* parent);
