// The import sink: the one way a reader of another format (RTF, Word) turns what it parses
// into content. The reader sets the current character and paragraph formats, sends text
// and paragraph ends, builds tables cell by cell, places pictures and reports the page
// setup; the sink turns each call into items, paragraph ends and page objects of the one
// target document that the open, append or paste prepared.
//
// Text is gathered into runs and inserted a run at a time (never an item at a time at an
// index), so a long import into a long document stays linear. What has been sent is in
// the document once ImportFlush (or a table's or picture's placement) has run.
//
// State: one sink for the process (imports run one at a time on the UI thread), listed in
// process_state.h; ResetImportSink puts it back.
#pragma once
#include <cstdint>
#include <span>
#include <string_view>

#include "document/doc_importer.h"
#include "platform/base/strings.h"

class CQlDoc;

// Makes the sink ready for one read into the document: the formats back to their
// defaults, the position and the flags as the mode asks (an open inserts from the body's
// start with the page setup applied; an append before the body's final paragraph end and
// a paste at the body's caret, both with the page setup ignored; a paste also places its
// tables and pictures below the insertion paragraph). A table left in progress by an
// earlier read that stopped half-way is dropped.
void PrepareImportSink(CQlDoc& doc, ImportMode mode);
// Inserts the text still gathered. The reader calls it when it is done.
void ImportFlush();
// The target's body index where the next text goes (text still gathered counted).
int GetImportInsertPos();
// Drops the target and any table in progress (a test's clean-up; documents going away).
void ResetImportSink();
// For the test that compares the two: every relayout the sink asks before a placement lays
// the whole body out again instead of only what was added since the last one.
void SetImportWholeRelayout(bool whole);

// ---- formats ----
// When both faces are the same string, the Chinese face becomes "宋体".
void ImportSetFonts(plat::StringView chineseFace, plat::StringView westernFace, std::uint16_t size, std::uint8_t bold,
                    std::uint8_t italic, std::uint8_t underline, std::int32_t color, std::uint8_t position);
void ImportSetFontNames(plat::StringView chineseFace, plat::StringView westernFace);
void ImportSetFontSize(std::uint16_t size);
void ImportSetBold(std::uint8_t bold);
void ImportSetItalic(std::uint8_t italic);
// 0 none, 1 single, 2 double, 3 dotted.
void ImportSetUnderline(std::uint8_t underline);
void ImportSetColor(std::int32_t color);
// 0 normal, 1 superscript, 2 subscript.
void ImportSetCharPosition(std::uint8_t position);
// Indents in twips and the alignment code; the line spacing becomes code 4 and the
// character format goes back to its default.
void ImportSetParaFormat(std::int32_t firstIndent, std::int32_t leftIndent, std::int32_t rightIndent,
                         std::uint8_t alignment);

// ---- text ----
void ImportEndParagraph();
// A tab becomes four spaces, CR or LF a paragraph end (LF after CR skipped), other control
// codes nothing. A string that starts with a tab is set in "Times New Roman".
void ImportInsertText(plat::StringView text);
// Code page 936 text, converted whole.
void ImportInsertTextA(std::string_view text);
// The result text of a field.
void ImportInsertFieldText(std::string_view text);
// Today's date as "%d年%d月%d日".
void ImportInsertDate();

// ---- page setup, in twips (stored in millimetres unless the preparation locked it) ----
void ImportPageSetup(std::int32_t paperWidth, std::int32_t paperHeight, std::int32_t left, std::int32_t right,
                     std::int32_t top, std::int32_t bottom);
void ImportPaperWidth(std::int32_t twips);
void ImportPaperHeight(std::int32_t twips);
void ImportMarginLeft(std::int32_t twips);
void ImportMarginRight(std::int32_t twips);
void ImportMarginTop(std::int32_t twips);
void ImportMarginBottom(std::int32_t twips);

// ---- tables ----
// Limits of an imported table: at most 59 rows and 19 columns, never a single cell.
inline constexpr int kImportMaxTableRows = 59;
inline constexpr int kImportMaxTableColumns = 19;
// Starts a table of rows x columns with one width per column; false when refused (or the
// table kind cannot be made), changing nothing.
bool ImportBeginTable(int rows, int columns, std::span<const std::int32_t> widths);
// One flag per column: non-zero joins the column's cell to the one on its left.
void ImportMergeRowCells(int row, std::span<const std::uint8_t> flags);
// Makes the cell current (text goes into it from its start), or joins it to the one above.
// Vertical alignment 16 top, 32 middle, 64 bottom. Nothing for a cell outside the table.
void ImportSetTableCell(int row, int column, std::uint8_t alignment, std::uint8_t verticalAlignment,
                        std::uint8_t mergeUp);
// Places the finished table centred on the paper below what came before it.
void ImportEndTable();

// ---- pictures ----
// Sentinel x offset: the picture is centred in the text area.
inline constexpr std::int32_t kImportCentred = -10000;
// Width or height 0: the picture's own pixel size at 96 dots per inch. Centred, text on
// both sides.
void ImportInsertPictureFile(std::string_view path, std::int32_t width, std::int32_t height);
// Places an image object for the file with the size, wrap mode and x offset from the left
// margin, and deletes the file when it lies in the private temporary folder (where the
// readers write their pictures). True when the file was deleted.
bool ImportInsertPicture(std::string_view path, std::int32_t width, std::int32_t height, std::uint8_t wrapMode,
                         std::int32_t xOffset);
