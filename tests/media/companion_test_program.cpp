// The tests' companion player: for a poster request it copies the JPEG named by
// $QUILN_TEST_POSTER to "JpgFile" and sets "PlayState" to 1; for a play request it only
// records that it ran by setting "PlayState" to 3.
#include <filesystem>

#include "platform/com/registry.h"

int main()
{
    const char16_t* key = u"SoftWare\\Oakvale\\Quiln";
    plat::RegValue mode, jpg;
    if (plat::QueryValue(plat::Hive::kCurrentUser, key, u"PlayMode", &mode) != plat::RegStatus::kOk) return 1;
    if (mode.dword == 1) return plat::SetValue(plat::Hive::kCurrentUser, key, u"PlayState", plat::RegValue::Dword(3)) ==
                                        plat::RegStatus::kOk
                                    ? 0
                                    : 1;
    if (plat::QueryValue(plat::Hive::kCurrentUser, key, u"JpgFile", &jpg) != plat::RegStatus::kOk) return 1;
    const char* poster = std::getenv("QUILN_TEST_POSTER");
    std::error_code error;
    if (!poster || !std::filesystem::copy_file(poster, plat::Utf16ToUtf8(jpg.text),
                                               std::filesystem::copy_options::overwrite_existing, error))
        return 1;
    return plat::SetValue(plat::Hive::kCurrentUser, key, u"PlayState", plat::RegValue::Dword(1)) == plat::RegStatus::kOk
               ? 0
               : 1;
}
