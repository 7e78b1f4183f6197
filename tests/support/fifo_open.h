// Opening a FIFO where a file is expected: the open must be refused at once, never wait
// for a writer, nor read from one that never writes. OpensWithoutWaiting runs the open on
// another thread; an open still busy after the bound is released by closing the writer
// and by opening the FIFO both ways and closing it again (a reader then sees an empty
// file, a writer that writes nothing just closes), so a regression fails instead of
// hanging.
#pragma once
#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <functional>
#include <future>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace testsupport {

// Makes a FIFO at the path (replacing nothing); false when it cannot.
inline bool MakeFifo(const std::string& path)
{
    return ::mkfifo(path.c_str(), 0600) == 0;
}

// Whether the FIFO has a writer holding it open (that writes nothing) while it is opened.
enum class FifoWriter { kNone, kHeldOpen };

// Runs `open`, which tries to open the FIFO at `fifo`, and fails the test when it has
// not returned within the bound. Returns what `open` returned.
inline bool OpensWithoutWaiting(const std::string& fifo, FifoWriter writer, const std::function<bool()>& open,
                                std::chrono::milliseconds bound = std::chrono::milliseconds(2000))
{
    const int held = writer == FifoWriter::kHeldOpen ? ::open(fifo.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC) : -1;
    EXPECT_TRUE(writer == FifoWriter::kNone || held >= 0) << "no writer for " << fifo;
    auto result = std::async(std::launch::async, open);
    const bool returned = result.wait_for(bound) == std::future_status::ready;
    if (!returned) ADD_FAILURE() << "opening the FIFO " << fifo << " was still busy after " << bound.count() << " ms";
    if (held >= 0) ::close(held);
    while (result.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
        const int peer = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        if (peer >= 0) ::close(peer);
    }
    return result.get();
}

} // namespace testsupport
