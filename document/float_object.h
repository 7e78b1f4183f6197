// Floating objects: everything that sits on a page beside the text instead of flowing with
// it (shapes, text shapes, tables, charts, pictures, media clips). The base holds what they
// all have - wrap mode, stacking layer, box, size, caption, the anchoring to a paragraph
// end, the selection flag - writes the common head of every object record, and defines the
// virtual operations through which the document, the body, the canvas and the exporters
// talk to an object without knowing its class. Each has a neutral default here; the object
// kinds override what applies to them.
//
// Objects are made by node type through CreateDocObject. The kinds live in libraries built
// after this one, so they register their makers with the factory rather than the factory
// naming them.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "document/doc_node.h"
#include "document/spell_error.h"
#include "platform/base/geometry.h"
#include "platform/base/strings.h"

class CCaptionText;
class CRenderContext;
class CPointList;
class CStatistics;
class CFindState;
class CSentenceChecker;
class CSpellCheckUi;
class CSpellEngine;
class CTextItem;
class CDocBody;
class CRtfFontTable;
class CRtfColorTable;
namespace plat {
class Dc;
class Stream;
class Bitmap;
class Menu;
} // namespace plat

// Wrap modes: where text may run beside the object.
enum WrapMode : std::uint8_t {
    kWrapNone = 0,  // text above and below only
    kWrapLeft = 1,  // text on the left
    kWrapRight = 2, // text on the right
    kWrapBoth = 3,  // text on both sides
};

// Anchor states (maintained by the body after each layout).
enum AnchorState : std::uint8_t {
    kAnchorNone = 0,
    kAnchorAttached = 1,
    kAnchorMustMove = 2, // the paragraph moved; the object goes to its target top
};

class CFloatObject : public CDocNode {
public:
    static constexpr std::uint8_t kTopLayer = 4;
    // The left and top edges and the size a record may carry: far beyond 500 pages of any
    // paper, and small enough that sums of two never overflow.
    static constexpr std::int32_t kMaxCoord = 0x20000000;

    CFloatObject(CDocContext* doc, CDocNode* parent, std::uint16_t type);
    // Slot 0: the caption frame and the strings go with the object.
    ~CFloatObject() override;

    CDocContext* GetDoc() const override { return m_doc; }

