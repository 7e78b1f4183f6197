#include "platform/ui/command.h"

namespace plat {

namespace {
// Routes that lead back into themselves end here rather than recursing without end.
constexpr int kMaxRouteDepth = 16;
} // namespace

void CommandTarget::OnCommandRange(unsigned first, unsigned last, Handler handler)
{
    m_commands.push_back(CommandEntry{first, last, std::move(handler)});
}

void CommandTarget::OnUpdateRange(unsigned first, unsigned last, UpdateHandler handler)
{
    m_updates.push_back(UpdateEntry{first, last, std::move(handler)});
}

template <typename Entry>
const Entry* CommandTarget::FindEntry(const std::vector<Entry>& entries, unsigned id)
{
    for (const Entry& e : entries)
        if (id >= e.first && id <= e.last && e.handler) return &e;
    return nullptr;
}

bool CommandTarget::HandleOwnCommand(unsigned id)
{
    const CommandEntry* e = FindEntry(m_commands, id);
    if (!e) return false;
    Handler handler = e->handler; // the handler may change this target's handlers
    handler(id);
    return true;
}

bool CommandTarget::HandleOwnUpdate(CommandUi& ui)
{
    const UpdateEntry* e = FindEntry(m_updates, ui.Id());
    if (!e) return false;
    UpdateHandler handler = e->handler;
    handler(ui);
    return true;
}

template <typename Own>
bool CommandTarget::Route(Own own, int depth)
{
    if (depth > kMaxRouteDepth) return false;
    if (m_route.empty()) return own(*this);
    // A copy: a handler may set up another route.
    const std::vector<CommandTarget*> route = m_route;
    for (CommandTarget* target : route) {
        if (!target) continue;
        if (target == this ? own(*this) : target->Route(own, depth + 1)) return true;
    }
    return false;
}

bool CommandTarget::RouteCommand(unsigned id)
{
    return Route([id](CommandTarget& t) { return t.HandleOwnCommand(id); }, 0);
}

bool CommandTarget::RouteUpdate(CommandUi& ui)
{
    return Route([&ui](CommandTarget& t) { return t.HandleOwnUpdate(ui); }, 0);
}

bool CommandTarget::CanRouteCommand(unsigned id)
{
    return Route([id](CommandTarget& t) { return FindEntry(t.m_commands, id) != nullptr; }, 0);
}

} // namespace plat
