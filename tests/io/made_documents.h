// Documents the project writes as flat OpenDocument text (.fodt) and has LibreOffice
// Writer, run headless, save as RTF: real word-processor RTF for the reader's tests and
// the import benchmark. All the files of a build folder are converted in one batch and
// kept; a document is converted again only when its text changed.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace madedocs {

namespace fs = std::filesystem;

inline std::string Base64(const std::vector<std::uint8_t>& bytes)
{
    static const char* const digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::uint32_t b0 = bytes[i], b1 = i + 1 < bytes.size() ? bytes[i + 1] : 0,
                            b2 = i + 2 < bytes.size() ? bytes[i + 2] : 0;
        const std::uint32_t v = b0 << 16 | b1 << 8 | b2;
        out += digits[v >> 18 & 63];
        out += digits[v >> 12 & 63];
        out += i + 1 < bytes.size() ? digits[v >> 6 & 63] : '=';
        out += i + 2 < bytes.size() ? digits[v & 63] : '=';
    }
    return out;
}

inline std::vector<std::uint8_t> ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The head of every document: the faces, and the automatic styles the body names.
inline std::string FodtHead()
{
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 xmlns:xlink="http://www.w3.org/1999/xlink"
 xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"
 office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.text">
<office:font-face-decls>
 <style:font-face style:name="Times New Roman" svg:font-family="'Times New Roman'" style:font-family-generic="roman"/>
 <style:font-face style:name="Arial" svg:font-family="Arial" style:font-family-generic="swiss"/>
 <style:font-face style:name="Courier New" svg:font-family="'Courier New'" style:font-family-generic="modern"/>
 <style:font-face style:name="SimSun" svg:font-family="SimSun" style:font-charset="x-symbol"/>
 <style:font-face style:name="宋体" svg:font-family="宋体"/>
 <style:font-face style:name="黑体" svg:font-family="黑体"/>
 <style:font-face style:name="楷体" svg:font-family="楷体"/>
</office:font-face-decls>
<office:automatic-styles>
 <style:style style:name="Song" style:family="text"><style:text-properties style:font-name="Times New Roman" style:font-name-asian="宋体" fo:font-size="10.5pt" style:font-size-asian="10.5pt"/></style:style>
 <style:style style:name="Hei" style:family="text"><style:text-properties style:font-name="Arial" style:font-name-asian="黑体" fo:font-size="16pt" style:font-size-asian="16pt"/></style:style>
 <style:style style:name="Kai" style:family="text"><style:text-properties style:font-name="Courier New" style:font-name-asian="楷体" fo:font-size="12pt" style:font-size-asian="12pt"/></style:style>
 <style:style style:name="Bold" style:family="text"><style:text-properties fo:font-weight="bold" style:font-weight-asian="bold"/></style:style>
 <style:style style:name="Italic" style:family="text"><style:text-properties fo:font-style="italic" style:font-style-asian="italic"/></style:style>
 <style:style style:name="Under" style:family="text"><style:text-properties style:text-underline-style="solid" style:text-underline-width="auto" style:text-underline-color="font-color"/></style:style>
 <style:style style:name="Double" style:family="text"><style:text-properties style:text-underline-style="solid" style:text-underline-type="double" style:text-underline-width="auto" style:text-underline-color="font-color"/></style:style>
 <style:style style:name="Dotted" style:family="text"><style:text-properties style:text-underline-style="dotted" style:text-underline-width="auto" style:text-underline-color="font-color"/></style:style>
 <style:style style:name="Red" style:family="text"><style:text-properties fo:color="#ff0000"/></style:style>
 <style:style style:name="Blue" style:family="text"><style:text-properties fo:color="#0000ff"/></style:style>
 <style:style style:name="Left" style:family="paragraph"><style:paragraph-properties fo:text-align="start"/></style:style>
 <style:style style:name="Centre" style:family="paragraph"><style:paragraph-properties fo:text-align="center"/></style:style>
 <style:style style:name="Right" style:family="paragraph"><style:paragraph-properties fo:text-align="end"/></style:style>
 <style:style style:name="Justify" style:family="paragraph"><style:paragraph-properties fo:text-align="justify"/></style:style>
 <style:style style:name="Indent" style:family="paragraph"><style:paragraph-properties fo:margin-left="0.74cm" fo:margin-right="0.5cm" fo:text-indent="0.74cm"/></style:style>
 <style:style style:name="Hanging" style:family="paragraph"><style:paragraph-properties fo:margin-left="1.48cm" fo:text-indent="-0.74cm"/></style:style>
 <style:style style:name="Tbl" style:family="table"><style:table-properties style:width="10cm" table:align="center"/></style:style>
 <style:style style:name="Float" style:family="graphic"><style:graphic-properties style:wrap="parallel" style:horizontal-pos="from-left" style:horizontal-rel="paragraph" style:vertical-pos="top" style:vertical-rel="paragraph"/></style:style>
 <style:style style:name="Inline" style:family="graphic"><style:graphic-properties style:vertical-pos="top" style:vertical-rel="baseline"/></style:style>
</office:automatic-styles>
<office:body><office:text>
)";
}