    // ---- the virtual slots, in order ----
    // 1, 2: the base record (the head of every object record), then RecalcLayout on loading;
    // saving shifts the box by (dx, dy). A refused record leaves the object as it was.
    virtual void Load(plat::Archive& ar, int mode);
    virtual void Save(plat::Archive& ar, int mode, int dx, int dy);
    // 3: marks what the object uses in the media stores before a save.
    virtual void PrepareItems() {}
    // 4: lays out content that depends on the document (table cells, text).
    virtual void RelayoutContent() {}
    // 5: paints the object with (x0, y0) the pixel position of the body's origin; the
    // base paints the caption under the object.
    virtual void Draw(plat::Dc& dc, double zoom, int x0, int y0, int pass, CRenderContext& rc);
    // 6: the rubber band while the object is created or resized: a rectangle tracker
    // around the bounding box of the points (document pixels).
    virtual void DrawTracker(plat::Dc& dc, double zoom, const CPointList& points);
    // 7: selection marks.
    virtual void DrawSelection(plat::Dc&, double /*zoom*/, int /*x0*/, int /*y0*/) {}
    // 8: how many points the creation gesture collects (-1: not created by a gesture).
    virtual int GetCreateMode() const { return -1; }
    // 9: told once the object is loaded or made.
    virtual int OnLoaded() { return 0; }
    // 10: lets go of content before the object is discarded.
    virtual void ReleaseContent() {}
    // 11: the natural size of the content in screen pixels.
    virtual plat::Size GetNaturalSize() const { return plat::Size(1, 1); }
    // 12: what an export of the object writes: 2 a picture.
    virtual int GetExportKind() const { return 2; }
    // 13, 14: the export file's extension, and the export: the object rendered into a
    // JPEG file. False when nothing could be written.
    virtual plat::String GetExportExt() const { return u".jpg"; }
    virtual bool ExportFile(const plat::String& path);
    // 15-24: what kind of object this is; each kind answers true in its own slot.
    virtual bool IsTextShape() const { return false; }
    virtual bool IsImage() const { return false; }
    virtual bool IsAudio() const { return false; }
    virtual bool IsVideo() const { return false; }
    virtual bool IsRealMedia() const { return false; }
    virtual bool IsWmv() const { return false; }
    virtual bool IsFlash() const { return false; }
    virtual bool IsChart() const { return false; }
    virtual bool IsShape() const { return false; }
    virtual bool IsTable() const { return false; }
    // 25-27: property dialog, outside editor, playing; non-zero when something changed
    // (Play: when the object played itself).
    virtual int ShowProperties() { return 0; }
    virtual int EditExternally() { return 0; }
    virtual int Play() { return 0; }
    // 28-36: navigation keys reaching a selected object. Ctrl+Home/Ctrl+End and Home/End
    // change the stacking; the arrows move the object by one screen pixel.
    virtual void OnKeyTab(bool /*shift*/) {}
    virtual void OnKeyCtrlHome(bool shift);
    virtual void OnKeyCtrlEnd(bool shift);
    virtual void OnKeyHome(bool shift);
    virtual void OnKeyEnd(bool shift);
    virtual void OnKeyLeft(bool shift) { MoveBy(shift, -1, 0); }
    virtual void OnKeyRight(bool shift) { MoveBy(shift, 1, 0); }
    virtual void OnKeyUp(bool shift) { MoveBy(shift, 0, -1); }
    virtual void OnKeyDown(bool shift) { MoveBy(shift, 0, 1); }
    // 37: moves the object by screen pixels at the document's zoom, then the body flows
    // its text around it again.
    virtual void MoveBy(bool shift, int dx, int dy);
    // 38-41: the stacking order. The layer changes (0 back to 4 front), then the object
    // goes to the end of the page-object list, the top of its layer.
    virtual void BringForward();
    virtual void SendBackward();
    virtual void BringToFront();
    virtual void SendToBack();
    // 42: the hit code of a point (twips) with the object's handles; 0 misses.
    virtual std::uint8_t HitTest(int /*x*/, int /*y*/, CPointList& /*handles*/) { return 0; }
    // 43: the text item under a point, for objects that hold text.
    virtual CTextItem* TextItemAtPoint(int /*x*/, int /*y*/) { return nullptr; }
    // 44-46: a drag on the object: the press (a hit code, 0 when not taken), the moves and
    // the release, which ends with RecalcLayout.
    virtual std::uint8_t BeginTrack(int /*x*/, int /*y*/, bool /*shift*/, CPointList& /*handles*/) { return 0; }
    virtual void TrackTo(int /*x*/, int /*y*/) {}
    virtual void EndTrack(int x, int y);
    // 47: fills the list with the object's handles (twips, each with its hit code).
    virtual void GetHandles(CPointList& /*handles*/) {}
    // 48: the suggestions for the marked word at the point (twips) in the object's text,
    // given to the sink and kept in the word's record as a text flow gives them, the
    // record to *error when asked; returns the next position (0: none).
    virtual int AddSpellingSuggestions(int /*x*/, int /*y*/, CSpellEngine& /*engine*/,
                                       const SpellSuggestionSink& /*sink*/, int /*position*/,
                                       CSpellError** /*error*/ = nullptr)
    {
        return 0;
    }
    // 49, 50: the caret is in the object's text / typing and formatting go to it.
    virtual bool IsEditingText() const { return false; }
    virtual bool HasTextFocus() const { return false; }
    // 51-56: clipboard and deletion inside the object. Kind 2 means the whole object.
    virtual int CanCopyText() const { return 2; }
    virtual std::vector<std::uint8_t> CopyCells() { return {}; }
    virtual void PasteCells(const std::vector<std::uint8_t>& /*block*/) {}
    // Whether a cell block can be pasted whole; checked before anything changes.
    virtual bool CanPasteCells(const std::vector<std::uint8_t>& /*block*/) const { return true; }
    virtual int CanDeleteText() const { return 2; }
    virtual void DeleteCells() {}
    virtual bool CanDeleteBackward() const { return false; }
    // 57: the object holds text of its own.
    virtual bool HasText() const { return false; }
    // 58-62: spelling. The interactive checks run the text flow's own checks over the
    // object's text with the dialogs; the dialog's position goes on from object to object.
    // They return 0 when the user stopped the check, else 1.
    virtual int SpellCheck(CSpellEngine& /*engine*/, CSpellCheckUi& /*ui*/, plat::Point& /*dialogPos*/) { return 1; }
    virtual int SpellCheckWith(CSentenceChecker& /*checker*/, CSpellCheckUi& /*ui*/, plat::Point& /*dialogPos*/)
    {
        return 1;
    }
    virtual void ClearSpellMarks() {}
    virtual void MarkSpelling() {}
    virtual void MarkSentenceErrors(CSentenceChecker& /*checker*/) {}
    // 63, 64: annotation marks and Cyrillic case in the object's text.
    virtual void RemoveAnnotationMark(std::int16_t /*annotation*/) {}
    virtual void ConvertCyrillic(int /*mode*/) {}
    // 65-67: text-bearing objects, statistics and search.
    virtual bool IsTextBearing() const { return false; }
    virtual void CountStatistics(CStatistics& /*stats*/) const {}
    virtual bool FindNext(CFindState& /*state*/) { return false; }
    // 68-73: the HTML and RTF writers (float_object_export.cpp). The base bodies write the
    // object as a picture of itself at zoom 1.0 (the box's pixels, both edges included):
    // 68, 70 an img element after the text, its JPEG file named NAME.jpg in folderPath and
    // referred to through folderRef (70 remembers the file as m_exportName); 69, 71 a
    // three-cell table of the object and the text in the area beside it, the index moved
    // past that text; 72 a "\pict" group, 73 a "\shp" group placed from the origin (the
    // font and colour tables are the export's, for kinds that write text of their own). A
    // picture that cannot be written raises plat::FileException, so that the export fails.
    virtual int WriteHtml(plat::Stream& out, const plat::String& folderPath, const plat::String& folderRef,
                          const plat::String& name, bool rightAligned);
    virtual int WriteHtmlWrapped(plat::Stream& out, const plat::String& folderPath, const plat::String& folderRef,
                                 const plat::String& name, CDocBody& body, plat::Dc& refDc,
                                 const plat::Rect& areaTwips, const plat::Rect& areaPixels, int& itemIndex);
    virtual int WriteHtmlW(plat::Stream& out, const plat::String& folderPath, const plat::String& folderRef,
                           const plat::String& name, bool rightAligned);
    virtual int WriteHtmlWrappedW(plat::Stream& out, const plat::String& folderPath, const plat::String& folderRef,
                                  const plat::String& name, CDocBody& body, plat::Dc& refDc,
                                  const plat::Rect& areaTwips, const plat::Rect& areaPixels, int& itemIndex);
    virtual void WriteRtfPicture(plat::Stream& out, const CRtfFontTable& fonts, const CRtfColorTable& colors);
    virtual void WriteRtfShape(plat::Stream& out, int originX, int originY, const CRtfFontTable& fonts,
                               const CRtfColorTable& colors);

