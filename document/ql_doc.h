// The document of one editing pane. It owns the content - the page body, the file header
// with the page settings, the media stores, the palette, the authors, the annotations and
// the insertion-format state - and gives the page geometry in twips, the conversions
// between twips and screen pixels at its zoom, the painting of a page with its page
// number and running head, and the mouse entry points the page canvas calls. Everything
// it asks of its view (the canvas and the clipboard) goes through a CDocView, and what it
// asks of the frame around it (timers, bars, the format bar and the ruler) through a
// CDocFrame; a document made without them asks nobody. The model, the flows and the page
// body reach it only as their CDocContext.
#pragma once
#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "document/color_palette.h"
#include "document/doc_context.h"
#include "document/doc_header.h"
#include "document/format_state.h"
#include "document/spell_error.h"
#include "document/text_flow.h"
#include "document/undo_stack.h"
#include "document/units.h"
#include "media/media_store.h"
#include "platform/base/geometry.h"

class CCharWidthCache;
class CCreationTool;
class CCreateTracker;
class CDocBody;
class CDocImporter;
class CFindState;
class CFloatObject;
class CCellFormatTarget;
struct CNewObjectSource;
class CDocFrame;
class CDocView;
class CSpellEngine;
class CSpellCheckUi;
class CHeadlessDocView;
class CTextFlow;
namespace plat {
class Bitmap;
class Stream;
class Menu;
}

// Every page setting of the header: margins and paper in millimetres, the page number and
// the running head (font sizes in twips).
struct CPageSettings {
    plat::Rect margins;
    plat::Size paper;
    plat::String pageNumberFace;
    std::int32_t pageNumberSize = 0;
    std::uint8_t pageNumberStyle = 0;
    std::uint8_t pageNumberOnFirst = 0;
    plat::String headerText;
    plat::String headerFace;
    std::int32_t headerSize = 0;
    std::uint8_t headerRule = 0;
    std::uint8_t headerOnFirst = 0;
};

// Objects that hold editable text of their own and refit themselves to it after an edit
// (tables and text shapes implement it beside CFloatObject).
class CTextHostObject {
public:
    virtual ~CTextHostObject() = default;
    // A table lays its grid out again and gives the grid's total size in twips.
    virtual plat::Size RelayoutGrid() { return plat::Size(); }
    // A text shape places its text in the shape again.
    virtual void RealignText() {}
    // A table's grid model, for the format commands on its cells.
    virtual CCellFormatTarget* GetTableGrid() { return nullptr; }
};

// A table that an import builds cell by cell (the table kind implements it beside
// CTextHostObject): the grid first, then each row's merges, then each cell as its text
// arrives.
class CTableBuildTarget {
public:
    virtual ~CTableBuildTarget() = default;
    // Makes rows x columns cells with the column widths (twips, one per column); false
    // when the grid cannot be made.
    virtual bool BeginGrid(int rows, int columns, std::span<const std::int32_t> widths) = 0;
    // In the row, each column whose flag is non-zero joins the cell on its left.
    virtual void MergeRowCells(int row, std::span<const std::uint8_t> flags) = 0;
    // Gives the cell its paragraph alignment and vertical alignment (16 top, 32 middle, 64
    // bottom), or joins it to the cell above; returns the flow that takes the cell's text,
    // null when the cell was joined.
    virtual CTextFlow* SetCell(int row, int column, std::uint8_t alignment, std::uint8_t verticalAlignment,
                               bool mergeUp) = 0;
};

// The values the document settings dialog edits: the page settings and the default
// colours of the file header.
struct CDocSettingsValues {
    CPageSettings page;
    plat::ColorRef defaultTextColor = 0;
    plat::ColorRef defaultFillColor = 0;
};

// Runs the document settings dialog over the values (filled from the header, edited in
// place) and returns its answer; 1 (OK) applies them.
using DocSettingsDialog = std::function<int(CDocSettingsValues&)>;

// Runs the layout dialog of several selected objects over a wrap mode (the first object's,
// changed in place) and returns its answer; 1 (OK) gives every selected object the mode.
using ObjectLayoutDialog = std::function<int(std::uint8_t& wrapMode)>;

