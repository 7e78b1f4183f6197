// The host's own actions, the script lines that start with '!': typing, keys, clicks, the
// clock, answers to dialogs, pictures of the window. Each is read and checked whole before
// it runs, and runs on a HostTarget, so the same actions drive a headless control and one
// in a real window.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "host/host_target.h"
#include "host/script_reader.h"

namespace host {

struct KeyStroke {
    int virtualKey = 0;
    unsigned modifiers = 0; // plat::KeyModifier bits
};

// A key as written in a script ("Ctrl+B", "Shift+End", "F5", "Enter"); false when it is
// not one.
bool ReadKeyName(std::string_view text, KeyStroke* key);

struct PreparedAction {
    enum class Kind { kHelp, kType, kKey, kClick, kDrag, kClock, kAnswer, kPng, kClose };
    Kind kind = Kind::kHelp;
    std::string name;
    plat::String text; // kType: the text; kPng: the path
    std::vector<KeyStroke> keys;
    MouseButton button = MouseButton::kLeft;
    ClickCount count = ClickCount::kSingle;
    int x = 0, y = 0;
    int toX = 0, toY = 0; // kDrag: where the button is released
    std::int64_t ms = 0;
    int answer = 0;
    std::vector<plat::String> texts; // kAnswer: what goes into the dialog's edit boxes
};

class ActionRunner {
public:
    explicit ActionRunner(HostTarget& target) : m_target(target) {}

    // Checks the line's action; false with the reason when the line cannot be run.
    bool Prepare(const ScriptLine& line, PreparedAction* action, std::string* reason) const;
    // Runs the action and returns what it prints: "!name => OK", "!name => ERROR 0x...",
    // or, for !help, the list of actions.
    std::string Run(const PreparedAction& action) const;

    // The list !help prints, one action a line.
    static std::string Help();

private:
    HostTarget& m_target;
};

} // namespace host
