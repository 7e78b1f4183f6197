#include "document/statistics.h"

#include <mutex>

namespace {

std::mutex g_dialogLock;
WordCountDialog g_dialog;

} // namespace

void SetWordCountDialog(WordCountDialog dialog)
{
    std::lock_guard<std::mutex> l(g_dialogLock);
    g_dialog = std::move(dialog);
}

void ShowWordCount(const std::vector<CStatisticsRow>& rows)
{
    WordCountDialog dialog;
    {
        std::lock_guard<std::mutex> l(g_dialogLock);
        dialog = g_dialog;
    }
    if (dialog) dialog(rows);
}