// Runs the colour picker over a document's palette, placed at a screen point (centred on
// the parent when both are 0), with or without its two automatic-colour buttons; the
// colour goes in and, on OK (1), comes out. The editor installs it, so that dialogs of the
// object kinds can pick colours without knowing the editor.
enum class ColorPickerAutomatic : int { kShow = 0, kHide = 1 };
using ColorPickerDialog = std::function<int(plat::Window* parent, CColorPalette& palette,
    ColorPickerAutomatic automatic, plat::Point at, plat::ColorRef& color)>;

class CQlDoc : public CDocContext {
public:
    // Page paint modes.
    enum DrawMode : int { kDrawScreen = 1, kDrawPreview = 2, kDrawPrint = 3 };

    // Body, header and format state stay null until the first Reset. The view and the
    // frame (not owned) outlive the document.
    explicit CQlDoc(CDocView* view = nullptr, CDocFrame* frame = nullptr);
    // The format state, the header and the body go first: they point into the rest.
    ~CQlDoc();
    CQlDoc(const CQlDoc&) = delete;
    CQlDoc& operator=(const CQlDoc&) = delete;

    // The state of a new document: a new format state, header and body; empty stores,
    // authors, annotations and spelling marks; flags cleared. The palette and the reference-pane flag
    // stay. Blocks of page objects on the clipboard refer to the stores being emptied, so
    // they are taken off it.
    void Reset();

    // ---- the native file ----
    // A new empty document with one author record; returns 1.
    int FileNew();
    // Reads a native file: 1 on success. 0 when the file cannot be opened (the document
    // untouched), or when it is refused or damaged (the document is then a new empty one).
    int FileOpen(const plat::String& path, bool readOnly);
    // Writes the document beside the path and renames it over the path: 1 on success; on
    // failure 0, with the old file and the modified flag as they were.
    int FileSave(const plat::String& path);
    // Runs the document settings dialog; on OK applies its values. Returns 1.
    int FileSetup();
    // What the settings dialog is filled with, and what OK does with its values: the header
    // takes them, objects beyond the paper's right edge are pulled back, pages are laid out
    // again.
    CDocSettingsValues GetSettingsValues() const;
    void ApplySettingsValues(const CDocSettingsValues& values);
    // The frame installs the settings dialog here; without one the dialog is a bare modal
    // run (plat::RunModal) that leaves the values as they are.
    static void SetSettingsDialog(DocSettingsDialog dialog);
    // Protects the document / removes its protection (with the right password), marking it
    // modified; false when nothing changed.
    bool SetPassword(plat::StringView password);
    bool RemovePassword(plat::StringView password);

    // ---- content ----
    CDocBody* GetBody() const { return m_body.get(); }
    CDocHeader* GetHeader() const { return m_header.get(); }
    CColorPalette& GetPalette() { return m_palette; }
    const CColorPalette& GetPalette() const { return m_palette; }
    CSpellErrorList& GetSpellErrors() override { return m_spellErrors; }
    // ---- spelling (ql_doc_spell.cpp) ----
    // Turning spelling marks off removes those shown.
    void SetSpellMarks(bool on);
    // Replaces a marked word by its suggestion in the slot as one undoable edit of the
    // word's flow; false, changing nothing, when the record is not in the document's list
    // or the flow refuses it (slot empty, word no longer marked).
    bool ReplaceWithSuggestion(const CSpellError* error, int slot);
    // The context menu's suggestion command (ids kSpellSuggestionFirstId to + 9): the
    // word the last right press offered suggestions for is replaced by the chosen one,
    // as ReplaceWithSuggestion does; false for another id or when nothing was offered.
    bool ChooseSpellSuggestion(int commandId);
    // The interactive checks of the whole document (body, then each page object) as one
    // undoable step, through the frame's engine or a sentence checker loaded from the path,
    // with the dialogs of `ui`; "拼写检查完成。" when no dialog was shown. False, doing
    // nothing, for a read-only document or (words) without an engine.
    bool SpellCheckWords(CSpellCheckUi& ui);
    bool SpellCheckSentences(const plat::String& checkerPath, CSpellCheckUi& ui);
    CImageStore& GetImageStore() override { return m_imageStore; }
    CVideoStore& GetVideoStore() override { return m_videoStore; }
    CAudioStore& GetAudioStore() override { return m_audioStore; }

