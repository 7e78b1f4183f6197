// What the canvas's context menu offers for outside editing: the outside editors' own
// answers (CExternalEditor, bound for each question), installed on the frame's views.
#pragma once
#include "editor/ql_canvas.h"

class CQlMain;

class CExternalEditorQuery : public CMediaEditorQuery {
public:
    bool CanEditImage(plat::StringView ext) const override;
    bool CanEditImageAdv(plat::StringView ext) const override;
    bool CanEditAudio(plat::StringView ext) const override;
    bool CanEditVideo(plat::StringView ext) const override;
};

// The frame's main and reference views ask the outside editors from now on.
void InstallMediaEditors(CQlMain* frame);
