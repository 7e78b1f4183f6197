// GUID names, the temporary and module folders, and 8-bit text in code page 936.
#pragma once
#include "platform/base/strings.h"

using plat::String;

// A fresh GUID string: 36 lower-case hexadecimal characters without braces.
String NewGuidString();
// True for text of the GUID string's form: hexadecimal digits (either case) in the groups
// 8-4-4-4-12, without braces. Names read from a file are taken only in this form.
bool IsGuidString(plat::StringView text);
// The private temporary folder, with its trailing '/'.
String GetTempDir();
// The folder of the control's own library, without a trailing '/'.
String GetModuleDir();

// Decodes n bytes of code page 936 into the wide buffer, which holds n characters.
// The buffer is zeroed first and the result is always terminated: a result of n or
// more characters is cut to n - 1. Returns the number of characters written.
int MultiByte936ToWide(const char* bytes, char16_t* wide, int n);
// Encodes the text into the n-byte buffer, zeroed first. The result is always
// terminated: one that would fill the buffer is cut, on a whole character, to fit n - 1
// bytes. Characters code page 936 lacks become '?'. Returns the number of bytes written.
int WideToMultiByte936(plat::StringView text, char* buffer, int n);
// The same as WideToMultiByte936, going through a copy of the text in the work buffer
// (which holds at least text.size() + 1 characters).
int CopyWideToMultiByte936(const String& text, char16_t* work, char* buffer, int n);