    // ---- flags ----
    // More than one author: the show/hide revisions command is enabled.
    bool HasRevisions() const { return m_revisionsPresent != 0; }
    void SetHasRevisions(bool on) { m_revisionsPresent = on ? 1 : 0; }
    // Deletes the format state and makes a fresh one (zoom 1.0, no focus text): the
    // first step of a reset.
    CFormatState& ResetFormatState();

    // Typing and formatting go to the selection: true when no page object is selected,
    // else what the first selected object says (its text is being edited / has the focus).
    bool SelectionAcceptsText() const;
    bool SelectionAcceptsFormat() const;
    // After an edit of text inside an object: a table cell's table lays its grid out
    // again and takes the grid's size (the body flowing around it again when it changed);
    // a text shape re-aligns its text.
    void RefreshFocusContainer(CTextFlow* text);

    // ---- the view and the frame ----
    CDocView* GetView() const { return m_view; }
    CDocFrame* GetFrame() const override { return m_frame; }
    plat::Window* GetControlWindow() const;
    plat::Window* GetCanvas() const;
    plat::Window* GetDialogParent() const override { return GetCanvas(); }
    void ScrollToCaret() const override;
    void RequestRepaint() const override;
    // For a document made without a view: a headless view of its own runs these when the
    // requests come.
    void SetScrollToCaret(std::function<void()> request);
    void SetRepaintRequest(std::function<void()> request);

    // ---- page settings (the header's; those of a new document before the first reset) ----
    CPageSettings GetPageSettings() const;
    // Margins (left, top, right, bottom) and paper size, in millimetres.
    void GetPageGeometry(plat::Rect& margins, plat::Size& paper) const;
    plat::Rect GetMargins() const override;
    plat::Size GetPaperSize() const override;
    // Writes margins and paper size into the header (made first when there is none).
    void SetPageSettings(const plat::Rect& margins, plat::Size paper);
    plat::ColorRef GetDefaultTextColor() const override { return SettingsHeader().m_defaultTextColor & 0xFFFFFF; }
    plat::ColorRef GetDefaultFillColor() const override { return SettingsHeader().m_defaultFillColor & 0xFFFFFF; }
    void SetDefaultTextColor(plat::ColorRef c);
    void SetDefaultFillColor(plat::ColorRef c);
    // The version of the file read last: major * 256 + minor.
    int GetFileVersion() const { return SettingsHeader().GetFileVersion(); }

    // ---- page geometry, in twips ----
    int GetPageCount() const;
    plat::Size GetPaperSizeTwips() const;
    // The desk the view scrolls over: every page with the strips around it.
    plat::Size GetTotalExtent() const;
    // Page i on the desk (200 twips of desk above each page and left of every page) and
    // its text area.
    plat::Rect GetPageRect(int i) const;
    plat::Rect GetPageTextRect(int i) const;
    // The text area relative to a page's top left corner, and its size.
    plat::Rect GetTextAreaRect() const;
    plat::Size GetTextAreaSize() const;
    // The page a point of the body lies on. A point between two pages, above the first or
    // below the last gives the page whose slot (the page with the strip above it) holds
    // its height, within the pages the document has.
    plat::Rect PageRectFromPoint(plat::Point point) const;

    // ---- units: the zoom is the format state's ----
    double GetZoom() const override { return m_formatState ? m_formatState->m_zoom : 1.0; }

    // ---- painting, for printing, print preview and export ----
    // Page i with its top left corner at (x, y + 8/96 inch) in device pixels at the zoom:
    // the page number and running head, then the body's part of the page in the mode.
    void DrawPage(plat::Dc& dc, double zoom, int x, int y, int page, int mode);
    // The page number under the text area and the running head with its rule above it,
    // for page i whose top left corner is at (x, y).
    void DrawPageDecorations(plat::Dc& dc, int page, double zoom, int x, int y) const;

