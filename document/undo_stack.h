// Undo by snapshots. Before an edit the command pushes a snapshot of the body text around
// the place of the edit (the paragraphs from two before to two after it), every floating
// object, the running formats, caret and anchor, and the format state with the zoom. Undo
// restores the newest snapshot after saving the current content of the same range in the
// slot above it, which Redo then brings back. A document keeps up to 100 snapshots to
// undo; pushing onto a full stack drops the oldest.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/base/strings.h"
#include "platform/file/archive.h"
#include "platform/file/file.h"

class CDocBody;
class CDocContext;
class CTextFlow;

// The snapshot slots of one document. Slot 0 is the oldest; Top() is the slot the next
// Undo restores (-1: none) and after a push Top() == Count() - 1. After an Undo the slot
// above the restored one holds the state that Undo replaced.
class CUndoStack {
public:
    // Snapshots that can be undone.
    static constexpr int kMaxUndo = 100;
    // One slot more, so that the redo state saved by the first Undo of a full stack does
    // not push out an undo step.
    static constexpr int kSlots = kMaxUndo + 1;

    CUndoStack() = default;
    CUndoStack(const CUndoStack&) = delete;
    CUndoStack& operator=(const CUndoStack&) = delete;

    int Top() const { return m_top; }
    int Count() const { return m_count; }
    bool CanUndo() const { return m_top >= 0; }
    // A snapshot two slots above the top: the one the matching Undo saved.
    bool CanRedo() const { return m_top + 2 < m_count; }
    void Clear();
    // Places a new snapshot at the top; the redo branch above it is lost, and on a full
    // stack the oldest snapshot.
    void Push(std::unique_ptr<plat::MemFile> snapshot);
    // Before an Undo restores the top: the current state of the top's range goes into the
    // slot above it.
    void PutRedo(std::unique_ptr<plat::MemFile> snapshot);
    // The snapshot in a slot (null outside the slots in use).
    plat::MemFile* At(int slot) const;
    void SetTop(int top) { m_top = top; }

private:
    std::array<std::unique_ptr<plat::MemFile>, kSlots> m_slots;
    int m_top = -1;
    int m_count = 0;
};

// The body range a snapshot covers and its record (fields: range start, the name of the
// paragraph end that closes the range, the page objects, running formats, caret, anchor,
// focus flag, the range's items, the revisions flag). The format state follows it in the
// snapshot.
namespace undo_range {

// The first item of the range around item i: the start of the paragraph two before the
// one that holds i (0 when there are fewer).
int GetUndoRangeStart(const CTextFlow& flow, int i);
// The name of the paragraph end that closes the range around item i: the end of the
// paragraph two after the one that holds i, else the final paragraph end.
plat::String GetUndoRangeEndName(const CTextFlow& flow, int i);
// Writes the record of the range around two item indices (-1: the caret and the anchor).
void SaveUndoRange(CDocBody& body, plat::Archive& ar, int p, int q);
void WriteUndoRange(CDocBody& body, plat::Archive& ar, int start, const plat::String& endName);
void ReadUndoRangeHeader(plat::Archive& ar, std::int32_t& start, plat::String& endName);
// Puts the range of a record back, with the objects and the editing state, and lays the
// body out again. A record that does not read or does not fit the body is refused with
// the archive's error and changes nothing. readTail, when given, reads what follows the
// range in the same archive before anything is changed, so that it can refuse too.
void RestoreUndoRange(CDocBody& body, plat::Archive& ar, const std::function<void(plat::Archive&)>& readTail = {});

} // namespace undo_range
