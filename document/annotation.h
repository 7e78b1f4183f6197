// Annotations: notes attached to runs of text, each with its author record, time and text.
// Annotated characters carry the annotation's number (its index + 1) in their format; the
// list keeps the notes in the order they were made and is a section of the native file.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/base/geometry.h"
#include "platform/base/strings.h"
#include "platform/file/archive.h"

class CDocContext;
class CRenderContext;
namespace plat {
class Dc;
}

class CAnnotation {
public:
    CAnnotation() = default;
    CAnnotation(std::int32_t author, std::int32_t time, plat::String text);

    // Author index, time, text.
    void Load(plat::Archive& ar);
    void Save(plat::Archive& ar) const;

    // Opens the note in the dialog. Its text may be changed, and the note deleted, only
    // while its author is still the one editing (every author record from its own on has
    // the same id) in an editable document. Returns 1 when the user deleted it (the caller
    // removes its marks); 0 otherwise, the new text taken on OK.
    int Edit(CDocContext& doc);

    std::int32_t m_author = 0; // index into the author table
    std::int32_t m_time = 0;   // seconds since 1970
    plat::String m_text;
    plat::Rect m_box{0, 0, 1, 1}; // where its box was last drawn, document twips
    std::int32_t m_drawn = 0;     // drawn during the current paint
    std::int32_t m_hovered = 0;   // the mouse is over text that carries it
};

// What the annotation dialog shows and gives back: the author's name, the time and the
// text, whether the note is new (no delete button) and whether its text may be changed.
// The dialog fills in the text, sets deleteRequested for "删除批注", and returns 1 for OK.
struct CAnnotationDlgValues {
    bool isNew = false;
    bool editable = true;
    plat::String authorName;
    std::int32_t time = 0;
    plat::String text;
    bool deleteRequested = false;
};
using AnnotationDialog = std::function<int(CAnnotationDlgValues&)>;

class CAnnotationList {
public:
    explicit CAnnotationList(CDocContext* owner = nullptr) : m_owner(owner) {}
    CAnnotationList(const CAnnotationList&) = delete;
    CAnnotationList& operator=(const CAnnotationList&) = delete;

    CDocContext* GetDocument() const { return m_owner; }
    int GetCount() const { return static_cast<int>(m_list.size()); }
    // Null outside the list.
    CAnnotation* GetAt(int index) const;
    // By the number characters carry; null for 0, −1 (none) and numbers outside the list.
    CAnnotation* FromNumber(std::int32_t number) const { return GetAt(number - 1); }
    // Appends a note and returns its number (the new count).
    int Add(std::int32_t author, std::int32_t time, plat::String text);
    // The insert command's note: with a text it is appended at once; with an empty text the
    // dialog asks for it. Returns the new note's number, or 0 when the dialog was cancelled
    // and nothing is added.
    int InsertAnnotation(std::int32_t author, const plat::String& authorName, std::int32_t time,
                         const plat::String& text);
    // The frame installs the dialog here, for new notes and for opened ones; without one
    // the dialog is a bare modal run that enters no text.
    static void SetAnnotationDialog(AnnotationDialog dialog);
    static int RunDialog(CAnnotationDlgValues& values);
    void RemoveAll() { m_list.clear(); }

    // A double click at the point (document twips): the first note whose box was drawn in
    // this paint and holds the point is opened (CAnnotation::Edit). True when one was;
    // `deleted` is then its number when the user deleted it, else 0.
    bool OpenAt(std::int32_t x, std::int32_t y, int& deleted);

    // Paints the note of the number for an annotated item or an anchor: `cell` is the
    // item's cell and `anchor` its point on the baseline (pixels), `mode` the paint mode (1
    // the screen). The cell gets the yellow highlight on the screen or while notes are
    // shown; the note's box goes to the right margin, below the boxes drawn before it in
    // this paint, with a leader line from the anchor, when notes are shown or the mouse is
    // over its text, once per paint. Nothing for −1, 0 and numbers outside the list.
    void DrawAnnotation(plat::Dc& dc, double zoom, const plat::Rect& cell, plat::Point anchor, int mode,
                        CRenderContext& rc, int number);
    // The box moved down until it overlaps no box drawn in this paint: whenever a drawn box
    // holds the point 45 twips inside the new box's top or bottom edge at its middle, the
    // new box goes to 90 twips below that one.
    plat::Rect PlaceBox(plat::Rect box) const;

    // True when a box drawn in the current paint contains the point (twips).
    bool HitTestMark(std::int32_t x, std::int32_t y) const;
    // The annotation at the index becomes hovered and every other one not; false (and no
    // change) for an index outside the list.
    bool SetHover(int index);
    // Clears every drawn flag, at the start of a page paint.
    void ResetDrawn();

    // The record: a count, then each note. Loading appends; a refused record appends
    // nothing.
    void Load(plat::Archive& ar);
    void Save(plat::Archive& ar) const;

private:
    CDocContext* m_owner; // not owned

    std::vector<std::unique_ptr<CAnnotation>> m_list;
};