    // Pictures keep outline points of their own beside the box; moving the object moves
    // them too (called for objects that answer IsImage).
    virtual void OffsetOutline(int /*dx*/, int /*dy*/) {}

    // ---- the common operations ----
    // Rebuilds the caption frame and the box's right and bottom edges from the size and
    // the caption; returns the new bottom.
    int RecalcLayout();
    // The caption frame laid out at the object's width less 200 twips: (the object's
    // width, the frame's height); (0, 0) and no frame without a caption.
    plat::Size BuildCaption();
    // The object's own box, without the caption.
    plat::Rect GetBounds();
    static plat::Rect GetPointBounds(const CPointList& points);
    // Writes the caption as a UTF-16 file (byte-order mark first); nothing without a
    // caption. False when the file could not be written.
    bool SaveCaptionText(const plat::String& path) const;
    // Moves the box (and a picture's outline); coordinates stay within +-kMaxCoord.
    void Offset(int dx, int dy);
    // Forgets the paragraph the object followed, without moving it: the next layout
    // anchors it afresh to the paragraph end above where it stands.
    void DropAnchor();
    // The object rendered at zoom 1.0 into a white bitmap of the given pixel size, its box
    // at the bitmap's origin, with the pass given to Draw; null when the size is refused.
    std::unique_ptr<plat::Bitmap> RenderBitmap(int width, int height, int pass);

