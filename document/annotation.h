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

class CAnnotation {
public:
    CAnnotation() = default;
    CAnnotation(std::int32_t author, std::int32_t time, plat::String text);

    // Author index, time, text.
    void Load(plat::Archive& ar);
    void Save(plat::Archive& ar) const;

    std::int32_t m_author = 0; // index into the author table
    std::int32_t m_time = 0;   // seconds since 1970
    plat::String m_text;
    plat::Rect m_box{0, 0, 1, 1}; // where its box was last drawn, document twips
    std::int32_t m_drawn = 0;     // drawn during the current paint
    std::int32_t m_hovered = 0;   // the mouse is over text that carries it
};

// The annotation dialog for a new note: shown with the author's name and the time, it
// fills in the text and returns 1 for OK.
struct CNewAnnotationValues {
    plat::String authorName;
    std::int32_t time = 0;
    plat::String text;
};
using NewAnnotationDialog = std::function<int(CNewAnnotationValues&)>;

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
    // The frame installs the dialog here; without one the dialog is a bare modal run that
    // enters no text.
    static void SetNewAnnotationDialog(NewAnnotationDialog dialog);
    void RemoveAll() { m_list.clear(); }

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