inline std::string FodtTail()
{
    return "</office:text></office:body></office:document>\n";
}

inline std::string Picture(const std::string& name, const std::vector<std::uint8_t>& bytes, bool floating,
                           const char* width, const char* height)
{
    std::ostringstream s;
    s << "<draw:frame draw:style-name=\"" << (floating ? "Float" : "Inline") << "\" draw:name=\"" << name
      << "\" text:anchor-type=\"" << (floating ? "paragraph" : "as-char") << "\" svg:width=\"" << width
      << "\" svg:height=\"" << height << "\"" << (floating ? " svg:x=\"1cm\" svg:y=\"0cm\"" : "")
      << "><draw:image><office:binary-data>" << Base64(bytes) << "</office:binary-data></draw:image></draw:frame>";
    return s.str();
}

inline std::string Footnote(int n, const std::string& text)
{
    return "<text:note text:id=\"ftn" + std::to_string(n) + "\" text:note-class=\"footnote\"><text:note-citation>" +
           std::to_string(n) + "</text:note-citation><text:note-body><text:p>" + text +
           "</text:p></text:note-body></text:note>";
}

// A 3 x 2 table whose first row is one cell over both columns.
inline std::string MergedTable(const std::string& name)
{
    return "<table:table table:name=\"" + name + "\" table:style-name=\"Tbl\"><table:table-column table:number-columns-repeated=\"2\"/>"
           "<table:table-row><table:table-cell table:number-columns-spanned=\"2\" office:value-type=\"string\"><text:p>合并 merged</text:p></table:table-cell><table:covered-table-cell/></table:table-row>"
           "<table:table-row><table:table-cell office:value-type=\"string\"><text:p>甲 A</text:p></table:table-cell><table:table-cell office:value-type=\"string\"><text:p>乙 B</text:p></table:table-cell></table:table-row>"
           "<table:table-row><table:table-cell office:value-type=\"string\"><text:p>丙 C</text:p></table:table-cell><table:table-cell office:value-type=\"string\"><text:p>丁 D</text:p></table:table-cell></table:table-row>"
           "</table:table>\n";
}

// The sample: Chinese and Latin text in several faces and sizes, bold, italic, the
// underline kinds, colours, alignments and indents, the merged table, an inline PNG and
// JPEG, a floating picture and two footnotes.
inline std::string SampleDocument(const std::vector<std::uint8_t>& png, const std::vector<std::uint8_t>& jpeg)
{
    std::string d = FodtHead();
    d += "<text:p text:style-name=\"Centre\"><text:span text:style-name=\"Hei\">标题 Title</text:span></text:p>\n";
    d += "<text:p text:style-name=\"Justify\"><text:span text:style-name=\"Song\">正文宋体 Body text in Times, "
         "<text:span text:style-name=\"Bold\">粗体 bold</text:span> <text:span text:style-name=\"Italic\">斜体 italic</text:span> "
         "<text:span text:style-name=\"Under\">下划线 under</text:span> <text:span text:style-name=\"Double\">双线 double</text:span> "
         "<text:span text:style-name=\"Dotted\">点线 dotted</text:span> <text:span text:style-name=\"Red\">红 red</text:span> "
         "<text:span text:style-name=\"Blue\">蓝 blue</text:span>" + Footnote(1, "第一个脚注 first note") + "</text:span></text:p>\n";
    d += "<text:p text:style-name=\"Right\"><text:span text:style-name=\"Kai\">楷体右对齐 right aligned</text:span></text:p>\n";
    d += "<text:p text:style-name=\"Indent\">首行缩进的段落 an indented paragraph with a first-line indent and a right indent that wraps over two lines of text.</text:p>\n";
    d += "<text:p text:style-name=\"Hanging\">悬挂缩进 hanging indent" + Footnote(2, "second note 第二") + "</text:p>\n";
    d += MergedTable("Table1");
    d += "<text:p text:style-name=\"Left\">图片 pictures " + Picture("png", png, false, "1.5cm", "1cm") + " and " +
         Picture("jpeg", jpeg, false, "1.5cm", "1cm") + " inline.</text:p>\n";
    d += "<text:p text:style-name=\"Left\">" + Picture("float", png, true, "3cm", "2cm") +
         "浮动图片 a floating picture beside this paragraph.</text:p>\n";
    d += "<text:p text:style-name=\"Left\">结尾 the end.</text:p>\n";
    return d + FodtTail();
}

