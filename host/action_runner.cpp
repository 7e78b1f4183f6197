#include "host/action_runner.h"

#include <algorithm>
#include <cctype>
#include <span>

#include "host/member_caller.h"
#include "platform/ui/keyboard.h"

namespace host {

namespace {

bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

struct NamedValue {
    const char* name;
    int value;
};

constexpr NamedValue kKeyNames[] = {
    {"Enter", plat::kVkReturn},   {"Return", plat::kVkReturn},   {"Tab", plat::kVkTab},
    {"Esc", plat::kVkEscape},     {"Escape", plat::kVkEscape},   {"Backspace", plat::kVkBack},
    {"Delete", plat::kVkDelete},  {"Del", plat::kVkDelete},      {"Insert", plat::kVkInsert},
    {"Ins", plat::kVkInsert},     {"Space", plat::kVkSpace},     {"Left", plat::kVkLeft},
    {"Right", plat::kVkRight},    {"Up", plat::kVkUp},           {"Down", plat::kVkDown},
    {"Home", plat::kVkHome},      {"End", plat::kVkEnd},         {"PageUp", plat::kVkPrior},
    {"PgUp", plat::kVkPrior},     {"PageDown", plat::kVkNext},   {"PgDn", plat::kVkNext},
};

constexpr NamedValue kModifierNames[] = {
    {"Ctrl", plat::kModCtrl}, {"Control", plat::kModCtrl}, {"Shift", plat::kModShift}, {"Alt", plat::kModAlt},
};

// The buttons that end a dialog or message box, by the names a script gives them.
constexpr NamedValue kAnswerNames[] = {
    {"ok", 1}, {"cancel", 2}, {"abort", 3}, {"retry", 4}, {"ignore", 5}, {"yes", 6}, {"no", 7},
};

const NamedValue* Find(std::span<const NamedValue> table, std::string_view name)
{
    for (const NamedValue& entry : table)
        if (SameName(entry.name, name)) return &entry;
    return nullptr;
}

// A key without modifiers: a name, F1-F12, a letter or a digit.
bool ReadPlainKey(std::string_view name, int* key)
{
    if (const NamedValue* entry = Find(kKeyNames, name)) {
        *key = entry->value;
        return true;
    }
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
        *key = std::toupper(static_cast<unsigned char>(name[0]));
        return true;
    }
    if (name.size() >= 2 && name.size() <= 3 && (name[0] == 'F' || name[0] == 'f')) {
        int n = 0;
        for (char c : name.substr(1)) {
            if (!std::isdigit(static_cast<unsigned char>(c))) return false;
            n = n * 10 + (c - '0');
        }
        if (n < 1 || n > 12 || name[1] == '0') return false;
        *key = plat::kVkF1 + n - 1;
        return true;
    }
    return false;
}

std::string Word(const ScriptArg& arg) { return plat::Utf16ToUtf8(arg.text); }

bool ReadNumber(const ScriptArg& arg, std::int64_t low, std::int64_t high, std::int64_t* out)
{
    if (arg.kind != ScriptArg::Kind::kNumber || arg.number < low || arg.number > high) return false;
    *out = arg.number;
    return true;
}

constexpr std::int64_t kMaxCoordinate = 32767;
// A day, the most one !clock line moves the clock on.
constexpr std::int64_t kMaxClockStep = 24 * 60 * 60 * 1000;

} // namespace

bool ReadKeyName(std::string_view text, KeyStroke* key)
{
    KeyStroke stroke;
    std::size_t start = 0;
    for (;;) {
        const std::size_t plus = text.find('+', start);
        // A '+' at the very end is the key itself only after another '+': "Ctrl++" is not
        // a key of ours, so a trailing '+' is always refused.
        const std::string_view part = text.substr(start, plus == std::string_view::npos ? plus : plus - start);
        if (plus == std::string_view::npos) {
            if (!ReadPlainKey(part, &stroke.virtualKey)) return false;
            *key = stroke;
            return true;
        }
        const NamedValue* modifier = Find(kModifierNames, part);
        if (!modifier || (stroke.modifiers & static_cast<unsigned>(modifier->value))) return false;
        stroke.modifiers |= static_cast<unsigned>(modifier->value);
        start = plus + 1;
    }
}