    // ---- export ----
    // Exportable parts: 0 the body's text, i (from 1) the page object at index i - 1.
    int ExportTotal() const;
    // 1 for the text, the object's export kind for an object, 0 out of range.
    int ExportType(int part) const;
    // ".txt" for the text, the object's export extension, "" out of range.
    plat::String ExportExt(int part) const;
    // The object's caption; "" for the text and out of range.
    plat::String ExportMark(int part) const;
    // The text as a UTF-16 file, or the object's own file with its caption beside it
    // (the path's extension replaced by ".txt"). 1, or 0 out of range or when a file
    // could not be written.
    int ExportFile(int part, const plat::String& path);
    // The selection's text, or the whole text without a selection, as a UTF-16 file. 0
    // for an empty body or when the file could not be written.
    int ExportFileTitle(const plat::String& path);
    // The HTML page in code page 936 with its pictures in the folder "STEM.files", the
    // UTF-16 page with its pictures beside it (and the list of the objects' files), and
    // RTF. 0 for a path without an extension or a folder (HTML), one too long for the
    // 8-bit buffers, or a file or picture that could not be written completely.
    int ExportHtml(const plat::String& path);
    int ExportEHtml(const plat::String& path, const plat::String& listPath);
    int ExportRtf(const plat::String& path);
    // The first line of every RTF the document writes (file and clipboard).
    static void WriteRtfHead(plat::Stream& out);
    // A whole RTF document: the head, the body's font and colour tables, the page line,
    // then what `content` writes with those tables, and the closing brace.
    using RtfContent = std::function<void(plat::Stream&, const CRtfFontTable&, const CRtfColorTable&)>;
    void WriteRtfDocument(plat::Stream& out, const RtfContent& content);
    // Every page as a picture on a PDF page of the paper's size. 1, or 0 when a page
    // could not be rendered or the file could not be written (an existing file is then
    // left as it was).
    int ExportPdf(const plat::String& path);
    // Page i as the export renders it: the page frame at zoom 1.0 in screen pixels,
    // white, with the running head, the page number and the body's part of the page as
    // printed. Null for a page the document has not or a size the bitmap refuses.
    std::unique_ptr<plat::Bitmap> RenderPageBitmap(int page);

    // ---- the mouse, from the page canvas (points in pixels from the desk's top left: the
    // canvas adds its scroll position) ----
    void OnLButtonDown(plat::Point point, unsigned keyFlags);
    void OnMouseMove(plat::Point point);
    void OnLButtonUp(plat::Point point);
    void OnLButtonDblClk(plat::Point point);
    // The right press before the context menu: with the spelling engine bound, a marked
    // word under the point - in the body's text, a cell's or a text shape's - offers its
    // suggestions from the position on (at most up to position 10) to the sink, which puts
    // them above the canvas's own items; the word is kept for ChooseSpellSuggestion.
    // Returns the next position, 0 when nothing was offered.
    int OnRButtonDown(plat::Point point, int position, const SpellSuggestionSink& sink);
    // An annotation is highlighted because the mouse hovers over its text (one flag for
    // the process).
    static bool IsAnnotationHovered();

    // Key flags of a mouse message.
    static constexpr unsigned kMouseShift = 0x0004;

