#include "io/pdf_export.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "io/pdf_page_writer.h"
#include "media/jpeg_file_saver.h"
#include "platform/base/system.h"
#include "platform/file/file.h"

namespace {

// Pages ahead of the writer, per worker, that may be rendered or saved: enough to keep
// every worker busy while a slow page holds the writer up, few enough that the bitmaps in
// memory stay a handful.
constexpr int kLookAheadPerWorker = 2;

int WorkerCount(int asked, int pageCount)
{
    const int cores = static_cast<int>(std::thread::hardware_concurrency());
    const int wanted = asked > 0 ? asked : std::max(1, cores);
    return std::clamp(wanted, 1, std::min(kMaxPdfExportThreads, std::max(1, pageCount)));
}

// The pages on their way to the writer. Workers save page pictures (and render the pages
// too, when the renderer allows it) up to a bounded number of pages ahead of the writer;
// the calling thread takes the saved pictures strictly in page order and, when the
// renderer must stay on its thread, renders the pages itself in order.
class PagePipeline {
public:
    PagePipeline(std::vector<plat::String> pictures, const PdfPageRenderer& render, const PdfExportOptions& options)
        : m_pictures(std::move(pictures)),
          m_pageCount(static_cast<int>(m_pictures.size())),
          m_render(render),
          m_concurrent(options.concurrentRendering),
          m_workerCount(WorkerCount(options.threads, m_pageCount)),
          m_window(kLookAheadPerWorker * m_workerCount),
          m_slots(static_cast<size_t>(m_window))
    {
    }
    // Stops the workers and removes every picture any of them began, whatever way the
    // export ends.
    ~PagePipeline()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_stop = true;
        }
        m_workToDo.notify_all();
        for (std::thread& worker : m_workers) worker.join();
        for (int i = 0; i < m_claimed; ++i) plat::File::Remove(m_pictures[static_cast<size_t>(i)]);
    }
    PagePipeline(const PagePipeline&) = delete;
    PagePipeline& operator=(const PagePipeline&) = delete;

    void Start()
    {
        m_workers.reserve(static_cast<size_t>(m_workerCount));
        for (int k = 0; k < m_workerCount; ++k) m_workers.emplace_back([this] { Work(); });
    }

    const plat::String& Picture(int page) const { return m_pictures[static_cast<size_t>(page)]; }

    // Waits for page `page` (the one after the last taken) to be saved, rendering pages
    // meanwhile when rendering is this thread's. False when it failed; an exception its
    // rendering threw that is no std::exception is passed on.
    bool Take(int page)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        for (;;) {
            const Slot& slot = SlotOf(page);
            if (slot.state == Slot::kSaved || slot.state == Slot::kFailed) break;
            if (!m_concurrent && !m_renderFailed && m_rendered < m_pageCount && m_rendered < m_taken + m_window) {
                RenderNext(lock);
                continue;
            }
            m_pageDone.wait(lock);
        }
        Slot& slot = SlotOf(page);
        const bool saved = slot.state == Slot::kSaved;
        const std::exception_ptr error = std::move(slot.error);
        slot = Slot();
        m_taken = page + 1;
        lock.unlock();
        m_workToDo.notify_all(); // the window has moved on
        if (error) {
            try {
                std::rethrow_exception(error);
            } catch (const std::exception&) {
                // A page whose painting failed (a file or archive error of one of its objects).
            }
        }
        return saved;
    }

