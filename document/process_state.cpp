#include "document/process_state.h"

#include "document/annotation.h"
#include "document/doc_importer.h"
#include "document/import_sink.h"
#include "document/doc_password.h"
#include "document/float_object.h"
#include "document/page_object_list.h"
#include "document/ql_doc.h"
#include "document/statistics.h"
#include "media/metafile_playback.h"
#include "platform/base/system.h"
#include "platform/gfx/sys_colors.h"
#include "platform/ui/modal.h"
#include "platform/ui/timer.h"

void ResetProcessState()
{
    plat::SetClockSource({});
    plat::SetGuidSource({});
    plat::SetRandomSource({});
    plat::RandomSeed(1);
    plat::ResetTimers();
    plat::SetModalHandler({});
    plat::ClearModalAnswers();
    plat::ClearModalLog();
    plat::ResetSysColors();
    SetMetafileWaits({});
    UnregisterDocObjects();
    UnregisterDocImporters();
    ResetImportSink();
    SetPasswordPrompt({});
    SetWordCountDialog({});
    CQlDoc::SetSettingsDialog({});
    CAnnotationList::SetAnnotationDialog({});
    CQlDoc::SetObjectLayoutDialog({});
    CQlDoc::SetColorPickerDialog({});
    CPageObjectList::SetPasteOffset(plat::Point(200, 200));
}
