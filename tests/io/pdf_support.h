// Helpers of the PDF tests: JPEG data made by hand, files in the process's temporary
// folder, the PDF tools run as programs.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "platform/base/strings.h"
#include "platform/base/system.h"
#include "tests/support/test_support.h"
#include "tests/io/synthetic_page.h"

namespace pdftest {

using testsupport::Bytes;

// A folder of this process's files, inside its private temporary folder.
inline std::string Dir(const std::string& name = "pdf")
{
    std::string d = plat::TempDirUtf8() + name + "/";
    ::mkdir(d.c_str(), 0700);
    return d;
}

inline plat::String U(const std::string& utf8) { return plat::Utf8ToUtf16(utf8); }

using testsupport::ReadFile;
using testsupport::WriteFile;

inline std::string Text(const Bytes& b) { return std::string(b.begin(), b.end()); }

// Names of the files in a folder.
inline std::vector<std::string> List(const std::string& folder)
{
    std::vector<std::string> names;
    if (DIR* d = ::opendir(folder.c_str())) {
        while (dirent* e = ::readdir(d)) {
            std::string n = e->d_name;
            if (n != "." && n != "..") names.push_back(n);
        }
        ::closedir(d);
    }
    return names;
}

// Runs a command line; its standard output and exit status.
inline int Run(const std::string& command, std::string* out = nullptr)
{
    std::FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return -1;
    std::string data;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) data.append(buffer, n);
    int status = ::pclose(pipe);
    if (out) *out = std::move(data);
    return status;
}

inline std::string Quote(const std::string& path) { return "'" + path + "'"; }

// A JPEG made of its markers only: start of image, an APP0 segment, a frame, a scan
// header with a few bytes of entropy data, end of image. Enough for the header scan and
// the writer, which copies the bytes as they are.
inline Bytes JpegMarkers(int frameMarker, int width, int height, int components, int precision = 8)
{
    Bytes b = {0xFF, 0xD8};
    // APP0 "JFIF" segment of 16 bytes.
    Bytes app0 = {0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0};
    b.insert(b.end(), app0.begin(), app0.end());
    const int length = 8 + 3 * components;
    Bytes frame = {0xFF, static_cast<std::uint8_t>(frameMarker), static_cast<std::uint8_t>(length >> 8),
                   static_cast<std::uint8_t>(length), static_cast<std::uint8_t>(precision),
                   static_cast<std::uint8_t>(height >> 8), static_cast<std::uint8_t>(height),
                   static_cast<std::uint8_t>(width >> 8), static_cast<std::uint8_t>(width),
                   static_cast<std::uint8_t>(components)};
    for (int c = 0; c < components; ++c) frame.insert(frame.end(), {static_cast<std::uint8_t>(c + 1), 0x11, 0});
    b.insert(b.end(), frame.begin(), frame.end());
    Bytes scan = {0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x3F, 0x00, 0x12, 0x34, 0xFF, 0xD9};
    b.insert(b.end(), scan.begin(), scan.end());
    return b;
}

// Runs a PDF tool with the arguments, expecting success; returns what it printed.
inline std::string Tool(const char* program, const std::string& args)
{
    std::string out;
    EXPECT_EQ(Run(std::string(program) + " " + args, &out), 0) << program << " " << args << "\n" << out;
    return out;
}

// The value of one "Name: value" line of pdfinfo.
inline std::string InfoField(const std::string& info, const std::string& name)
{
    std::istringstream lines(info);
    for (std::string line; std::getline(lines, line);) {
        if (line.compare(0, name.size() + 1, name + ":") != 0) continue;
        const size_t value = line.find_first_not_of(' ', name.size() + 1);
        return value == std::string::npos ? std::string() : line.substr(value);
    }
    return std::string();
}

} // namespace pdftest