    // ---- text commands (ql_doc_commands.cpp) ----
    // Each pushes one undo snapshot, edits the focus text, copies its running formats into
    // the format state, refits the object that holds the text, marks the document
    // modified and scrolls to the caret. A read-only document or the reference pane
    // refuses them all, and so does each command for input that would insert nothing.
    // The flow that holds the caret: the format state's focus text, else the body.
    CTextFlow* GetFocusText() const;
    // One UTF-16 code unit; control codes other than Tab, line feed and carriage return
    // are not text and insert nothing.
    void InsertChar(char16_t code);
    // The string in the running format, replacing the selection, as one undo step; false
    // when it held no text to insert (nothing changed).
    bool InsertString(plat::StringView text);
    void InsertNewPage();
    // Command ids kSymbolFirst..kSymbolLast.
    void InsertSymbol(int commandId);
    // Marks the selection with a new annotation, or inserts an anchor for it at the caret;
    // an empty text asks for it in the dialog. Returns the annotation's number, 0 when
    // the dialog was cancelled (nothing changed).
    int InsertAnnotation(const plat::String& text);
    // Cyrillic case of the selection (the CyrillicMode values); returns 1.
    int RussianConvert(int mode);
    bool CanRussianConvert() const;
    // One character-format field on the selected table's cells, or on the focus text's
    // selection or running format.
    void SetChFont(const plat::String& face);
    void SetAscFont(const plat::String& face);
    void SetFontSize(std::int32_t size);
    void SetCharBold(std::int32_t bold);
    void SetCharItalic(std::int32_t italic);
    void SetCharUnderline(std::int32_t underline);
    void SetCharColor(std::int32_t color);
    void SetCharPos(std::int32_t position);
    // The font dialog's fields (faces, size and styles; colour and position stay) as one
    // undo step.
    void CharAttrDialog(const plat::String& chineseFace, const plat::String& westernFace, std::int32_t size,
                        std::int32_t bold, std::int32_t italic, std::int32_t underline);
    // The field of the kind (FormatField) taken from values.
    void ApplyCharFormatField(int kind, const CCharFormat& values);
    // Paragraph alignment (1-4), line-spacing code (0-5) and indents (twips).
    void SetParaFormat(std::uint8_t alignment);
    void SetParaGap(std::uint8_t spacing);
    void SetParaIndents(std::int32_t first, std::int32_t left, std::int32_t right);
    // The grid of the one selected table; null otherwise.
    CCellFormatTarget* GetSelectedTableGrid() const;
    // How many page objects are selected (0 without a body).
    int GetSelectedObjectCount() const;

    // ---- the table commands on the selected table (ql_doc_table.cpp) ----
    // Each enable test answers false without a selected table; each command runs only
    // after its test passed, takes an undo step and ends with the table size sync.
    bool IsTableSelected() const { return GetSelectedTableGrid() != nullptr; }
    bool CanTableInsertRow() const;
    bool CanTableInsertCol() const;
    bool CanTableDeleteRow() const;
    bool CanTableDeleteCol() const;
    bool CanTableMerge() const;
    bool CanTableSeparate() const;
    bool CanTableUDFormat() const;
    bool TableInsertRow();
    bool TableInsertCol();
    bool TableDeleteRow();
    bool TableDeleteCol();
    bool TableMerge();
    // The split asks for its counts first; a cancelled dialog changes nothing.
    bool TableSeparate();
    // The border dialog on the current cell or range; true when it changed lines.
    bool TableBorderLines();
    // The vertical alignment (16 top, 32 middle, 64 bottom) of the current cell or of
    // each cell of the range; the code is remembered for the repeat command.
    bool SetTableUDFormat(std::uint8_t code);
    std::uint8_t GetTableUDFormat() const { return m_tableUDFormat; }

    // ---- the clipboard (ql_doc_clipboard.cpp), through the view ----
    // Puts the selection on the clipboard: without selected objects (or with one whose
    // copy kind is text) the focus text's TEXT block and Unicode text, and the body's
    // PAGE block too; one or more objects as a BLOCK; a table's selected cells as a UNIT.
    // True when the clipboard took everything; false when it could not be opened or
    // emptied, refused a format, or there was nothing to copy.
    bool EditCopy();
    // Copies, and deletes the selection only when the copy succeeded: a clipboard that
    // refuses leaves the document as it was. True when the selection was cut.
    bool EditCut();
    // A PAGE block goes where the selection accepts text and the focus text is the body.
    bool CanPastePage() const;
    // Pastes the PAGE block on the clipboard; true when it went in.
    bool PastePage();
    // Inserts a TEXT (page = false) or PAGE block at the focus text's caret as one undo
    // step. The block is read whole first: a block that does not read is refused with
    // nothing changed and no undo step, and false comes back.
    bool InsertArchiveBlock(const std::vector<std::uint8_t>& block, int mode, bool page);
    // Pastes the clipboard's data of the kind (the CPasteKind values); true when something
    // went in. Missing data, a refused block or a kind not offered yet paste nothing.
    bool PasteFormat(int kind);
    // The first of TEXT, BLOCK, UNIT, Unicode text and bitmap on the clipboard, as its
    // paste kind; 0 for none.
    int GetClipboardPasteKind() const;
    // RTF is read into the body at its caret by the registered RTF reader, as one undo
    // step, when no page object is selected.
    bool CanPasteRtf() const;
    bool PasteRtf();
    // The paste command: PAGE where the body takes it, else RTF where it is allowed and no
    // BLOCK of objects is there, else the first kind present.
    bool CanEditPaste() const;
    bool EditPaste();

