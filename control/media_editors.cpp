#include "control/media_editors.h"

#include "editor/ql_main.h"
#include "editor/ql_view.h"
#include "media/external_editor.h"

bool CExternalEditorQuery::CanEditImage(plat::StringView ext) const
{
    return CExternalEditor().CanEditImage(ext);
}

bool CExternalEditorQuery::CanEditImageAdv(plat::StringView ext) const
{
    return CExternalEditor().CanEditImageAdv(ext);
}

bool CExternalEditorQuery::CanEditAudio(plat::StringView ext) const
{
    return CExternalEditor().CanEditAudio(ext);
}

bool CExternalEditorQuery::CanEditVideo(plat::StringView ext) const
{
    return CExternalEditor().CanEditVideo(ext);
}

void InstallMediaEditors(CQlMain* frame)
{
    static const CExternalEditorQuery query;
    for (CQlView* view : {frame->GetMainView(), frame->GetReferenceView()})
        if (view) view->SetMediaEditorQuery(&query);
}
