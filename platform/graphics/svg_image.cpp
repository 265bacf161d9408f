// Rendering SVG icons with librsvg into cairo image surfaces. glib and librsvg headers stay in
// this file (glib defines its own TRUE and FALSE).
#include "platform/graphics/svg_image.h"

#include <cairo.h>
#include <librsvg/rsvg.h>

#include <cstring>

namespace platform {
namespace {

struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
struct GErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
struct CairoSurfaceDestroy {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct CairoDestroy {
    void operator()(cairo_t* context) const { cairo_destroy(context); }
};

using ErrorPointer = std::unique_ptr<GError, GErrorFree>;
using CairoSurfacePointer = std::unique_ptr<cairo_surface_t, CairoSurfaceDestroy>;
using CairoPointer = std::unique_ptr<cairo_t, CairoDestroy>;

}  // namespace

struct SvgDocument::Handle {
    std::unique_ptr<RsvgHandle, GObjectUnref> rsvg;
};

SvgDocument::SvgDocument(std::unique_ptr<Handle> handle) : handle_(std::move(handle)) {}
SvgDocument::~SvgDocument() = default;

std::unique_ptr<SvgDocument> SvgDocument::Load(const std::string& path) {
    GError* rawError = nullptr;
    RsvgHandle* rsvg = rsvg_handle_new_from_file(path.c_str(), &rawError);
    ErrorPointer error(rawError);
    if (rsvg == nullptr) return nullptr;
    auto handle = std::make_unique<Handle>();
    handle->rsvg.reset(rsvg);
    return std::unique_ptr<SvgDocument>(new SvgDocument(std::move(handle)));
}

std::optional<PremultipliedImage> SvgDocument::Render(int width, int height) const {
    if (width <= 0 || height <= 0 || width > Surface::kMaxSide || height > Surface::kMaxSide ||
        static_cast<std::int64_t>(width) * height > Surface::kMaxPixels) {
        return std::nullopt;
    }
    CairoSurfacePointer surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return std::nullopt;
    CairoPointer context(cairo_create(surface.get()));
    if (cairo_status(context.get()) != CAIRO_STATUS_SUCCESS) return std::nullopt;

    const RsvgRectangle viewport{0.0, 0.0, static_cast<double>(width), static_cast<double>(height)};
    GError* rawError = nullptr;
    const gboolean rendered =
        rsvg_handle_render_document(handle_->rsvg.get(), context.get(), &viewport, &rawError);
    ErrorPointer error(rawError);
    if (!rendered) return std::nullopt;
    cairo_surface_flush(surface.get());

    // Cairo's ARGB32 is premultiplied 0xAARRGGBB in native byte order: our format already, only
    // the row stride may differ.
    PremultipliedImage image{width, height, {}};
    image.pixels.resize(static_cast<std::size_t>(width) * height);
    const unsigned char* data = cairo_image_surface_get_data(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    for (int y = 0; y < height; ++y) {
        std::memcpy(image.pixels.data() + static_cast<std::size_t>(y) * width,
                    data + static_cast<std::ptrdiff_t>(y) * stride,
                    static_cast<std::size_t>(width) * sizeof(std::uint32_t));
    }
    return image;
}

}  // namespace platform
