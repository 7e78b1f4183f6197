// Helpers of the image-object tests: a shown document with the media kinds registered
// through their library's function, and small pictures made with ImageMagick.
#pragma once
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

#include "document/doc_body.h"
#include "document/ql_doc.h"
#include "media/image_object.h"
#include "media/media_kinds.h"
#include "platform/base/system.h"
#include "tests/support/headless_windows.h"

namespace imagetest {

namespace fs = std::filesystem;

// A scratch folder of the test's own files.
inline fs::path Scratch()
{
    const fs::path dir = fs::path(plat::TempDirUtf8()) / "image-tests";
    fs::create_directories(dir);
    return dir;
}

// A picture made by ImageMagick once per process: `args` before the output file.
inline std::string Picture(const std::string& name, const std::string& args)
{
    const fs::path out = Scratch() / name;
    if (!fs::exists(out)) {
        const std::string command = std::string(QUILN_CONVERT) + " " + args + " '" + out.string() + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
    }
    return out.string();
}

// 40 × 20 pixels: left half red, right half blue, a white 4 × 4 square at (8, 8).
inline std::string TwoColours(const std::string& ext = "bmp")
{
    return Picture("two-colours." + ext,
                   "-size 20x20 xc:red -size 20x20 xc:blue +append -fill white -draw 'rectangle 8,8 11,11' -type "
                   "TrueColor");
}

inline std::string Bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct ShownDoc {
    ShownDoc()
    {
        RegisterMediaKinds();
        doc.Reset();
    }
    ~ShownDoc() { UnregisterDocObjects(); }
    CDocBody& Body() const { return *doc.GetBody(); }
    CImageObject& Image(int index = -1) const
    {
        CDocBody& b = Body();
        return dynamic_cast<CImageObject&>(*b.GetObject(index < 0 ? b.GetObjectCount() - 1 : index));
    }
    // An image inserted at the box (twips).
    CImageObject& Insert(const std::string& path, int x = 1440, int y = 2000, int w = 1440, int h = 720)
    {
        EXPECT_EQ(doc.InsertImage(plat::Utf8ToUtf16(path), u"", x, y, w, h), 1);
        return Image();
    }
    CHeadlessWindows window;
    CQlDoc doc{&window, &window};
};

} // namespace imagetest
