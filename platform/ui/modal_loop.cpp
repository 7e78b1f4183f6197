// Modal loops: modal runs (modal.cpp) that handle, inside the run, the messages their
// answerer queued, and end with the result the window gave EndModalLoop.
#include <vector>

#include "platform/ui/message_queue.h"
#include "platform/ui/modal.h"

namespace plat {

namespace {

struct Loop {
    Window* window;
    std::optional<int> result;
};

std::vector<Loop>& Loops()
{
    static std::vector<Loop> loops; // innermost last
    return loops;
}

} // namespace

int RunModalLoop(Window& window, ModalRecord run)
{
    Loops().push_back(Loop{&window, std::nullopt});
    const std::size_t depth = Loops().size();
    run.window = &window;
    run.settle = [depth]() -> std::optional<int> {
        // Messages the answerer queued are handled until the loop ends or none is left.
        while (!Loops()[depth - 1].result && PumpOneMessage()) {
        }
        return Loops()[depth - 1].result;
    };
    const int result = RunModal(std::move(run));
    Loops().resize(depth - 1);
    return result;
}

bool EndModalLoop(Window& window, int result)
{
    for (auto it = Loops().rbegin(); it != Loops().rend(); ++it)
        if (it->window == &window) {
            it->result = result;
            return true;
        }
    return false;
}

bool IsInModalLoop(const Window& window)
{
    for (const Loop& loop : Loops())
        if (loop.window == &window) return true;
    return false;
}

} // namespace plat
