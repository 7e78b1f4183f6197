// The state the whole process shares, kept to these few objects. Each line says where it
// lives and how a test puts it back; ResetProcessState does all of it at once, for a
// test's TearDown (it must not run while a document is alive that uses the kinds or
// readers it takes away).
//
// platform:
//   clock (platform/base/system.h)          plat::SetClockSource({}) - the real clock again
//   GUID source, random numbers (same)      plat::SetGuidSource({}), plat::SetRandomSource({}),
//                                           plat::RandomSeed(1)
//   timers (platform/ui/timer.h)            plat::ResetTimers()
//   modal and message-box handlers, their   plat::SetModalHandler({}), plat::ClearModalAnswers(),
//   queued answers and log (platform/ui)    plat::ClearModalLog()
//   font engine (platform/gfx)              caches of faces and metrics only; nothing to reset
//   system colours (platform/gfx)           plat::ResetSysColors()
//   private temporary folder                made once, removed when the process exits
// media:
//   metafile waits (metafile_playback.h)    SetMetafileWaits({})
// document:
//   format pool, item arena                 shared storage of equal formats and of items; a
//                                           document holds handles into them, so they are never
//                                           reset (the pool is used from one thread: checked in
//                                           debug builds)
//   the process's width cache               measurements only; nothing to reset
//   object kinds (float_object.h)           RegisterDocObject(type, nullptr) per kind
//   readers of other formats                UnregisterDocImporter(name) per reader
//   (doc_importer.h)
//   import sink (import_sink.h)             ResetImportSink()
//   password prompt (doc_password.h)        SetPasswordPrompt({})
//   word-count dialog (statistics.h)        SetWordCountDialog({})
//   settings dialog, annotation dialog,     CQlDoc::SetSettingsDialog({}),
//   object layout dialog, colour picker     CAnnotationList::SetAnnotationDialog({}),
//                                           CQlDoc::SetObjectLayoutDialog({}),
//                                           CQlDoc::SetColorPickerDialog({})
//   paste offset of page objects            CPageObjectList::SetPasteOffset({200, 200})
#pragma once

// Puts back everything above that can be put back: the real clock, GUIDs and random
// numbers, no timers, no handlers, answers or logged boxes, no registered object kinds or
// readers, no prompts or dialogs, the first paste offset.
void ResetProcessState();
