#include "platform/display/screen_capture.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <bit>

#include "platform/gfx/bitmap.h"

namespace plat {

namespace {

// Xlib's own handler ends the process on an error; while we read, an error is an answer.
int g_captureError = 0;
int NoteError(::Display*, XErrorEvent* event)
{
    g_captureError = event->error_code;
    return 0;
}

// A channel of the pixel, by its mask, scaled to eight bits.
std::uint32_t Channel(unsigned long pixel, unsigned long mask)
{
    if (!mask) return 0;
    const unsigned long value = (pixel & mask) >> std::countr_zero(mask);
    const unsigned long top = mask >> std::countr_zero(mask);
    return static_cast<std::uint32_t>(top == 255 ? value : value * 255 / top);
}

} // namespace

std::unique_ptr<Bitmap> CaptureX11Window(_XDisplay* display, unsigned long window, std::string* error)
{
    auto refuse = [error](const char* why) -> std::unique_ptr<Bitmap> {
        if (error) *error = why;
        return nullptr;
    };
    // Everything drawn so far reaches the server before we read.
    XSync(display, False);
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) return refuse("the window's attributes cannot be read");
    if (attributes.map_state != IsViewable) return refuse("the window is not on the screen");
    g_captureError = 0;
    XErrorHandler previous = XSetErrorHandler(NoteError);
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    XSync(display, False);
    XSetErrorHandler(previous);
    if (!image || g_captureError) {
        if (image) XDestroyImage(image);
        return refuse("the server refused to read the window (is it whole on the screen?)");
    }
    std::unique_ptr<Bitmap> picture = Bitmap::Create(image->width, image->height);
    if (picture) {
        for (int y = 0; y < image->height; ++y) {
            std::uint32_t* row = picture->MutableRow(y);
            for (int x = 0; x < image->width; ++x) {
                const unsigned long pixel = XGetPixel(image, x, y);
                row[x] = (Channel(pixel, image->red_mask) << 16) | (Channel(pixel, image->green_mask) << 8) |
                         Channel(pixel, image->blue_mask);
            }
        }
    }
    XDestroyImage(image);
    if (!picture) return refuse("the window is too large to read");
    return picture;
}

} // namespace plat
