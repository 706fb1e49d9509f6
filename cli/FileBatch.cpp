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
    static constexpr std::size_t kMemoryBytes = 4 << 20;

    ~SpillingBuffer() override {
        if (file_) std::fclose(file_);
    }
    void copyTo(std::ostream& out) {
        out << memory_;
        if (!file_) return;
        std::rewind(file_);
        char chunk[65536];
        for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, file_)) > 0;) out.write(chunk, static_cast<std::streamsize>(got));
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

    std::string memory_;
    std::FILE* file_ = nullptr;
};

struct Job {
    SpillingBuffer buffer;
    std::string error;
    std::atomic<double> fraction{0.0};
    bool done = false;  // guarded by the batch's mutex
};

class Batch {
public:
    Batch(const std::vector<std::string>& paths, const FileAnalysis& analyse)
        : paths_(paths), analyse_(analyse), jobs_(paths.size()) {
        for (auto& job : jobs_) job = std::make_unique<Job>();
    }

    void work() {
        for (std::size_t index; (index = next_++) < jobs_.size();) {
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
            finished_.notify_all();
        }
    }

    // Copies each output in turn as soon as it and all before it are done.
    int deliver(std::ostream& out, std::ostream& err, Progress& progress) {
        int status = 0;
        for (const auto& job : jobs_) {
            std::unique_lock lock(mutex_);
            while (!finished_.wait_for(lock, std::chrono::milliseconds(200), [&] { return job->done; }))
                progress.update(overallFraction());
            lock.unlock();
            if (!job->error.empty()) {
                out.flush();
                err << "phonomir-cli: " << job->error << "\n";
                status = 2;
            } else {
                job->buffer.copyTo(out);
            }
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
    std::atomic<std::size_t> next_{0};
    std::mutex mutex_;
    std::condition_variable finished_;
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
    Batch batch(paths, analyse);
    std::vector<std::thread> threads;
    const int count = std::clamp(workers, 1, static_cast<int>(paths.size()));
    for (int t = 0; t < count; ++t) threads.emplace_back([&batch] { batch.work(); });
    const int status = batch.deliver(out, err, progress);
    for (std::thread& thread : threads) thread.join();
    return status;
}

}  // namespace phonomir::cli
