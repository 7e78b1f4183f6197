#include "media/emf_picture.h"

#include <emf2svg.h>
#include <librsvg/rsvg.h>
#include <cairo.h>

#include <cstdlib>

#include "media/metafile_playback.h"
#include "platform/base/byte_order.h"

namespace {

constexpr std::size_t kEmfHeaderBytes = 88;
constexpr std::uint32_t kEmfSignature = 0x464D4520; // " EMF"

// Plays the records into width × height pixels laid on white (0x00RRGGBB): libemf2svg
// writes the drawing as SVG at that size, librsvg draws the SVG into the pixels. Run in
// the playing's child process, which ends after it, so nothing here is freed.
bool PlayHere(const std::vector<std::uint8_t>& data, std::uint32_t* pixels, int width, int height)
{
    generatorOptions options{};
    char svgNamespace[] = "svg";
    options.nameSpace = svgNamespace;
    options.svgDelimiter = true;
    options.imgWidth = width;
    options.imgHeight = height;
    char* svg = nullptr;
    std::size_t svgBytes = 0;
    if (!emf2svg(reinterpret_cast<char*>(const_cast<std::uint8_t*>(data.data())), data.size(), &svg, &svgBytes,
                 &options) ||
        !svg || svgBytes == 0)
        return false;
    GError* error = nullptr;
    RsvgHandle* handle = rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(svg), svgBytes, &error);
    if (!handle) return false;
    cairo_surface_t* surface = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(pixels),
                                                                   CAIRO_FORMAT_RGB24, width, height, width * 4);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    // The drawing fills the pixels, stretched in each direction on its own (librsvg would
    // keep its proportions within the viewport).
    double svgWidth = 0, svgHeight = 0;
    if (!rsvg_handle_get_intrinsic_size_in_pixels(handle, &svgWidth, &svgHeight) || svgWidth <= 0 || svgHeight <= 0) {
        svgWidth = width;
        svgHeight = height;
    }
    cairo_scale(cr, width / svgWidth, height / svgHeight);
    const RsvgRectangle viewport{0, 0, svgWidth, svgHeight};
    const bool drawn = rsvg_handle_render_document(handle, cr, &viewport, &error);
    cairo_surface_flush(surface);
    return drawn && cairo_status(cr) == CAIRO_STATUS_SUCCESS;
}

} // namespace

std::unique_ptr<CPictureFile> LoadEmfPicture(std::vector<std::uint8_t> data)
{
    const std::uint8_t* h = data.data();
    if (data.size() < kEmfHeaderBytes || plat::LoadU32(h) != 1 || plat::LoadU32(h + 40) != kEmfSignature) return nullptr;
    const std::uint32_t recordBytes = plat::LoadU32(h + 4);
    if (recordBytes < kEmfHeaderBytes || recordBytes > data.size()) return nullptr;
    // The frame is in HIMETRIC units already.
    const std::int64_t w = std::int64_t(plat::LoadI32(h + 32)) - plat::LoadI32(h + 24);
    const std::int64_t ht = std::int64_t(plat::LoadI32(h + 36)) - plat::LoadI32(h + 28);
    if (w <= 0 || ht <= 0 || w > INT32_MAX || ht > INT32_MAX) return nullptr;
    const plat::Size size = ClampMetafileSize(w, ht);
    auto picture = std::make_unique<CPlayedMetafile>(
        CPictureFile::Kind::kEnhancedMetafile, size.cx, size.cy,
        [data = std::move(data)](std::uint32_t* pixels, int width, int height) {
            return PlayHere(data, pixels, width, height);
        });
    if (!picture->Prepare()) return nullptr;
    return picture;
}
