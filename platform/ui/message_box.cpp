#include "platform/ui/message_box.h"

#include <algorithm>

namespace plat {

std::vector<int> MessageBoxButtons(unsigned style)
{
    switch (style & kMbButtonsMask) {
    case kMbOkCancel: return {kIdOk, kIdCancel};
    case kMbAbortRetryIgnore: return {kIdAbort, kIdRetry, kIdIgnore};
    case kMbYesNoCancel: return {kIdYes, kIdNo, kIdCancel};
    case kMbYesNo: return {kIdYes, kIdNo};
    case kMbRetryCancel: return {kIdRetry, kIdCancel};
    default: return {kIdOk};
    }
}

int DefaultMessageBoxAnswer(unsigned style)
{
    const std::vector<int> buttons = MessageBoxButtons(style);
    size_t index = 0;
    if ((style & kMbDefButtonMask) == kMbDefButton2) index = 1;
    else if ((style & kMbDefButtonMask) == kMbDefButton3) index = 2;
    return buttons[index < buttons.size() ? index : 0];
}

String MessageBoxButtonText(int answer)
{
    switch (answer) {
    case kIdOk: return u"确定";
    case kIdCancel: return u"取消";
    case kIdAbort: return u"中止";
    case kIdRetry: return u"重试";
    case kIdIgnore: return u"忽略";
    case kIdYes: return u"是";
    case kIdNo: return u"否";
    default: return {};
    }
}

int EscapeMessageBoxAnswer(const std::vector<int>& buttons)
{
    if (std::find(buttons.begin(), buttons.end(), kIdCancel) != buttons.end()) return kIdCancel;
    return buttons.size() == 1 ? buttons.front() : 0;
}

int MessageBox(StringView text, StringView caption, unsigned style)
{
    ModalRecord box;
    box.kind = ModalKind::kMessageBox;
    box.caption = String(caption);
    box.text = String(text);
    box.style = style;
    box.buttons = MessageBoxButtons(style);
    box.defaultAnswer = DefaultMessageBoxAnswer(style);
    const int answer = RunModal(std::move(box));
    return answer == kModalFailed ? 0 : answer;
}

void SetMessageBoxHandler(MessageBoxHandler handler)
{
    if (!handler) {
        SetModalHandler({});
        return;
    }
    SetModalHandler([handler = std::move(handler)](const ModalRecord& run) -> std::optional<int> {
        if (run.kind != ModalKind::kMessageBox) return std::nullopt;
        return handler(run);
    });
}

std::vector<MessageBoxRecord> GetMessageBoxLog()
{
    std::vector<MessageBoxRecord> boxes;
    for (ModalRecord& run : GetModalLog())
        if (run.kind == ModalKind::kMessageBox) boxes.push_back(std::move(run));
    return boxes;
}

void ClearMessageBoxLog()
{
    ClearModalLog();
}

} // namespace plat
