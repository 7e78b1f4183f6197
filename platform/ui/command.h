// Commands (WM_COMMAND ids from menus, toolbars, accelerators) and their update handlers.
// A command target holds handlers for single ids and for id ranges; an update handler
// gets a CommandUi on which it enables, checks or retitles the command's item.
//
// Routing is explicit: a target's route is the list of targets that see a command, in
// order, the first that has a handler taking it. The target itself stands in the list where
// its own handlers are to run (a frame puts itself after its active view, or before it);
// a target without a route consults only its own handlers. A routed target routes in turn
// by its own route.
#pragma once
#include <functional>
#include <optional>
#include <vector>

#include "platform/base/strings.h"

namespace plat {

// The state an update handler gives a command's item. Fields the handler did not set stay
// unset, so the item keeps what it had.
class CommandUi {
public:
    explicit CommandUi(unsigned id) : m_id(id) {}
    unsigned Id() const { return m_id; }

    void Enable(bool enable = true) { m_enabled = enable; }
    void SetCheck(int check = 1) { m_checked = check; } // 0 clear, 1 checked, 2 indeterminate
    void SetText(StringView text) { m_text = String(text); }

    const std::optional<bool>& Enabled() const { return m_enabled; }
    const std::optional<int>& Checked() const { return m_checked; }
    const std::optional<String>& Text() const { return m_text; }

private:
    unsigned m_id;
    std::optional<bool> m_enabled;
    std::optional<int> m_checked;
    std::optional<String> m_text;
};

class CommandTarget {
public:
    using Handler = std::function<void(unsigned id)>;
    using UpdateHandler = std::function<void(CommandUi&)>;

    CommandTarget() = default;
    virtual ~CommandTarget() = default;
    CommandTarget(const CommandTarget&) = delete;
    CommandTarget& operator=(const CommandTarget&) = delete;

    // Handlers for one id or for the ids first..last; an id handled twice keeps the
    // handler added first, as a message map's first matching entry wins.
    void OnCommand(unsigned id, Handler handler) { OnCommandRange(id, id, std::move(handler)); }
    void OnCommandRange(unsigned first, unsigned last, Handler handler);
    void OnUpdate(unsigned id, UpdateHandler handler) { OnUpdateRange(id, id, std::move(handler)); }
    void OnUpdateRange(unsigned first, unsigned last, UpdateHandler handler);

    // The targets that see a command, in order; `this` where the own handlers run. Empty:
    // the own handlers alone. Targets must outlive the route or be removed from it.
    void SetCommandRoute(std::vector<CommandTarget*> route) { m_route = std::move(route); }
    const std::vector<CommandTarget*>& GetCommandRoute() const { return m_route; }

    // Runs the first handler along the route; false when none took the command.
    bool RouteCommand(unsigned id);
    // Runs the first update handler along the route; false when none had one for the id.
    bool RouteUpdate(CommandUi& ui);
    // Whether a command handler along the route would take the id (none is run).
    bool CanRouteCommand(unsigned id);

    // This target's own handlers only.
    bool HandleOwnCommand(unsigned id);
    bool HandleOwnUpdate(CommandUi& ui);

private:
    template <typename Entry>
    static const Entry* FindEntry(const std::vector<Entry>& entries, unsigned id);
    template <typename Own>
    bool Route(Own own, int depth);

    struct CommandEntry {
        unsigned first, last;
        Handler handler;
    };
    struct UpdateEntry {
        unsigned first, last;
        UpdateHandler handler;
    };
    std::vector<CommandEntry> m_commands;
    std::vector<UpdateEntry> m_updates;
    std::vector<CommandTarget*> m_route;
};

} // namespace plat
