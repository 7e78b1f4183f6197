// The tests' outside editor library: every question is answered yes and each edit
// appends its name to the file it is given, so a test sees which function ran. Built once
// with all eight exports and once without "EditVideo".
#include <cstdio>
#include <string>

namespace {

std::string Narrow(const char16_t* text)
{
    std::string out;
    for (; *text; ++text) out += static_cast<char>(*text);
    return out;
}

int Append(const char16_t* path, const char* what)
{
    std::FILE* f = std::fopen(Narrow(path).c_str(), "ab");
    if (!f) return 0;
    std::fputs(what, f);
    std::fclose(f);
    return 1;
}

} // namespace

extern "C" {
__attribute__((visibility("default"))) int CanEditImage(const char16_t*) { return 1; }
__attribute__((visibility("default"))) int EditImage(const char16_t* path) { return Append(path, "EditImage"); }
__attribute__((visibility("default"))) int CanEditImageAdv(const char16_t*) { return 1; }
__attribute__((visibility("default"))) int EditImageAdv(const char16_t* path) { return Append(path, "EditImageAdv"); }
__attribute__((visibility("default"))) int CanEditAudio(const char16_t*) { return 1; }
__attribute__((visibility("default"))) int EditAudio(const char16_t* path) { return Append(path, "EditAudio"); }
__attribute__((visibility("default"))) int CanEditVideo(const char16_t*) { return 1; }
#ifndef MORVEX_SEVEN_EXPORTS
__attribute__((visibility("default"))) int EditVideo(const char16_t* path) { return Append(path, "EditVideo"); }
#endif
}
