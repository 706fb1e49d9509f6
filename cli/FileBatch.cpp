#include "FileBatch.h"

#include "CommandLine.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <new>
#include <streambuf>
#include <thread>

namespace phonomir::cli {
namespace {

// Output kept in memory up to kMemoryBytes, then in an anonymous temporary file.
class SpillingBuffer : public std::streambuf {
public:
    static constexpr std::size_t kMemoryBytes = 1 << 20;

    ~SpillingBuffer() override { release(); }
    // Copies everything written to `out`, then lets go of it.
    void moveTo(std::ostream& out) {
        out << memory_;
        if (file_) {
            std::rewind(file_);
            char chunk[65536];
            for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, file_)) > 0;)
                out.write(chunk, static_cast<std::streamsize>(got));
        }
        release();
    }

protected:
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        if (!file_ && memory_.size() + static_cast<std::size_t>(count) > kMemoryBytes) spill();
        if (file_) return static_cast<std::streamsize>(std::fwrite(text, 1, static_cast<std::size_t>(count), file_));
        memory_.append(text, static_cast<std::size_t>(count));
        return count;
    }
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        const char byte = traits_type::to_char_type(c);
        return xsputn(&byte, 1) == 1 ? c : traits_type::eof();
    }

private:
    void spill() {
        file_ = std::tmpfile();
        if (!file_) return;  // no temporary folder: keep it in memory
        std::fwrite(memory_.data(), 1, memory_.size(), file_);
        memory_.clear();
        memory_.shrink_to_fit();
    }

    void release() {
        std::string().swap(memory_);
        if (file_) std::fclose(file_);
        file_ = nullptr;
    }

    std::string memory_;
    std::FILE* file_ = nullptr;
};

struct Job {
    SpillingBuffer buffer;
    std::string error;
    std::atomic<double> fraction{0.0};
    bool done = false;  // guarded by the batch's mutex
};

// Workers take the files in order, at most `ahead` past the one being delivered, so that the
// outputs waiting for their turn stay few whatever the number of files.
class Batch {
public:
    Batch(const std::vector<std::string>& paths, const FileAnalysis& analyse, std::size_t ahead)
        : paths_(paths), analyse_(analyse), jobs_(paths.size()), ahead_(ahead) {
        for (auto& job : jobs_) job = std::make_unique<Job>();
    }

    void work() {
        for (;;) {
            std::size_t index = 0;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] { return next_ >= jobs_.size() || next_ < delivered_ + ahead_; });
                if (next_ >= jobs_.size()) return;
                index = next_++;
            }
            Job& job = *jobs_[index];
            std::ostream out(&job.buffer);
            try {
                analyse_(paths_[index], out, [&job](double fraction) { job.fraction.store(fraction); });
            } catch (const CliError& error) {
                job.error = error.what();
            } catch (const std::bad_alloc&) {
                job.error = "out of memory";
            } catch (const std::exception& error) {
                job.error = paths_[index] + ": " + error.what();
            }
            job.fraction.store(1.0);
            const std::lock_guard lock(mutex_);
            job.done = true;
            changed_.notify_all();
        }
    }

    // Copies each output in turn as soon as it and all before it are done.
    int deliver(std::ostream& out, std::ostream& err, Progress& progress) {
        int status = 0;
        for (const auto& job : jobs_) {
            std::unique_lock lock(mutex_);
            while (!changed_.wait_for(lock, std::chrono::milliseconds(200), [&] { return job->done; }))
                progress.update(overallFraction());
            lock.unlock();
            if (!job->error.empty()) {
                out.flush();
                err << "phonomir-cli: " << job->error << "\n";
                status = 2;
            }
            job->buffer.moveTo(out);
            lock.lock();
            ++delivered_;
            changed_.notify_all();
        }
        return status;
    }

private:
    double overallFraction() const {
        double sum = 0;
        for (const auto& job : jobs_) sum += job->fraction.load();
        return sum / static_cast<double>(jobs_.size());
    }

    const std::vector<std::string>& paths_;
    const FileAnalysis& analyse_;
    std::vector<std::unique_ptr<Job>> jobs_;
    const std::size_t ahead_;
    std::mutex mutex_;
    std::condition_variable changed_;  // a job done, or one delivered
    std::size_t next_ = 0, delivered_ = 0;
};

}  // namespace

int defaultWorkers() { return static_cast<int>(std::max(1u, std::thread::hardware_concurrency())); }

int analyzeFiles(const std::vector<std::string>& paths, int workers, const FileAnalysis& analyse, std::ostream& out,
                 std::ostream& err, const std::string& what) {
    Progress progress(what);
    if (paths.size() == 1) {
        analyse(paths.front(), out, [&progress](double fraction) { progress.update(fraction); });
        return 0;
    }
    const int count = std::clamp(workers, 1, static_cast<int>(paths.size()));
    Batch batch(paths, analyse, 2 * static_cast<std::size_t>(count));
    std::vector<std::thread> threads;
    for (int t = 0; t < count; ++t) threads.emplace_back([&batch] { batch.work(); });
    const int status = batch.deliver(out, err, progress);
    for (std::thread& thread : threads) thread.join();
    return status;
}

}  // namespace phonomir::cli
