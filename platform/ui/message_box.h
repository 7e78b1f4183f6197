// Message boxes, headless: every box is recorded, and the answer comes from a handler that
// the host (or a test) installs. Without a handler a box takes its default button at once,
// so nothing ever waits for a user who is not there.
#pragma once
#include <functional>
#include <vector>

#include "platform/base/strings.h"

namespace plat {

// Button sets, icons and default-button flags, with their Windows values.
enum MessageBoxStyle : unsigned {
    kMbOk = 0x0,
    kMbOkCancel = 0x1,
    kMbAbortRetryIgnore = 0x2,
    kMbYesNoCancel = 0x3,
    kMbYesNo = 0x4,
    kMbRetryCancel = 0x5,
    kMbButtonsMask = 0xF,
    kMbIconStop = 0x10,
    kMbIconQuestion = 0x20,
    kMbIconExclamation = 0x30,
    kMbIconInformation = 0x40,
    kMbDefButton2 = 0x100,
    kMbDefButton3 = 0x200,
    kMbDefButtonMask = 0xF00,
};

// Answers, with their Windows values.
enum MessageBoxAnswer : int {
    kIdOk = 1,
    kIdCancel = 2,
    kIdAbort = 3,
    kIdRetry = 4,
    kIdIgnore = 5,
    kIdYes = 6,
    kIdNo = 7,
};

struct MessageBoxRecord {
    String text;
    String caption; // empty: the application's default caption
    unsigned style = kMbOk;
    int answer = 0; // what the box returned
};

// Given the box (its answer still 0), returns the button pressed. An answer that is not
// one of the box's buttons counts as the default button.
using MessageBoxHandler = std::function<int(const MessageBoxRecord&)>;

// Shows a box: records it, asks the handler, returns the answer.
int MessageBox(StringView text, StringView caption = {}, unsigned style = kMbOk);
// Installs the handler; an empty function removes it.
void SetMessageBoxHandler(MessageBoxHandler handler);

// The boxes shown, oldest first. Only the most recent kMessageBoxLogSize are kept.
constexpr size_t kMessageBoxLogSize = 256;
std::vector<MessageBoxRecord> GetMessageBoxLog();
void ClearMessageBoxLog();

// The buttons of a style, in their order on the box, and the one pressed by default (the
// first, or the second or third with the default-button flags when the box has it).
std::vector<int> MessageBoxButtons(unsigned style);
int DefaultMessageBoxAnswer(unsigned style);

} // namespace plat
