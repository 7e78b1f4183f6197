#include "media/external_player.h"

#include <chrono>
#include <unistd.h>

#include "document/doc_frame.h"
#include "document/names.h"
#include "platform/base/process.h"
#include "platform/com/registry.h"
#include "platform/ui/timer.h"

const char16_t CExternalPlayer::kRequestKey[] = u"SoftWare\\Oakvale\\Quiln";
const char CExternalPlayer::kCompanionName[] = "QuilnReal";

namespace {

plat::String& FolderOverride()
{
    static plat::String folder;
    return folder;
}

plat::String Cut(const plat::String& path)
{
    return path.size() > CExternalPlayer::kMaxRequestPath ? path.substr(0, CExternalPlayer::kMaxRequestPath) : path;
}

} // namespace

plat::String MediaProgramFolder()
{
    return FolderOverride().empty() ? GetModuleDir() : FolderOverride();
}

void SetMediaProgramFolder(const plat::String& folder)
{
    FolderOverride() = folder;
}

void SleepOnClock(std::int64_t ms)
{
    if (plat::AdvanceClock(ms)) return;
    ::usleep(static_cast<useconds_t>(ms * 1000));
}

plat::String CExternalPlayer::CompanionPath()
{
    return MediaProgramFolder() + u"/" + plat::Utf8ToUtf16(kCompanionName);
}

bool CExternalPlayer::WriteRequest(std::uint32_t mode, const plat::String& realFile, const plat::String& jpgFile)
{
    using plat::RegValue;
    const std::pair<const char16_t*, RegValue> values[] = {
        {u"PlayMode", RegValue::Dword(mode)},
        {u"RealFile", RegValue::Text(Cut(realFile))},
        {u"JpgFile", RegValue::Text(Cut(jpgFile))},
        {u"PlayState", RegValue::Dword(kNotReady)},
    };
    for (const auto& [name, value] : values)
        if (plat::SetValue(plat::Hive::kCurrentUser, kRequestKey, name, value) != plat::RegStatus::kOk) return false;
    return true;
}

std::uint32_t CExternalPlayer::ReadPlayState()
{
    plat::RegValue value;
    if (plat::QueryValue(plat::Hive::kCurrentUser, kRequestKey, u"PlayState", &value) != plat::RegStatus::kOk)
        return 0;
    return value.type == plat::RegType::kDword ? value.dword : 0;
}

int CExternalPlayer::LaunchCompanion(const plat::String& /*mediaPath*/)
{
    plat::EndProgramsNamed(kCompanionName);
    plat::StartProgram({plat::Utf16ToUtf8(CompanionPath())});
    return 1;
}

bool CExternalPlayer::WaitForPoster(CDocFrame* frame, int* polls)
{
    int budget = kPosterBudget;
    int reads = 0;
    bool ready = false;
    if (frame) frame->ShowWaitCursor(true);
    for (;;) {
        SleepOnClock(kPollMs);
        ++reads;
        const std::uint32_t state = ReadPlayState();
        if (state == kPosterReady) {
            ready = true;
            break;
        }
        if (state == kWorking) {
            budget = 0;
        } else if (state == kNotReady) {
            if (--budget < 0) break;
        } else if (--budget < 0) {
            // A state the companion should never leave: counted as not ready, so the
            // wait still ends.
            break;
        }
    }
    if (frame) frame->ShowWaitCursor(false);
    if (polls) *polls = reads;
    return ready;
}

void CExternalPlayer::WaitForCompanionExit()
{
    SleepOnClock(kPollMs);
    for (const plat::ChildProcess& child : plat::ListChildProcesses())
        if (child.program == kCompanionName) plat::WaitProgram(child.pid, std::chrono::hours(24));
}

bool CExternalPlayer::RunProgram(const plat::String& program, const plat::String& argument, bool wait)
{
    const std::string name = plat::Utf16ToUtf8(program);
    if (name.find('/') == std::string::npos) plat::EndProgramsNamed(name);
    const pid_t pid = plat::StartProgram({name, plat::Utf16ToUtf8(argument)});
    if (pid < 0) return false;
    if (wait) plat::WaitProgram(pid, std::chrono::hours(24));
    return true;
}