    // ---- placement of the selected objects (ql_doc_placement.cpp) ----
    // One selected object shows its own properties dialog; several get the layout dialog,
    // whose wrap mode all of them take on OK as one undo step, the text flowing around
    // them again. The canvas has the focus afterwards.
    // The selected audio clip, image or video in its outside editor (relaid out and
    // marked modified when it changed); the selected image's advanced outside edit; and
    // whether one such object alone is selected.
    void EditObjectExternally();
    void EditSelectedImage();
    bool IsMediaSelected() const;
    void BlockAttr();
    // The frame installs the layout dialog here; without one it is a bare modal run that
    // leaves the wrap mode as it was.
    static void SetObjectLayoutDialog(ObjectLayoutDialog dialog);
    // The colour picker the editor installs; empty until then (callers leave the colour as
    // it was and treat the empty hook as a cancel).
    static void SetColorPickerDialog(ColorPickerDialog dialog);
    static const ColorPickerDialog& GetColorPickerDialog();
    // Every selected object, in list order, one layer up or down, or to the top or the
    // bottom layer (in its new layer it is drawn over the objects already there), as one
    // undo step. Nothing without a selected object.
    void BlockPosUp();
    void BlockPosDown();
    void BlockPosFirst();
    void BlockPosLast();

    // ---- the clipboard's enable tests (ql_doc_clipboard.cpp) ----
    // Copy and cut: without selected objects the focus text has a selection; one selected
    // object copies unless its copy kind is 0; several always copy.
    bool CanCopy() const;
    bool CanCut() const { return CanCopy(); }
    // A paste of the kind (the CPasteKind values): text and Unicode text where the
    // selection accepts text, blocks of objects and bitmaps always, a cell block onto a
    // selected table; false for any other kind.
    bool CanPasteFormat(int kind) const;
    enum CPasteKind : int { kPasteText = 1, kPasteBlock = 2, kPasteUnit = 4, kPasteUnicodeText = 5, kPasteBitmap = 6 };

    // ---- deleting, selecting, finding (ql_doc_edit.cpp) ----
    void EditDelete();
    bool CanDelete() const;
    void Backspace();
    bool CanBackspace() const;
    void EditSelectAll();
    bool CanSelectAll() const;
    bool CanFind() const;
    bool CanReplace() const { return CanFind(); }
    // A new search starts at the focus text's caret.
    void GetFindStart(CFindState& state);
    // 1 found (selected and scrolled to), 0 not found or stopped; at the end it asks
    // whether to go on from the start.
    int FindNext(CFindState& state);
    // Replaces every match in the body, the tables and the text shapes as one undo step.
    void ReplaceAll(CFindState& state);

