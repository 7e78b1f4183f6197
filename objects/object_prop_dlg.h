// The property dialogs of page objects: how body text flows around the object (its wrap
// mode, four picture buttons with the current one pressed) and its note. CObjectPropDlg
// (7150) serves text shapes, drawn shapes, media objects and several selected objects;
// CTablePropDlg (7108) serves tables.
#pragma once
#include <cstdint>

#include "platform/base/strings.h"
#include "platform/ui/dialog.h"
#include "resources/res_wrap_buttons.h"

// What both dialogs share: the wrap mode with its four buttons and the note edit.
class CWrapPropDlg : public plat::Dialog {
public:
    void OnWrapNone() { OnWrap(0); }
    void OnWrapLeft() { OnWrap(1); }
    void OnWrapRight() { OnWrap(2); }
    void OnWrapBoth() { OnWrap(3); }

    int m_wrapMode = -1; // set by the caller before the dialog runs; read back after OK
    plat::String m_note;

protected:
    CWrapPropDlg(int templateId, int firstWrapId, int noteId, plat::Window* parent);
    // The base initialisation (fills the note edit), then the controls read back.
    bool OnInitDialog() override;
    void DoDataExchange(plat::DataExchange& dx) override;
    bool OnCommand(unsigned id, unsigned code, plat::Window* control) override;
    void OnDrawItem(plat::DrawItem& item) override;
    int NoteId() const { return m_noteId; }

private:
    void OnWrap(int mode);
    CWrapButtons m_buttons;
    int m_firstWrapId;
    int m_noteId;
};

class CObjectPropDlg : public CWrapPropDlg {
public:
    explicit CObjectPropDlg(plat::Window* parent = nullptr);
    int m_noteEditable = 0; // 0: the note edit is disabled

protected:
    bool OnInitDialog() override;
};

// The table's note edit is always enabled.
class CTablePropDlg : public CWrapPropDlg {
public:
    explicit CTablePropDlg(plat::Window* parent = nullptr);
};

class CFloatObject;

// The properties slot of one page object: the dialog runs over the object's wrap mode
// (and its caption as the note when withNote); on OK an undo step is taken, the object
// takes the answers, the body flows around it anew and 1 is returned; the canvas gets the
// focus back either way.
int RunWrapProperties(CFloatObject& object, CWrapPropDlg& dlg, bool withNote);

// The layout dialog of several selected objects (CQlDoc::SetObjectLayoutDialog): the
// object dialog over the wrap mode, its note left out. Returns the dialog's answer (1 OK).
int RunObjectLayoutDialog(std::uint8_t& wrapMode, plat::Window* parent);

// The property dialog of one drawn or text shape: the object dialog over its wrap mode,
// run as RunWrapProperties runs it (no note).
int ShowWrapProperties(CFloatObject& object);
