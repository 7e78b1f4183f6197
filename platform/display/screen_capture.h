// Reading a window's content back from the X server.
#pragma once
#include <memory>
#include <string>

struct _XDisplay;

namespace plat {

class Bitmap;

// The window's content as the server has it (0x00RRGGBB); null, with the reason in *error,
// when it cannot be read (the window is not viewable, or not whole on the screen).
std::unique_ptr<Bitmap> CaptureX11Window(_XDisplay* display, unsigned long window, std::string* error);

} // namespace plat
