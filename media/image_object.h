// The image object (node type 18): a picture placed on a page, embedded through the
// document's image store and drawn through a picture cache, white being transparent.
// It can be resized from its corners (keeping its proportions unless Shift is held),
// turned about its top-left corner by its top-right handle, mirrored, and edited in an
// outside image editor. The object holds only the store key; the picture's bytes live in
// the store's working copy.
//
// Geometry: P0 top-left, P1 bottom-left, P2 top-right, P3 bottom-right of the turned
// rectangle; with θ the angle of P0→P2, u = (cos θ, −sin θ), v = (sin θ, cos θ):
// P2 = P0 + W·u, P1 = P0 + H·v, P3 = P0 + W·u + H·v (W, H the base's width and height).
// The box is the bounding box of the corners.
#pragma once
#include <array>
#include <cstdint>

#include "document/doc_commands.h"
#include "document/float_object.h"
#include "media/image_cache.h"

class CMediaStoreEntry;

class CImageObject : public CFloatObject, public CInsertableObject, public CAdvancedEditable {
public:
    // Handle codes: the corners, and a press on the picture itself.
    static constexpr std::uint8_t kHitP0 = 33;
    static constexpr std::uint8_t kHitP1 = 35;
    static constexpr std::uint8_t kHitP2 = 92;
    static constexpr std::uint8_t kHitP3 = 40;
    static constexpr std::uint8_t kHitBody = 16;
    // No side becomes shorter than this (twips) by a drag.
    static constexpr int kMinSide = 100;
    // Half the side of a handle's square, twips.
    static constexpr int kHandleHalf = 60;

    CImageObject(CDocContext* doc, CDocNode* parent);
    // A picture file added to the document's image store (with the de-duplication flag),
    // then loaded.
    CImageObject(CDocContext* doc, CDocNode* parent, const plat::String& path, int deduplicate);
    ~CImageObject() override;

    // ---- CInsertableObject ----
    // Adds the file with de-duplication and loads it; false when it is no readable picture.
    bool TakeSource(const CNewObjectSource& source) override;
    // The placed box becomes the corners; M1 its top-left, M2 its bottom-right.
    void OnPlaced() override;

    // ---- the slots ----
    void Load(plat::Archive& ar, int mode) override;
    void Save(plat::Archive& ar, int mode, int dx, int dy) override;
    void PrepareItems() override;
    void Draw(plat::Dc& dc, double zoom, int x0, int y0, int pass, CRenderContext& rc) override;
    void DrawSelection(plat::Dc& dc, double zoom, int x0, int y0) override;
    int OnLoaded() override;
    void ReleaseContent() override;
    plat::Size GetNaturalSize() const override { return plat::Size(m_naturalWidth, m_naturalHeight); }
    int GetExportKind() const override { return 2; }
    plat::String GetExportExt() const override;
    bool ExportFile(const plat::String& path) override;
    bool IsImage() const override { return true; }
    int ShowProperties() override;
    int EditExternally() override;
    int Play() override { return ShowProperties(); }
    std::uint8_t HitTest(int x, int y, CPointList& handles) override;
    std::uint8_t BeginTrack(int x, int y, bool shift, CPointList& handles) override;
    void TrackTo(int x, int y) override;
    void EndTrack(int x, int y) override;
    void GetHandles(CPointList& handles) override;
    void CountStatistics(CStatistics& stats) const override;
    void OffsetOutline(int dx, int dy) override;

    // ---- CAdvancedEditable ----
    // Hands a copy to the advanced editor without waiting; later paints take its saves
    // back.
    int EditExternallyAdv() override;

    // The angle of the top edge (radians, counter-clockwise on screen).
    double GetAngle() const;
    const std::array<plat::Point, 4>& GetCorners() const { return m_corners; }
    plat::Point GetMirror1() const { return m_mirror1; }
    plat::Point GetMirror2() const { return m_mirror2; }
    // Mirrored left-to-right unless m1.x < m2.x, top-to-bottom unless m1.y < m2.y.
    void SetMirrorPoints(plat::Point m1, plat::Point m2)
    {
        m_mirror1 = m1;
        m_mirror2 = m2;
    }
    // A resize by a corner keeps the proportions unless this says Shift is held (by
    // default the keyboard's state).
    using ShiftQuery = bool (*)();
    static void SetShiftQuery(ShiftQuery query);

    enum Corner { kP0 = 0, kP1 = 1, kP2 = 2, kP3 = 3 };

private:
    CMediaStoreEntry* Entry() const;
    // The corners from the anchor corner, the size and the angle.
    void PlaceCorners(Corner anchor, int width, int height, double angle);
    // The box: the bounding box of the corners, the caption under it.
    void BoundsFromCorners();
    bool InsideTurnedRect(int x, int y) const;
    // The take-back of an advanced edit's saves.
    void TakeBackEdit();
    // A fresh edit copy of the working copy in the private temporary folder; "" when
    // the key has no entry.
    plat::String MakeEditCopy();

    std::int32_t m_editPending = 0;
    std::int64_t m_editTime = 0;
    std::int64_t m_editSize = 0;
    plat::String m_editPath;
    CImageCache m_picture;
    std::int32_t m_naturalWidth = 1;
    std::int32_t m_naturalHeight = 1;
    std::array<plat::Point, 4> m_corners{}; // P0, P1, P2, P3
    plat::Point m_mirror1;
    plat::Point m_mirror2;
};