bool ActionRunner::Prepare(const ScriptLine& line, PreparedAction* action, std::string* reason) const
{
    *action = PreparedAction();
    action->name = line.name;
    const std::vector<ScriptArg>& args = line.args;
    auto refuse = [&](const std::string& why) {
        *reason = "!" + line.name + ": " + why;
        return false;
    };
    const std::string& name = line.name;
    if (SameName(name, "help")) {
        action->kind = PreparedAction::Kind::kHelp;
        return args.empty() || refuse("takes no arguments");
    }
    if (SameName(name, "type")) {
        action->kind = PreparedAction::Kind::kType;
        if (args.size() != 1 || args[0].kind != ScriptArg::Kind::kString)
            return refuse("takes one string in double quotes");
        action->text = args[0].text;
        return true;
    }
    if (SameName(name, "key")) {
        action->kind = PreparedAction::Kind::kKey;
        if (args.empty()) return refuse("needs at least one key");
        for (const ScriptArg& arg : args) {
            KeyStroke key;
            if (arg.kind != ScriptArg::Kind::kWord && arg.kind != ScriptArg::Kind::kNumber)
                return refuse("a key is written bare, as in Ctrl+B");
            if (!ReadKeyName(Word(arg), &key)) return refuse("no key named " + Word(arg));
            action->keys.push_back(key);
        }
        return true;
    }
    if (SameName(name, "click")) {
        action->kind = PreparedAction::Kind::kClick;
        std::size_t i = 0;
        for (; i < args.size() && args[i].kind == ScriptArg::Kind::kWord; ++i) {
            const std::string word = Word(args[i]);
            if (SameName(word, "left")) {
                action->button = MouseButton::kLeft;
            } else if (SameName(word, "right")) {
                action->button = MouseButton::kRight;
            } else if (SameName(word, "double")) {
                action->count = ClickCount::kDouble;
            } else {
                return refuse("unknown click " + word + " (left, right or double)");
            }
        }
        std::int64_t x = 0, y = 0;
        if (args.size() != i + 2 || !ReadNumber(args[i], 0, kMaxCoordinate, &x) ||
            !ReadNumber(args[i + 1], 0, kMaxCoordinate, &y))
            return refuse("needs the point X Y, whole numbers from 0");
        action->x = static_cast<int>(x);
        action->y = static_cast<int>(y);
        return true;
    }
    if (SameName(name, "drag")) {
        action->kind = PreparedAction::Kind::kDrag;
        std::int64_t v[4] = {};
        if (args.size() != 4) return refuse("needs the points X1 Y1 X2 Y2, whole numbers from 0");
        for (int k = 0; k < 4; ++k)
            if (!ReadNumber(args[static_cast<std::size_t>(k)], 0, kMaxCoordinate, &v[k]))
                return refuse("needs the points X1 Y1 X2 Y2, whole numbers from 0");
        action->x = static_cast<int>(v[0]);
        action->y = static_cast<int>(v[1]);
        action->toX = static_cast<int>(v[2]);
        action->toY = static_cast<int>(v[3]);
        return true;
    }
    if (SameName(name, "clock")) {
        action->kind = PreparedAction::Kind::kClock;
        if (args.size() != 1 || !ReadNumber(args[0], 0, kMaxClockStep, &action->ms))
            return refuse("takes the milliseconds to move on, from 0 to " + std::to_string(kMaxClockStep));
        return true;
    }
    if (SameName(name, "answer")) {
        action->kind = PreparedAction::Kind::kAnswer;
        if (args.empty()) return refuse("needs the button: ok, cancel, yes, no, abort, retry, ignore or a number");
        std::int64_t id = 0;
        if (args[0].kind == ScriptArg::Kind::kWord) {
            const NamedValue* button = Find(kAnswerNames, Word(args[0]));
            if (!button) return refuse("no button named " + Word(args[0]));
            id = button->value;
        } else if (!ReadNumber(args[0], 1, 0xFFFF, &id)) {
            return refuse("a button number goes from 1 to 65535");
        }
        action->answer = static_cast<int>(id);
        for (std::size_t i = 1; i < args.size(); ++i) {
            if (args[i].kind != ScriptArg::Kind::kString) return refuse("the texts for the dialog go in double quotes");
            action->texts.push_back(args[i].text);
        }
        return true;
    }
    if (SameName(name, "png")) {
        action->kind = PreparedAction::Kind::kPng;
        if (args.size() != 1 || args[0].kind == ScriptArg::Kind::kNumber || args[0].text.empty())
            return refuse("takes the path of the picture to write");
        action->text = args[0].text;
        return true;
    }
    if (SameName(name, "close") || SameName(name, "quit")) {
        action->kind = PreparedAction::Kind::kClose;
        return args.empty() || refuse("takes no arguments");
    }
    *reason = "no action named !" + line.name + " (!help lists them)";
    return false;
}

