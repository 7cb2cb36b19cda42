#include "history/recorder.h"

namespace voltaro::history {

Recorder::Recorder(std::filesystem::path path, Callbacks callbacks)
    : path_(std::move(path)), callbacks_(std::move(callbacks)), thread_([this] { run(); }) {}

Recorder::~Recorder() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void Recorder::record(Entry entry) {
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(entry));
    }
    wake_.notify_one();
}

void Recorder::flush() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return queue_.empty() && !busy_; });
}

void Recorder::run() {
    {
        std::lock_guard lock(mutex_);
        busy_ = true;
    }
    // Opened at once, so that a damaged file is set aside (and the user told) before the first
    // answer, not while it is being kept. A read-only history is told of when an answer is not
    // kept in it.
    auto opened = Store::open(path_, Store::Mode::Record);
    if (opened) {
        store_ = std::move(*opened);
        if (!store_->notice().empty() && callbacks_.notice)
            callbacks_.notice(store_->notice(), false);
    }
    std::unique_lock lock(mutex_);
    for (;;) {
        busy_ = false;
        idle_.notify_all();
        wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        if (queue_.empty()) return;  // stopping, and everything is written
        Entry entry = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        lock.unlock();
        write(entry);
        lock.lock();
    }
}

void Recorder::write(Entry& entry) {
    std::optional<Error> error;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!store_) {
            auto opened = Store::open(path_, Store::Mode::Record);
            if (!opened) {
                error = opened.error();
                break;
            }
            store_ = std::move(*opened);
            if (!store_->notice().empty() && callbacks_.notice)
                callbacks_.notice(store_->notice(), false);
        }
        error = store_->record(entry);
        if (!error) break;
        // A file found damaged only now is set aside by opening it again; any other failure
        // (full, locked past the wait, read-only) is tried afresh with the next answer.
        store_.reset();
        if (!error->damaged) break;
    }
    if (error) {
        if (callbacks_.notice) callbacks_.notice(error->message, true);
    } else if (callbacks_.recorded) {
        callbacks_.recorded(entry.id);
    }
}

}  // namespace voltaro::history
