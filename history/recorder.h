// Keeps answers in the history without ever holding up the one who hands them over: record()
// queues the entry and returns at once; a thread of the recorder's own opens the store (Record
// mode, at construction) and writes the entries in the order given, each in its own transaction.
// A locked file is waited for there, a disk that is full or a file that cannot be written fails
// there, and the entry is then dropped; whoever hands answers over only hears of it through the
// callbacks.
//
// The callbacks run on the recorder's thread: marshal them to your own before touching anything.
// The destructor writes what is still queued, then stops the thread.
#pragma once

#include <condition_variable>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "history/store.h"

namespace voltaro::history {

class Recorder {
public:
    struct Callbacks {
        // An entry was kept, with its id.
        std::function<void(std::int64_t id)> recorded;
        // Something the user should hear of: an entry could not be kept (`lost`, with the
        // reason), or opening set a damaged file aside. May be called more than once.
        std::function<void(const std::string& message, bool lost)> notice;
    };

    Recorder(std::filesystem::path path, Callbacks callbacks);
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // Queues `entry`; never waits for the disk.
    void record(Entry entry);
    // Waits until everything queued so far has been written or has failed (tests, exit).
    void flush();

private:
    void run();
    void write(Entry& entry);

    std::filesystem::path path_;
    Callbacks callbacks_;
    std::unique_ptr<Store> store_;  // the thread's own
    std::mutex mutex_;
    std::condition_variable wake_, idle_;
    std::deque<Entry> queue_;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace voltaro::history
