// Services of the process: time, GUIDs, random numbers, the private temporary folder and
// the module folder. Time, GUIDs and random numbers come from sources a test can replace,
// so that stamped records and file headers can be compared byte for byte.
#pragma once
#include <cstdint>
#include <ctime>
#include <functional>
#include <string_view>
#include <sys/types.h>

#include "platform/base/strings.h"

namespace plat {

// The process's one clock, in milliseconds since the epoch: time stamps, timers, autosave
// and the revision tip all read it. Tests replace it, or stop it and advance it by hand.
std::int64_t NowMs();
// Seconds since the epoch, derived from the clock (as the runtime's time() gives them).
std::int64_t Now();
using ClockSource = std::function<std::int64_t()>; // milliseconds
// Replaces the clock; an empty function restores the real one.
void SetClockSource(ClockSource source);
// A clock that stands at the time given (milliseconds) until it is advanced by hand.
void SetManualClock(std::int64_t ms);
// Moves the manual clock on; false (nothing moves) when the clock is not a manual one.
// Timers that fall due are run by plat::AdvanceClock (platform/ui/timer.h).
bool AdvanceManualClock(std::int64_t ms);

// A fresh GUID as 36 lower-case hexadecimal characters in the groups 8-4-4-4-12.
String NewGuid();
using GuidSource = std::function<String()>;
void SetGuidSource(GuidSource source);

// The runtime's pseudo-random generator: Seed() then Next() in 0..32767.
// The default generator is the classic linear congruential one, so that a given seed
// always yields the same sequence.
void RandomSeed(std::uint32_t seed);
int RandomNext();
using RandomSource = std::function<int()>;
// Replaces Next(); an empty function restores the generator.
void SetRandomSource(RandomSource source);

// The private temporary folder of this process: made on first use under $TMPDIR (or /tmp)
// with mode 0700, ending in '/', removed with everything in it when the process exits.
String TempDir();
std::string TempDirUtf8();
// Makes a private temporary folder "quiln-PID-XXXXXX" (mode 0700) under `base` and returns
// it with a trailing '/'; throws std::runtime_error when it cannot. Folders that processes
// now gone left there (killed before their exit handlers ran) are removed first: only
// ours by name, owner and mode, never a link.
std::string MakePrivateTempDir(const std::string& base);

// The PID a run of decimal digits names, or 0 when it is not one.
pid_t PidFromDigits(std::string_view digits);
// Whether no process of this PID exists any more, so that what it left may be removed.
// Another user's live process is not gone.
bool ProcessIsGone(pid_t pid);

// The user's folders, as the XDG base directories name them: $VARIABLE when it holds an
// absolute path, else the home folder ($HOME, else the password entry's) joined with
// `fallback` (".config", ".local/share"). No trailing '/'.
std::string XdgBaseDir(const char* variable, const char* fallback);
// Where the library keeps the user's own data when it cannot keep it beside itself:
// $XDG_DATA_HOME/quiln, by default ~/.local/share/quiln.
std::string UserDataDir();
// Makes the folder and any missing folder above it, each with mode 0700 (an existing one
// keeps its mode). True when the folder exists afterwards.
bool MakeFolders(const std::string& dir);
// Whether this process may make files in the folder (its effective ids, and a file system
// mounted read-only counts as unwritable).
bool FolderIsWritable(const std::string& dir);

// The folder (without a trailing '/') of the shared library or program that holds the
// given address; by default the one that holds this platform code.
String ModuleDir(const void* addressInModule = nullptr);
// The full path of that shared library or program.
String ModulePath(const void* addressInModule = nullptr);

} // namespace plat
