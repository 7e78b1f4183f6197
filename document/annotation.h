// Annotations: notes attached to runs of text, each with its author record, time and text.
// Annotated characters carry the annotation's number (its index + 1) in their format; the
// list keeps the notes in the order they were made and is a section of the native file.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/base/geometry.h"
#include "platform/base/strings.h"
#include "platform/file/archive.h"

class CQlDoc;

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

class CAnnotationList {
public:
    explicit CAnnotationList(CQlDoc* owner = nullptr) : m_owner(owner) {}
    CAnnotationList(const CAnnotationList&) = delete;
    CAnnotationList& operator=(const CAnnotationList&) = delete;

    CQlDoc* GetDocument() const { return m_owner; }
    int GetCount() const { return static_cast<int>(m_list.size()); }
    // Null outside the list.
    CAnnotation* GetAt(int index) const;
    // By the number characters carry; null for 0, −1 (none) and numbers outside the list.
    CAnnotation* FromNumber(std::int32_t number) const { return GetAt(number - 1); }
    // Appends a note and returns its number (the new count).
    int Add(std::int32_t author, std::int32_t time, plat::String text);
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
    CQlDoc* m_owner; // not owned
    std::vector<std::unique_ptr<CAnnotation>> m_list;
};