// A long document: pages of mixed Chinese and Latin text in several faces, list-like
// paragraphs, a table and a picture every few paragraphs, and footnotes.
inline std::string LongDocument(int paragraphs, const std::vector<std::uint8_t>& png)
{
    static const char* const faces[] = {"Song", "Hei", "Kai"};
    std::string d = FodtHead();
    int note = 0;
    for (int p = 0; p < paragraphs; ++p) {
        const char* face = faces[p % 3];
        std::string text = "<text:span text:style-name=\"" + std::string(face) + "\">";
        text += "第" + std::to_string(p + 1) + "段 Paragraph " + std::to_string(p + 1) +
                ": 中文与英文混排的正文，mixed Chinese and Latin text that runs over several lines of the page, ";
        text += "<text:span text:style-name=\"Bold\">重点 key words</text:span> and more ordinary words follow here.";
        text += "</text:span>";
        if (p % 25 == 7) {
            ++note;
            text += Footnote(note, "注释 note " + std::to_string(note));
        }
        const char* style = p % 10 == 3 ? "Hanging" : p % 10 == 5 ? "Indent" : "Justify";
        if (p % 10 == 3) text = "• " + text;
        d += "<text:p text:style-name=\"" + std::string(style) + "\">" + text + "</text:p>\n";
        if (p % 30 == 15) d += MergedTable("T" + std::to_string(p));
        if (p % 30 == 29) d += "<text:p>" + Picture("p" + std::to_string(p), png, false, "2cm", "1.5cm") + "</text:p>\n";
    }
    return d + FodtTail();
}

// LibreOffice's program, or empty when it is not installed.
inline std::string FindSoffice()
{
    for (const char* p : {"/usr/bin/soffice", "/usr/bin/libreoffice", "/usr/lib/libreoffice/program/soffice"})
        if (fs::exists(p)) return p;
    return {};
}

// Writes each document as dir/<name>.fodt (only when its text changed) and has LibreOffice
// convert every changed one to dir/<name>.rtf in one run. False, with the reason, when
// LibreOffice is missing or a file did not come out.
inline bool MakeRtfFiles(const fs::path& dir, const std::vector<std::pair<std::string, std::string>>& documents,
                         std::string& error)
{
    fs::create_directories(dir);
    std::vector<fs::path> stale;
    for (const auto& [name, text] : documents) {
        const fs::path fodt = dir / (name + ".fodt");
        const fs::path rtf = dir / (name + ".rtf");
        std::ifstream old(fodt, std::ios::binary);
        const std::string previous{std::istreambuf_iterator<char>(old), std::istreambuf_iterator<char>()};
        if (previous == text && fs::exists(rtf)) continue;
        std::ofstream(fodt, std::ios::binary) << text;
        fs::remove(rtf);
        stale.push_back(fodt);
    }
    if (stale.empty()) return true;
    const std::string soffice = FindSoffice();
    if (soffice.empty()) {
        error = "LibreOffice is not installed (scripts/setup installs libreoffice-writer-nogui)";
        return false;
    }
    std::string command = soffice + " --headless --norestore --nolockcheck -env:UserInstallation=file://" +
                          (dir / "profile").string() + " --convert-to rtf --outdir '" + dir.string() + "'";
    for (const fs::path& f : stale) command += " '" + f.string() + "'";
    command += " >'" + (dir / "soffice.log").string() + "' 2>&1";
    if (std::system(command.c_str()) != 0) {
        error = "LibreOffice failed: see " + (dir / "soffice.log").string();
        return false;
    }
    for (const auto& [name, text] : documents)
        if (!fs::exists(dir / (name + ".rtf"))) {
            error = "LibreOffice wrote no " + name + ".rtf";
            return false;
        }
    return true;
}

} // namespace madedocs