    const plat::String& GetCaption() const { return m_caption; }
    // The caption frame follows at the next RecalcLayout.
    void SetCaption(plat::String caption) { m_caption = std::move(caption); }
    CCaptionText* GetCaptionFrame() const { return m_captionFrame.get(); }
    // Where the caption frame's top-left corner stands on the desk (twips): under the
    // object's box, inset by half the caption margin.
    plat::Point GetCaptionOrigin() const;
    bool IsSelected() const { return m_selected != 0; }
    void SetSelected(bool on) { m_selected = on ? 1 : 0; }
    // The body whose page-object list holds the object, if any.
    CDocBody* GetBody() const;

    plat::String m_key;                       // entry in a media store
    std::uint8_t m_wrapMode = kWrapBoth;
    std::uint8_t m_layer = 2;
    plat::Rect m_bounds{0, 0, 1, 1};          // twips; right and bottom include the caption
    std::int32_t m_width = 1;                 // the object itself, twips
    std::int32_t m_height = 1;
    std::uint8_t m_anchorState = kAnchorNone;
    plat::String m_anchorName;                // GUID name of the paragraph end
    std::int32_t m_anchorOffset = 0;          // object top minus that paragraph end's top
    std::int32_t m_targetTop = 0;
    std::uint8_t m_selected = 0;
    plat::String m_exportName;                // remembered by the HTML writers
    plat::String m_exportPath;
    // Set by the body's HTML and RTF writers once the object is written in this export.
    bool m_exported = false;

protected:
    // The base record alone, for kinds whose record follows it.
    void LoadBase(plat::Archive& ar, int mode);
    void SaveBase(plat::Archive& ar, int mode, int dx, int dy) const;
    // After the box or the wrap mode changed: the page regions and the body's text flow
    // again, the document is modified and repainted.
    void AfterBoxChange();
    // After a stacking key: the document is modified and repainted.
    void AfterStackingKey();
    // Moves the object to the end of the list that holds it.
    void Reappend();
    // Slots 69 and 71 in one: the variant's strings and writers.
    int WriteWrapped(plat::Stream& out, bool wide, const plat::String& folderPath, const plat::String& folderRef,
                     const plat::String& name, CDocBody& body, plat::Dc& refDc, const plat::Rect& areaTwips,
                     const plat::Rect& areaPixels, int& itemIndex);

    CDocContext* m_doc; // not owned
    plat::String m_caption;
    std::unique_ptr<CCaptionText> m_captionFrame;
};

// The object factory: a new object of the node type with the parent, or null for a type
// that has no object class (yet).
std::unique_ptr<CFloatObject> CreateDocObject(CDocContext* doc, std::uint16_t type, CDocNode* parent);

// The object kinds register their makers; a type outside the factory's table (17, 18, 19,
// 21, 22, 23, 26, 27, 28, 29) is a caller's error (std::invalid_argument). Returns the
// maker it replaces, so that a test can put it back; null unregisters.
using DocObjectMaker = std::unique_ptr<CFloatObject> (*)(CDocContext* doc, CDocNode* parent);
DocObjectMaker RegisterDocObject(std::uint16_t type, DocObjectMaker maker);
// Every kind unregistered (a test's clean-up).
void UnregisterDocObjects();
