#include "resources/res_accelerators.h"

namespace {

using plat::kFControl;
using plat::kFShift;
using plat::kFVirtKey;

// Edit, format and find commands of the main frame.
const plat::AcceleratorTable kMainAccelerators{
    {kFVirtKey | kFControl, 'A', 35011},  // select all
    {kFVirtKey | kFControl, 'B', 35065},  // bold
    {kFVirtKey | kFControl, 'C', 57634},  // copy
    {kFVirtKey | kFControl, 'E', 35083},  // centre
    {kFVirtKey | kFControl, 'F', 57636},  // find
    {kFVirtKey | kFControl, 'H', 57641},  // replace
    {kFVirtKey | kFControl, 'I', 35066},  // italic
    {kFVirtKey | kFControl, 'L', 35082},  // left
    {kFVirtKey | kFControl, 'P', 57607},  // print
    {kFVirtKey | kFControl, 'R', 35084},  // right
    {kFVirtKey | kFControl, 'U', 35068},  // underline
    {kFVirtKey | kFControl, 'V', 57637},  // paste
    {kFVirtKey | kFShift, plat::kVkDelete, 57635},   // cut
    {kFVirtKey | kFControl, plat::kVkInsert, 57634}, // copy
    {kFVirtKey | kFShift, plat::kVkInsert, 57637},   // paste
    {kFVirtKey | kFControl, 'X', 57635},  // cut
    {kFVirtKey | kFControl, 'Y', 57644},  // redo
    {kFVirtKey | kFControl, 'Z', 57643},  // undo
};

} // namespace

const plat::AcceleratorTable* FindAcceleratorTable(plat::StringView name)
{
    if (name == kMainAcceleratorsName) return &kMainAccelerators;
    return nullptr;
}
