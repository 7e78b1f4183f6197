#include "document/doc_password.h"

#include <mutex>

#include "document/md5.h"

namespace {

std::mutex g_promptLock;
PasswordPrompt g_prompt;

} // namespace

std::array<std::uint8_t, 16> PasswordBlock(std::int16_t salt, plat::StringView password)
{
    std::array<std::uint8_t, 16> block{};
    const unsigned s = static_cast<std::uint16_t>(salt);
    block[0] = static_cast<std::uint8_t>((s / 94) % 94 + 32);
    block[1] = static_cast<std::uint8_t>(s % 94 + 32);
    // Bytes beyond the block do not change the digest, so a password of any length is
    // copied only as far as the block goes.
    size_t at = 2;
    for (char16_t c : password) {
        const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(c & 0xFF), static_cast<std::uint8_t>(c >> 8)};
        for (std::uint8_t b : bytes) {
            if (b == 0 || at == block.size()) return block;
            block[at++] = b;
        }
    }
    return block;
}

PasswordDigest DigestPassword(std::int16_t salt, plat::StringView password)
{
    const std::array<std::uint8_t, 16> block = PasswordBlock(salt, password);
    return CMD5::Of(block.data(), block.size());
}

bool IsNoPassword(const PasswordDigest& digest)
{
    for (std::uint8_t b : digest)
        if (b != 0) return false;
    return true;
}

bool IsProtectEntryAcceptable(plat::StringView password, plat::StringView confirmation)
{
    return !password.empty() && password == confirmation;
}

void SetPasswordPrompt(PasswordPrompt prompt)
{
    std::lock_guard<std::mutex> l(g_promptLock);
    g_prompt = std::move(prompt);
}

plat::String PromptPassword()
{
    PasswordPrompt prompt;
    {
        std::lock_guard<std::mutex> l(g_promptLock);
        prompt = g_prompt;
    }
    return prompt ? prompt() : plat::String();
}