std::string ActionRunner::Run(const PreparedAction& action) const
{
    plat::HRESULT hr = plat::S_OK;
    switch (action.kind) {
    case PreparedAction::Kind::kHelp: return Help();
    case PreparedAction::Kind::kType: hr = m_target.TypeText(action.text); break;
    case PreparedAction::Kind::kKey:
        for (const KeyStroke& key : action.keys) {
            hr = m_target.PressKey(key.virtualKey, key.modifiers);
            if (hr != plat::S_OK) break;
            // Each key is handled before the next is pressed, as a user's would be.
            m_target.Settle();
        }
        break;
    case PreparedAction::Kind::kClose: hr = m_target.CloseWindow(); break;
    case PreparedAction::Kind::kClick: hr = m_target.Click(action.button, action.count, action.x, action.y); break;
    case PreparedAction::Kind::kDrag: hr = m_target.Drag(action.x, action.y, action.toX, action.toY); break;
    case PreparedAction::Kind::kClock: hr = m_target.AdvanceClock(action.ms); break;
    case PreparedAction::Kind::kAnswer: hr = m_target.AnswerNextModal(action.answer, action.texts); break;
    case PreparedAction::Kind::kPng: {
        m_target.Settle();
        const std::unique_ptr<plat::Bitmap> picture = m_target.Picture();
        hr = picture && picture->SavePng(action.text) ? plat::S_OK : plat::E_FAIL;
        break;
    }
    }
    // S_FALSE: the input went nowhere (no window had the focus or was under the point).
    const std::string result = plat::Failed(hr) ? FormatError(hr) : hr == plat::S_FALSE ? "IGNORED" : "OK";
    return "!" + action.name + " => " + result + "\n";
}

std::string ActionRunner::Help()
{
    return "!help                      lists the actions\n"
           "!type \"TEXT\"               types the text, as the keyboard's text input would\n"
           "!key KEY ...               presses each key in turn: Ctrl+B, Shift+End, Alt+F4, Enter, Tab, Esc,\n"
           "                           Backspace, Delete, Insert, Space, Left, Right, Up, Down, Home, End,\n"
           "                           PageUp, PageDown, F1-F12, A-Z, 0-9 (modifiers Ctrl, Shift, Alt)\n"
           "!click [left|right] [double] X Y\n"
           "                           clicks the button (left unless named) once, or twice, at X Y\n"
           "!drag X1 Y1 X2 Y2          presses the left button at X1 Y1, moves to X2 Y2 and releases it\n"
           "                           there (without a window only)\n"
           "!clock MS                  moves the clock on by MS milliseconds, running the timers due\n"
           "                           (in a real window: lets MS milliseconds pass with the loop running)\n"
           "!answer BUTTON [\"TEXT\" ...] answers the next dialog, message box or popup menu: the texts\n"
           "                           go into its edit boxes in order (a drop-down list picks the row of\n"
           "                           its text), then BUTTON ends it: ok, cancel,\n"
           "                           yes, no, abort, retry, ignore, or a number (a button's id, a\n"
           "                           menu's command)\n"
           "!png PATH                  writes a PNG picture of the control's window (in a real window:\n"
           "                           a screenshot of it as the display shows it)\n"
           "!close, !quit              closes the window as its user would; `window` then ends once the\n"
           "                           script has run (without a window: nothing to close)\n"
           "Each action but !help prints one line: \"!name => OK\"; \"!name => IGNORED\" when the input\n"
           "went nowhere (no window had the focus, none was under the point); \"!name => ERROR 0xHHHHHHHH\"\n"
           "when the control refused it or the picture could not be written.\n";
}

} // namespace host
