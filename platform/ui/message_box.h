// Message boxes: modal runs (modal.h) of kind kMessageBox. Every box is recorded with its
// text, caption and buttons; the answer comes from a queued answer or the installed
// handler. A box nobody answers fails at once and returns 0, as a box that could not be
// shown, so nothing ever waits for a user who is not there.
#pragma once
#include <functional>
#include <vector>

#include "platform/base/strings.h"
#include "platform/ui/modal.h"

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

// A box is a modal run: text, caption (empty: the application's default caption), style,
// its buttons in order, and the answer it returned.
using MessageBoxRecord = ModalRecord;

// Given the box (its answer still 0), returns the button pressed. An answer that is not
// one of the box's buttons counts as the default button.
using MessageBoxHandler = std::function<int(const MessageBoxRecord&)>;

// Shows a box: runs it modally and returns the button pressed; an answer that is not one
// of the box's buttons counts as the default button; 0 when nobody answered.
int MessageBox(StringView text, StringView caption = {}, unsigned style = kMbOk);
// Installs a modal handler that answers message boxes (and leaves dialogs unanswered); it
// replaces any modal handler. An empty function removes the handler.
void SetMessageBoxHandler(MessageBoxHandler handler);

// The boxes among the recorded modal runs, oldest first.
constexpr size_t kMessageBoxLogSize = kModalLogSize;
std::vector<MessageBoxRecord> GetMessageBoxLog();
// Clears the whole modal log.
void ClearMessageBoxLog();

// The buttons of a style, in their order on the box, and the one pressed by default (the
// first, or the second or third with the default-button flags when the box has it).
std::vector<int> MessageBoxButtons(unsigned style);
int DefaultMessageBoxAnswer(unsigned style);
// The label a button of a box shows, by its answer ("确定", "取消" ...); empty for an id
// that is none of the answers above.
String MessageBoxButtonText(int answer);
// The answer Esc (or closing the box) gives: Cancel when the box has it, else the only
// button of a one-button box; 0 when neither.
int EscapeMessageBoxAnswer(const std::vector<int>& buttons);

} // namespace plat
