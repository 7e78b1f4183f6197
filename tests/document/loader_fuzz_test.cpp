// Truncated and bit-flipped records fed to every loader of the text model: each either
// loads or raises the archive's error, never anything else, and a refused record leaves
// its target as it was. AddressSanitizer watches for overruns and leaks.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "document/author_list.h"
#include "document/color_palette.h"
#include "document/format_pool.h"
#include "tests/document/text_model_support.h"

using namespace textmodel;

namespace {

struct Target {
    const char* name;
    Bytes seed;
    // Loads into a fresh object and reports whether that object is unchanged.
    std::function<void(plat::Archive&, bool& untouched)> load;
};

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

// Runs one load; false when it raised the archive's error.
bool Feed(const Target& t, const Bytes& bytes, const std::string& what)
{
    bool untouched = true;
    try {
        LoadFrom(bytes, [&](plat::Archive& ar) { t.load(ar, untouched); });
        return true;
    } catch (const plat::ArchiveException&) {
        EXPECT_TRUE(untouched) << t.name << " " << what << ": a refused record changed its target";
        return false;
    } catch (const std::exception& e) {
        ADD_FAILURE() << t.name << " " << what << ": " << e.what();
        return false;
    }
}

} // namespace

TEST(LoaderFuzz, TruncatedRecordsAreRefused)
{
    SampleContainer s;
    CFormatPool& pool = CFormatPool::Instance();
    for (const Target& t : Targets(s)) {
        const size_t formats = pool.LiveCount();
        ASSERT_TRUE(Feed(t, t.seed, "whole")) << t.name;
        for (size_t n = 0; n < t.seed.size(); ++n) {
            Bytes cut(t.seed.begin(), t.seed.begin() + static_cast<std::ptrdiff_t>(n));
            EXPECT_FALSE(Feed(t, cut, "cut at " + std::to_string(n))) << t.name << " loaded from " << n << " bytes";
        }
        EXPECT_EQ(pool.LiveCount(), formats) << t.name << ": failed loads left pooled formats behind";
    }
}

TEST(LoaderFuzz, FlippedBitsAndBytesNeverEscapeTheArchiveError)
{
    SampleContainer s;
    std::mt19937 rng(20240611u); // fixed: a failure reproduces
    CFormatPool& pool = CFormatPool::Instance();
    for (const Target& t : Targets(s)) {
        const size_t formats = pool.LiveCount();
        std::uniform_int_distribution<size_t> at(0, t.seed.size() - 1);
        for (int round = 0; round < 1500; ++round) {
            Bytes b = t.seed;
            int changes = 1 + round % 4;
            for (int k = 0; k < changes; ++k) {
                size_t i = at(rng);
                if (round % 3 == 2) b[i] = static_cast<std::uint8_t>(rng()); // a whole byte
                else b[i] ^= static_cast<std::uint8_t>(1u << (rng() % 8));
            }
            Feed(t, b, "round " + std::to_string(round));
        }
        EXPECT_EQ(pool.LiveCount(), formats) << t.name;
    }
}
