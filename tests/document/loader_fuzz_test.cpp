// Truncated and bit-flipped records fed to every loader of the text model: each either
// loads or raises the archive's error, never anything else, and a refused record leaves
// its target as it was. AddressSanitizer watches for overruns and leaks.
#include <gtest/gtest.h>

#include "document/author_list.h"
#include "document/color_palette.h"
#include "document/named_container.h"
#include "tests/document/loader_fuzz_support.h"

using namespace textmodel;
using loaderfuzz::Target;

namespace {

std::vector<Target> Targets(SampleContainer& s)
{
    std::vector<Target> targets;
    CQlDoc* doc = &s.doc;
    for (int mode : {kArchiveFile, kArchiveUndo, kArchiveClipboard, kArchiveInsert}) {
        Bytes seed = SaveBox(*s.box, mode == kArchiveInsert ? kArchiveFile : mode);
        targets.push_back({"container", seed, [doc, mode](plat::Archive& ar, bool& untouched) {
                               CNamedContainer box(doc, nullptr);
                               String name = box.GetName();
                               CCharFormat running(doc);
                               try {
                                   box.Load(ar, running, mode);
                               } catch (...) {
                                   untouched = box.GetCount() == 0 && box.GetName() == name;
                                   throw;
                               }
                           }});
    }
    s.doc.SetRevisionsShown(true);
    targets.push_back({"text block",
                       Store([&](plat::Archive& ar) { s.box->WriteTextBlock(ar, 0, s.box->GetCount(), false); }),
                       [doc](plat::Archive& ar, bool& untouched) {
                           CNamedContainer box(doc, nullptr);
                           int at = 0;
                           box.InsertString(at, u"xy", CCharFormat());
                           at = 1;
                           try {
                               box.ReadTextBlock(ar, kArchiveClipboard, at);
                           } catch (...) {
                               untouched = box.GetCount() == 2 && at == 1;
                               throw;
                           }
                       }});
    s.doc.SetRevisionsShown(false);
    targets.push_back({"character format", Store([&](plat::Archive& ar) { s.box->GetItem(6)->GetFormat().Save(ar, kArchiveFile); }),
                       [doc](plat::Archive& ar, bool& untouched) {
                           CCharFormat f(doc);
                           try {
                               f.Load(ar, kArchiveFile);
                           } catch (...) {
                               untouched = f.Differs(CCharFormat()) == 0;
                               throw;
                           }
                       }});
    targets.push_back({"author table", Store([&](plat::Archive& ar) { s.doc.GetAuthors().Save(ar); }),
                       [](plat::Archive& ar, bool& untouched) {
                           CAuthorList list;
                           try {
                               list.Load(ar);
                           } catch (...) {
                               untouched = list.GetCount() == 0;
                               throw;
                           }
                       }});
    CColorPalette palette;
    palette.UseColor(0x123456);
    targets.push_back({"palette", Store([&](plat::Archive& ar) { palette.Save(ar); }),
                       [](plat::Archive& ar, bool& untouched) {
                           CColorPalette p;
                           try {
                               p.Load(ar);
                           } catch (...) {
                               untouched = p.GetColor(179) == CColorPalette::kEmptySlot;
                               throw;
                           }
                       }});
    targets.push_back({"position", Store([](plat::Archive& ar) { CTextPos(3, u"name").Save(ar, kArchiveFile); }),
                       [](plat::Archive& ar, bool& untouched) {
                           CTextPos pos;
                           try {
                               pos.Load(ar, kArchiveFile);
                           } catch (...) {
                               untouched = pos == CTextPos();
                               throw;
                           }
                       }});
    return targets;
}

} // namespace

TEST(LoaderFuzz, TruncatedRecordsAreRefused)
{
    SampleContainer s;
    loaderfuzz::RefuseTruncations(Targets(s));
}

TEST(LoaderFuzz, FlippedBitsAndBytesNeverEscapeTheArchiveError)
{
    SampleContainer s;
    loaderfuzz::FlipBits(Targets(s), 20240611u, 1500, 4);
}