    // ---- new page objects (ql_doc_objects.cpp) ----
    // Each makes the object through the object factory, places it below the caret's line
    // (or the one selected object) and adds it selected. 1, or 0 when the kind has no
    // class yet, the source cannot be read or the document is read-only.
    int InsertImage(const plat::String& path, const plat::String& caption, int x, int y, int width, int height);
    int InsertVideo(const plat::String& path, int naturalWidth, int naturalHeight, std::int32_t clipLength,
                    const plat::String& poster, const plat::String& caption, int x, int y, int width, int height);
    int InsertRealMedia(const plat::String& path, const plat::String& poster, const plat::String& caption, int x,
                        int y, int width, int height);
    int InsertWmv(const plat::String& path, const plat::String& poster, const plat::String& caption, int x, int y,
                  int width, int height);
    int InsertFlash(const plat::String& path, const plat::String& poster, const plat::String& caption, int x,
                    int y, int width, int height);
    int InsertAudio(const plat::String& path, std::int32_t clipLength, const plat::String& caption, int x, int y,
                    int width, int height);
    int InsertChart();
    // A new object of the node type made through the object factory with its content
    // (TakeSource), not yet placed; null when the kind has no class or refuses the source.
    std::unique_ptr<CFloatObject> MakeObject(std::uint16_t type, const CNewObjectSource& source);
    // Gives the object its place and size: the natural size (pixels) fitted into two
    // thirds of the text area and the visible canvas, at the left margin, 105 twips
    // below the caret's line or the one selected object. x, y, width and height all
    // above 0 replace the computed box (the top still follows the caret or the object).
    void PlaceNewObject(plat::Size natural, CFloatObject& object, int x, int y, int width, int height);
    // The object joins the body as its only selected object, as one undo step.
    CFloatObject* AddNewObject(std::unique_ptr<CFloatObject> object);
    // Interactive creation: the pending creation tracker with its prototype; null when
    // the kind has no class yet, the id is not a creation command or the document is
    // read-only.
    CCreationTool* BeginInsertTable();
    CCreationTool* BeginInsertText();
    CCreationTool* BeginInsertShape(std::uint16_t shapeCode);
    CCreationTool* BeginInsertShapeCommand(int commandId);
    CCreationTool* BeginInsertLine(int commandId);
    // The canvas feeds the pending creation tracker the mouse (document pixels). Each
    // answer tells the canvas what to do with the mouse capture: kNone when no tracker is
    // pending (the press is the canvas's own), kCapture when a gesture began, kKeep while it
    // goes on, kRelease when it ended (the object inserted, or the creation abandoned).
    enum class CreateMouse { kNone, kCapture, kKeep, kRelease };
    CreateMouse CreatePress(plat::Point point);
    CreateMouse CreateMove(plat::Point point);
    CreateMouse CreateRelease(plat::Point point);
    CreateMouse CreateDoubleClick(plat::Point point);
    // A right press: the pending creation and its prototype are dropped.
    CreateMouse CreateCancel();

    // ---- other formats (ql_doc_import.cpp), read by the readers registered with
    // RegisterDocImporter; FileOpen hands them the files they recognise ----
    // Opens the stream through the reader as the opens do: a reset document, the read, the
    // caret at the start, relayout, and the native open's closing steps (the next editor's
    // author record, bars, revisions). 1, or 0 when the reader refused (a new empty
    // document).
    int OpenImported(CDocImporter& importer, plat::Stream& in, bool readOnly);
    // Adds a file that a registered reader recognises after the body's last paragraph, in
    // a paragraph of its own. 1, or 0 when the document is read-only, the file cannot be
    // opened, no reader recognises it or the reader refuses it (the body as it was).
    int AppendImported(const plat::String& path);
    // An RTF file through the registered RTF reader: the open replaces the document (a
    // file that cannot be read leaves an empty one), the append adds it after the body's
    // last paragraph. 1, or 0 when no RTF reader is registered (or, for the append, the
    // document is read-only).
    int OpenRtf(const plat::String& path, bool readOnly);
    int AppendRtf(const plat::String& path);
    // A plain text file: UTF-16LE after a 0xFF 0xFE mark, else code page 936; carriage
    // returns and line feeds make paragraph ends, a tab four spaces. 1, or 0 when the file
    // cannot be opened (the document as it was) or, for the append, is read-only.
    int OpenText(const plat::String& path, bool readOnly);
    int AppendText(const plat::String& path);

