// The hand-off to the companion player, the outside program that plays streaming clips
// and grabs their poster frames: a request of four values in the current user's registry,
// the companion "QuilnReal" started from the control's folder, and the poster wait that
// polls the state the companion answers. The same class runs the outside editors.
//
// Only processes this process started are ever ended (plat::EndProgramsNamed): a program
// of the same name that the user runs is left alone. When the companion cannot be started
// the media is not handed to the desktop's default program (nothing in a document is run);
// a poster request then waits out its budget.
#pragma once
#include <cstdint>

#include "platform/base/strings.h"

class CDocFrame;

// The folder the companion and the outside editor library are looked for in: the
// control's own folder unless a test set another ("" puts the control's folder back).
plat::String MediaProgramFolder();
void SetMediaProgramFolder(const plat::String& folder);

class CExternalPlayer {
public:
    // "SoftWare\\Oakvale\\Quiln" under the current user's hive.
    static const char16_t kRequestKey[];
    static const char kCompanionName[]; // "QuilnReal"
    // The longest path a request carries; longer ones are cut.
    static constexpr std::size_t kMaxRequestPath = 1023;
    enum PlayMode : std::uint32_t { kPoster = 0, kPlay = 1 };
    enum PlayState : std::uint32_t { kNotReady = 0, kPosterReady = 1, kWorking = 2 };
    // Polls of the poster wait that may answer 0 before it gives up (six reads in all).
    static constexpr int kPosterBudget = 5;
    static constexpr int kPollMs = 200;

    // Writes "PlayMode", "RealFile", "JpgFile" and "PlayState" = 0 in that order; false at
    // the first that fails.
    bool WriteRequest(std::uint32_t mode, const plat::String& realFile, const plat::String& jpgFile);
    // "PlayState"; 0 when it cannot be read.
    std::uint32_t ReadPlayState();
    // Ends the companions this process started, then starts a new one without arguments;
    // 1 (the caller goes on whether it started or not).
    int LaunchCompanion(const plat::String& mediaPath);
    // Polls the state every 200 ms on the event loop's clock, with the wait cursor on the
    // frame (when given): 1 ends the wait with the poster ready, 2 keeps waiting, 0 uses
    // up the budget. True when the poster is ready; `polls` counts the reads.
    bool WaitForPoster(CDocFrame* frame, int* polls = nullptr);
    // Returns once no companion this process started runs any more.
    void WaitForCompanionExit();
    // Ends the running programs of that name this process started (a name with a folder
    // matches none), starts the program with the one argument and, with the wait flag,
    // waits until it ends. False when it could not be started.
    bool RunProgram(const plat::String& program, const plat::String& argument, bool wait);

    // The companion's path: the program folder joined with "QuilnReal".
    static plat::String CompanionPath();
};

// Sleeps on the event loop's clock: a manual clock is advanced by hand (its due timers
// run), the real one is waited on.
void SleepOnClock(std::int64_t ms);
