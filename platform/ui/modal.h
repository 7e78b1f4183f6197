// Modal runs, headless first. A dialog or message box that would wait for the user asks
// an answerer instead: the next answer queued for a single run, else the handler the host
// (or a test) installed. A run that nobody answers fails at once with kModalFailed, so
// nothing ever waits for a user who is not there. Every run is recorded with its kind,
// caption, text, buttons and answer.
#pragma once
#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "platform/base/geometry.h"
#include "platform/base/strings.h"

namespace plat {

class Menu;
class Window;

enum class ModalKind { kMessageBox, kDialog, kPopupMenu };

// What RunModal returns for a run that nobody answered (as a dialog that could not run).
constexpr int kModalFailed = -1;

// One modal run: what the answerer sees (answer and answered still unset) and, once it
// ended, what the log keeps.
struct ModalRecord {
    ModalKind kind = ModalKind::kDialog;
    String caption;           // dialog title or box caption; empty: the default caption
    String text;              // a message box's text
    unsigned style = 0;       // a message box's style flags
    std::vector<int> buttons; // the answers that end the run, in order; empty: any answer
    int defaultAnswer = 0;    // what an answer that is not one of the buttons counts as
    // The dialog's window while it runs, so that an answerer can fill in its controls (for a
    // popup menu, its owner); never kept in the log.
    Window* window = nullptr;
    // A popup menu being tracked (menu.h), and the screen point where it opens; never kept
    // in the log.
    const Menu* menu = nullptr;
    Point point;
    // A modal loop's own step, run after the answerers: it handles what they queued and
    // returns the result the loop was ended with, which takes the place of their answer.
    std::function<std::optional<int>()> settle;
    int answer = 0;           // what the run returned
    bool answered = false;    // false: nobody answered and the run failed
};

// Given the run, returns the answer that ends it, or nothing to leave it to the next
// answerer (the run fails when nobody else answers).
using ModalHandler = std::function<std::optional<int>(const ModalRecord&)>;

// Runs a modal: the oldest queued answer takes it, else the installed handler. Returns the
// answer (the default answer for one that is not among the buttons), or kModalFailed when
// nobody answered. Never waits.
int RunModal(ModalRecord run);
// A dialog with OK (1) and Cancel (2) under the caption, run bare: whoever answers decides,
// and an answer that is neither counts as Cancel.
int RunOkCancelDialog(StringView caption);

// A modal loop for a dialog or popup window: a modal run whose answerer may act on the
// window (send or post it messages, fill in its controls) and whose queued messages are then
// handled inside the loop. The loop ends with the result given to EndModalLoop while it ran,
// else with the answer, else it fails with kModalFailed. Loops nest.
int RunModalLoop(Window& window, ModalRecord run);
// Ends the innermost loop running for the window with the result; false when none runs.
bool EndModalLoop(Window& window, int result);
bool IsInModalLoop(const Window& window);

// Queues an answerer for one run (each queued answerer answers the next run that has not
// been answered before it, oldest first, and is then used up, even if it declined).
void AnswerNextModal(ModalHandler handler);
void AnswerNextModal(int answer);
// Answerers queued and not yet used; and dropping them.
std::size_t PendingModalAnswers();
void ClearModalAnswers();
// Installs the handler for runs that no queued answerer takes; an empty function removes it.
void SetModalHandler(ModalHandler handler);

// The runs, oldest first. Only the most recent kModalLogSize are kept.
constexpr std::size_t kModalLogSize = 256;
std::vector<ModalRecord> GetModalLog();
// Runs that failed unanswered since the log was last cleared (counted even when the log
// has dropped them).
std::size_t UnansweredModalCount();
void ClearModalLog();

} // namespace plat
