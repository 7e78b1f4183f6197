// The annotation dialog "编辑批注" (template 314): the author's name and the time, shown
// only, and the note's text, editable while the note's author is the one editing; a new
// note has no delete button. The frame installs it as the document's annotation dialog.
#pragma once
#include "document/annotation.h"
#include "platform/ui/dialog.h"

class CAnnotationDlg : public plat::Dialog {
public:
    // The values are filled in on OK (the text; deleteRequested for "删除批注").
    CAnnotationDlg(CAnnotationDlgValues& values, plat::Window* parent = nullptr);

protected:
    bool OnInitDialog() override;
    void DoDataExchange(plat::DataExchange& dx) override;
    bool OnCommand(unsigned id, unsigned code, plat::Window* control) override;

private:
    CAnnotationDlgValues& m_values;
};

// The time as the dialog shows it: "%d年%d月%d日%d时%d分%d秒", local time.
plat::String FormatAnnotationTime(std::int32_t seconds);

// Runs the dialog over the parent, then gives the focus window (the canvas) the focus
// back whatever was pressed; returns the button that ended it.
int RunAnnotationDialog(CAnnotationDlgValues& values, plat::Window* parent, plat::Window* focusAfter);