    // ---- undo (ql_doc_undo.cpp) ----
    void PushUndoState(int p = -1, int q = -1) override;
    bool CanUndo() const { return m_undo.CanUndo(); }
    bool CanRedo() const { return m_undo.CanRedo(); }
    // Nothing when there is nothing to undo / redo.
    void EditUndo();
    void EditRedo();
    void ClearUndo() { m_undo.Clear(); }
    const CUndoStack& GetUndoStack() const { return m_undo; }

private:
    // Editing commands refuse in a read-only document and in the reference pane.
    bool IsEditable() const { return !IsReadOnly() && !IsReferencePane() && m_body && m_formatState; }
    // Steps after a text edit: running formats into the state (the paragraph format
    // too when asked), the holder refitted, modified, caret scrolled into view.
    void FinishTextCommand(CTextFlow& text, bool charFormat, bool paraFormat);
    // A table whose grid changed size takes it, and the body flows around it again;
    // then modified and repainted.
    void SyncTableSize(CFloatObject& table, CCellFormatTarget& grid);
    // A row, column or merge command: its test, the undo step, the grid's operation, the
    // size sync; false when the test refused.
    bool RunTableCommand(bool (CQlDoc::*test)() const, void (CCellFormatTarget::*apply)());
    // The BLOCK and UNIT pastes, each read whole before its undo step; false when refused.
    bool PasteObjectBlock(const std::vector<std::uint8_t>& block);
    bool PasteCellBlock(const std::vector<std::uint8_t>& block);
    // A device-independent bitmap inserted as a new picture through a scratch JPEG file.
    bool PasteBitmap(const std::vector<std::uint8_t>& dib);
    // RTF is the paste command's choice after PAGE.
    bool PrefersRtf() const;
    // The RTF of the copy (the body's selection, or the selected objects as shapes),
    // written through a scratch file; nothing when that file could not be written.
    std::optional<std::vector<std::uint8_t>> RenderCopyRtf(bool objects);
    int InsertMadeObject(std::uint16_t type, const CNewObjectSource& source, const plat::String& caption,
                         bool clip, plat::Size natural, int x, int y, int width, int height);
    CCreationTool* BeginCreate(std::uint16_t type, const CNewObjectSource& source);
    CCreateTracker* PendingCreateTracker() const;
    // Finishes the gesture and inserts the object as one undo step, selected; a gesture
    // that made nothing just ends. The tracker is deleted either way.
    void CompleteCreate(CCreateTracker& tracker);
    // The stacking commands: the slot asked of each selected object.
    void RestackSelected(void (CFloatObject::*move)());

    // Objects beyond the paper's right edge (by more than the desk's margin) come back:
    // by their right edge when they are narrower than the paper, else to its left edge.
    void PullBackWideObjects();
    // An append through the reader: a paragraph of its own after the body's last one.
    int AppendThrough(CDocImporter& importer, plat::Stream& in);
    // The caret at the body's final paragraph end, no object selected, the body focused.
    void GoToBodyEnd();
    // The idle and autosave timers stop while an append runs and start again after it.
    void PauseAppendTimers();
    void RestartAppendTimers();
    // The end of an append: caret to the start, relayout, timers, scroll, repaint,
    // modified. Returns 1.
    int FinishAppend();
    // The closing steps of every open: the next editor's author record, and for an
    // accepted file the bars, the revision flags and the view's reset.
    int FinishOpen(bool accepted);
    // The registered reader that recognises the stream's first bytes (the stream is put
    // back at its start); null for none.
    static CDocImporter* SniffImporter(plat::Stream& in);

    // The header whose settings the document reads: its own, or a new document's.
    const CDocHeader& SettingsHeader() const;
    CDocHeader& WritableHeader();
    CHeadlessDocView& OwnView();
    // The format state is owned here and its address kept by the context: the pointer
    // is null while one is deleted or made.
    void DeleteFormatState();
    CFormatState& MakeFormatState();
    void SaveRedoState();
    // A snapshot that does not read changes nothing and raises the archive's error.
    void RestoreSnapshot(int slot);

    CDocView* m_view;                          // not owned
    CDocFrame* m_frame;                        // not owned
    std::unique_ptr<CHeadlessDocView> m_ownView;
    std::unique_ptr<CDocBody> m_body;
    // The format state, whose address the context keeps.
    std::unique_ptr<CFormatState> m_ownFormatState;
    std::int32_t m_revisionsPresent = 0;
    CColorPalette m_palette;
    CImageStore m_imageStore;
    CVideoStore m_videoStore;
    CAudioStore m_audioStore;
    CSpellErrorList m_spellErrors;
    // The word the last right press offered suggestions for; only compared with the
    // records of the list, never followed unless it is one of them.
    const CSpellError* m_menuSpellError = nullptr;
    // The common frame of the interactive checks (ql_doc_spell.cpp).
    bool RunSpellCheck(CSpellCheckUi& ui, const std::function<void(CSpellCheckUi&, plat::Point&)>& walk);
    std::unique_ptr<CDocHeader> m_header;
    CUndoStack m_undo;
    std::uint8_t m_tableUDFormat = kAlignTop; // the vertical alignment last applied
};
