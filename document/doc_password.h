// Document passwords: the digest kept in the file header, and the rules of the password
// dialogs. The digest is MD5 of a 16-byte block made of the header's salt and the
// password's first bytes; files already written depend on this exact block.
#pragma once
#include <array>
#include <cstdint>
#include <functional>

#include "platform/base/strings.h"

using PasswordDigest = std::array<std::uint8_t, 16>;

// The password edits take at most this many characters.
constexpr int kMaxPasswordLength = 14;

// The digested block: two salt characters ((s / 94) mod 94 + 32 and s mod 94 + 32, with
// the salt read as unsigned 16-bit), then the password's UTF-16LE bytes up to the first
// zero byte; zero after. Only what fits in the 16 bytes counts.
std::array<std::uint8_t, 16> PasswordBlock(std::int16_t salt, plat::StringView password);
PasswordDigest DigestPassword(std::int16_t salt, plat::StringView password);
// All zero: no password.
bool IsNoPassword(const PasswordDigest& digest);

// The protect dialog accepts its entries only when the first is not empty and the second
// repeats it.
bool IsProtectEntryAcceptable(plat::StringView password, plat::StringView confirmation);

// The password asked for when a protected file is opened. The frame installs the password
// dialog here (a test installs its own answer); without a prompt, and whenever the dialog
// is closed without an entry, the password is empty.
using PasswordPrompt = std::function<plat::String()>;
void SetPasswordPrompt(PasswordPrompt prompt);
plat::String PromptPassword();
