// Reads arbitrary bytes as a sequence of archive values. Anything may be refused with the
// archive's error; nothing may crash, leak or read out of bounds.
#include <cstddef>
#include <cstdint>

#include "platform/file/archive.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    plat::MemFile mem(std::vector<std::uint8_t>(data + 1, data + size));
    plat::Archive ar(mem, plat::Archive::kLoad);
    std::uint8_t plan = data[0];
    try {
        for (int i = 0; i < 64; ++i) {
            switch ((plan >> (i % 4) * 2) & 3) {
            case 0: ar.ReadString(); break;
            case 1: ar.ReadU32(); break;
            case 2: ar.ReadU16(); break;
            default: ar.ReadDouble(); break;
            }
        }
    } catch (const plat::ArchiveException&) {
    }
    return 0;
}
