// Rendering SVG icons with librsvg into cairo image surfaces. glib and librsvg headers stay in
// this file (glib defines its own TRUE and FALSE). librsvg is loaded with the first SVG icon,
// not with the program: with glib, cairo and pango it is some thirty libraries, about 8 ms of
// every start, and the icons on a first screen are mostly PNG files.
#include "platform/graphics/svg_image.h"

#include <cairo.h>
#include <dlfcn.h>
#include <librsvg/rsvg.h>

#include <cstring>

#include "platform/base/library_symbols.h"
#include "platform/files/regular_file.h"

namespace platform {
namespace {

// Icon documents are some kilobytes; the largest real ones about a megabyte. Larger files are not
// parsed: the parsed document takes a multiple of the text.
constexpr std::size_t kMaxFileSize = std::size_t{4} << 20;

// The functions used here, found in librsvg and the libraries it loads.
struct SvgLibrary {
    decltype(&rsvg_handle_new_from_data) handleNewFromData = nullptr;
    decltype(&rsvg_handle_render_document) handleRenderDocument = nullptr;
    decltype(&g_object_unref) objectUnref = nullptr;
    decltype(&g_error_free) errorFree = nullptr;
    decltype(&cairo_image_surface_create) imageSurfaceCreate = nullptr;
    decltype(&cairo_image_surface_get_data) imageSurfaceGetData = nullptr;
    decltype(&cairo_image_surface_get_stride) imageSurfaceGetStride = nullptr;
    decltype(&cairo_surface_status) surfaceStatus = nullptr;
    decltype(&cairo_surface_flush) surfaceFlush = nullptr;
    decltype(&cairo_surface_destroy) surfaceDestroy = nullptr;
    decltype(&cairo_create) create = nullptr;
    decltype(&cairo_status) status = nullptr;
    decltype(&cairo_destroy) destroy = nullptr;
};

// Loaded once and kept for the life of the process; null when librsvg cannot be loaded.
const SvgLibrary* Library() {
    static const std::optional<SvgLibrary> loaded = []() -> std::optional<SvgLibrary> {
        void* library = ::dlopen("librsvg-2.so.2", RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr) return std::nullopt;
        SvgLibrary functions;
        const bool complete =
            FindSymbol(library, "rsvg_handle_new_from_data", &functions.handleNewFromData) &&
            FindSymbol(library, "rsvg_handle_render_document", &functions.handleRenderDocument) &&
            FindSymbol(library, "g_object_unref", &functions.objectUnref) &&
            FindSymbol(library, "g_error_free", &functions.errorFree) &&
            FindSymbol(library, "cairo_image_surface_create", &functions.imageSurfaceCreate) &&
            FindSymbol(library, "cairo_image_surface_get_data", &functions.imageSurfaceGetData) &&
            FindSymbol(library, "cairo_image_surface_get_stride",
                       &functions.imageSurfaceGetStride) &&
            FindSymbol(library, "cairo_surface_status", &functions.surfaceStatus) &&
            FindSymbol(library, "cairo_surface_flush", &functions.surfaceFlush) &&
            FindSymbol(library, "cairo_surface_destroy", &functions.surfaceDestroy) &&
            FindSymbol(library, "cairo_create", &functions.create) &&
            FindSymbol(library, "cairo_status", &functions.status) &&
            FindSymbol(library, "cairo_destroy", &functions.destroy);
        if (!complete) return std::nullopt;
        return functions;
    }();
    return loaded ? &*loaded : nullptr;
}

struct GObjectUnref {
    void operator()(gpointer object) const { Library()->objectUnref(object); }
};
struct GErrorFree {
    void operator()(GError* error) const { Library()->errorFree(error); }
};
struct CairoSurfaceDestroy {
    void operator()(cairo_surface_t* surface) const { Library()->surfaceDestroy(surface); }
};
struct CairoDestroy {
    void operator()(cairo_t* context) const { Library()->destroy(context); }
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
    // Read here, so the file is opened the careful way and bounded; parsed from memory, the
    // document has no place on disk from which it could pull in further files.
    const std::optional<std::string> text = ReadRegularFile(path, kMaxFileSize);
    if (!text) return nullptr;
    const SvgLibrary* library = Library();
    if (library == nullptr) return nullptr;
    GError* rawError = nullptr;
    RsvgHandle* rsvg = library->handleNewFromData(reinterpret_cast<const guint8*>(text->data()),
                                                  text->size(), &rawError);
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
    // A document exists only where the library was loaded.
    const SvgLibrary& library = *Library();
    CairoSurfacePointer surface(library.imageSurfaceCreate(CAIRO_FORMAT_ARGB32, width, height));
    if (library.surfaceStatus(surface.get()) != CAIRO_STATUS_SUCCESS) return std::nullopt;
    CairoPointer context(library.create(surface.get()));
    if (library.status(context.get()) != CAIRO_STATUS_SUCCESS) return std::nullopt;

    const RsvgRectangle viewport{0.0, 0.0, static_cast<double>(width), static_cast<double>(height)};
    GError* rawError = nullptr;
    const gboolean rendered =
        library.handleRenderDocument(handle_->rsvg.get(), context.get(), &viewport, &rawError);
    ErrorPointer error(rawError);
    if (!rendered) return std::nullopt;
    library.surfaceFlush(surface.get());

    // Cairo's ARGB32 is premultiplied 0xAARRGGBB in native byte order: our format already, only
    // the row stride may differ.
    PremultipliedImage image{width, height, {}};
    image.pixels.resize(static_cast<std::size_t>(width) * height);
    const unsigned char* data = library.imageSurfaceGetData(surface.get());
    const int stride = library.imageSurfaceGetStride(surface.get());
    for (int y = 0; y < height; ++y) {
        std::memcpy(image.pixels.data() + static_cast<std::size_t>(y) * width,
                    data + static_cast<std::ptrdiff_t>(y) * stride,
                    static_cast<std::size_t>(width) * sizeof(std::uint32_t));
    }
    return image;
}

}  // namespace platform