private:
    struct Slot {
        enum State { kEmpty, kRendered, kSaving, kSaved, kFailed };
        State state = kEmpty;
        std::unique_ptr<plat::Bitmap> bitmap;
        std::exception_ptr error;
    };
    Slot& SlotOf(int page) { return m_slots[static_cast<size_t>(page % m_window)]; }

    // Renders the next page on this thread and hands it to the workers (the lock is held
    // on entry and on return, not while rendering).
    void RenderNext(std::unique_lock<std::mutex>& lock)
    {
        const int page = m_rendered++;
        lock.unlock();
        std::unique_ptr<plat::Bitmap> bitmap;
        std::exception_ptr error;
        try {
            bitmap = m_render(page);
        } catch (...) {
            error = std::current_exception();
        }
        lock.lock();
        Slot& slot = SlotOf(page);
        if (!bitmap) {
            // Nothing after a page that could not be rendered is rendered.
            m_renderFailed = true;
            slot.state = Slot::kFailed;
            slot.error = std::move(error);
            return;
        }
        slot.bitmap = std::move(bitmap);
        slot.state = Slot::kRendered;
        m_workToDo.notify_one();
    }

    bool CanClaim()
    {
        return m_claimed < m_pageCount && m_claimed < m_taken + m_window &&
               (m_concurrent || SlotOf(m_claimed).state == Slot::kRendered);
    }

    void Work()
    {
        CJpegFileSaver saver(plat::FileDurability::kScratch);
        std::unique_lock<std::mutex> lock(m_mutex);
        for (;;) {
            m_workToDo.wait(lock, [this] { return m_stop || CanClaim(); });
            if (m_stop) return;
            const int page = m_claimed++;
            Slot& slot = SlotOf(page);
            std::unique_ptr<plat::Bitmap> bitmap = std::move(slot.bitmap);
            slot.state = Slot::kSaving;
            lock.unlock();
            bool saved = false;
            std::exception_ptr error;
            try {
                if (m_concurrent) bitmap = m_render(page);
                saved = bitmap && saver.SaveBitmap(Picture(page), bitmap.get());
            } catch (...) {
                error = std::current_exception();
            }
            bitmap.reset();
            lock.lock();
            slot.state = saved ? Slot::kSaved : Slot::kFailed;
            slot.error = std::move(error);
            m_pageDone.notify_all();
        }
    }

    const std::vector<plat::String> m_pictures;
    const int m_pageCount;
    const PdfPageRenderer& m_render;
    const bool m_concurrent;
    const int m_workerCount;
    const int m_window;

    std::mutex m_mutex;
    std::condition_variable m_workToDo; // a page can be claimed, or stop
    std::condition_variable m_pageDone; // a page was saved or failed
    std::vector<Slot> m_slots;          // page i in slot i % window
    int m_rendered = 0;                 // pages rendered by the calling thread
    bool m_renderFailed = false;
    int m_claimed = 0;                  // pages handed to workers
    int m_taken = 0;                    // pages taken by the writer
    bool m_stop = false;
    std::vector<std::thread> m_workers;
};

} // namespace

bool ExportPagesToPdf(const plat::String& path, std::int32_t paperWidthMm, std::int32_t paperHeightMm,
                      int pageCount, const PdfPageRenderer& renderPage, const PdfExportOptions& options)
{
    if (pageCount <= 0 || !renderPage) return false;
    // Pictures are named by the time of the export and the page number, in the process's
    // own temporary folder.
    const plat::String stamp = plat::Format(u"%d", static_cast<long long>(plat::Now()));
    const plat::String folder = plat::TempDir();
    std::vector<plat::String> pictures;
    pictures.reserve(static_cast<size_t>(pageCount));
    for (int i = 0; i < pageCount; ++i) pictures.push_back(plat::Format(u"%s%s%03d.jpg", folder, stamp, i + 1));

    // Declared before the writer, so the pictures outlive it on every way out.
    PagePipeline pipeline(std::move(pictures), renderPage, options);
    // The writer is opened first, so an output that cannot be created is found before any
    // page is rendered.
    CPdfPageWriter writer(path, paperWidthMm, paperHeightMm);
    if (writer.Failed()) return false;
    pipeline.Start();
    try {
        for (int i = 0; i < pageCount; ++i) {
            if (!pipeline.Take(i) || !writer.AddPageImage(pipeline.Picture(i), i + 1)) {
                writer.Cancel();
                return false;
            }
        }
    } catch (...) {
        // Whatever the renderer threw, the target stays as it was.
        writer.Cancel();
        throw;
    }
    return writer.Close();
}
