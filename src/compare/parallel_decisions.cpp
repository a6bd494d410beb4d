#include "compare/parallel_decisions.h"

#include <array>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

// Records are read into batches of about this many bytes: large enough that handing one over
// costs nothing beside deciding it, small enough that the threads finish together.
constexpr std::size_t BatchBytes = 1 << 20;

// Records read one after another, copied out of the reader's block, which the next read replaces.
struct Batch {
    enum class State { Empty, Read, Deciding, Decided };
    struct Record {
        std::size_t at;
        std::size_t size;
        std::int64_t position;  // the reader's, after the record
    };

    State state = State::Empty;
    std::string bytes;
    std::vector<Record> records;
    // What was decided for the records that have anything to apply, by their place in `records`.
    std::vector<std::pair<std::size_t, RecordDecision>> decisions;

    std::string_view RecordBytes(std::size_t i) const {
        return std::string_view(bytes).substr(records[i].at, records[i].size);
    }
};

// What one deciding thread works in.
struct Decider {
    MatchScratch scratch;
    CatalogueRecord texts;
    RecordDecision decision;

    void Decide(Batch& batch, ComparisonRun& run) {
        batch.decisions.clear();
        for (std::size_t i = 0; i < batch.records.size(); ++i) {
            DecideRecord(batch.RecordBytes(i), run, scratch, texts, decision);
            if (decision.Acts()) batch.decisions.emplace_back(i, std::move(decision));
        }
    }
};

// Fills the batch with the next records; false when the reader has no more.
bool ReadBatch(CatalogueReader& reader, Batch& batch) {
    batch.bytes.clear();
    // Room for a batch's worth and one more record of the usual length, so that filling it
    // never moves what was copied.
    batch.bytes.reserve(BatchBytes + (64 << 10));
    batch.records.clear();
    std::string_view record;
    while (batch.bytes.size() < BatchBytes) {
        if (!reader.Next(record)) return false;
        batch.records.push_back({batch.bytes.size(), record.size(), reader.Position()});
        batch.bytes += record;
    }
    return true;
}

// Two batches a thread: one being decided while the other waits for it or to be written.
constexpr std::size_t RingSize = 4;

class BatchRing {
  public:
    BatchRing(CatalogueReader& reader, ComparisonRun& run) : reader_(reader), run_(run) {
        run.digestLater = &digestLater_;
    }
    ~BatchRing() { run_.digestLater = nullptr; }

    // The calling thread's part: reading, deciding when nothing else is to be done, and applying.
    template <typename Apply>
    void Run(Apply&& apply) {
        // However the reading ends, even by an exception, the deciding threads are told to stop,
        // so that they can be joined.
        struct StopOnExit {
            BatchRing& ring;
            ~StopOnExit() {
                const std::lock_guard<std::mutex> stopping(ring.mutex_);
                ring.stopped_ = true;
                ring.changed_.notify_all();
            }
        } stopOnExit{*this};
        Decider decider;
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            Batch& oldest = ring_[applied_ % RingSize];
            if (applied_ < read_ && oldest.state == Batch::State::Decided) {
                lock.unlock();
                const bool goOn = ApplyBatch(oldest, apply);
                lock.lock();
                oldest.state = Batch::State::Empty;
                ++applied_;
                HandOverDigest(false);
                if (!goOn) break;
                continue;
            }
            if (readAll_ && applied_ == read_) break;
            Batch& next = ring_[read_ % RingSize];
            if (!readAll_ && next.state == Batch::State::Empty) {
                lock.unlock();
                const bool more = ReadBatch(reader_, next);
                lock.lock();
                readAll_ = !more;
                if (next.records.empty()) continue;
                next.state = Batch::State::Read;
                ++read_;
                changed_.notify_all();
                continue;
            }
            if (Batch* waiting = NextToDecide()) {
                Decide(*waiting, decider, lock);
                continue;
            }
            changed_.wait(lock);
        }
        // The digest's last pieces, once the deciding thread has finished the one it holds.
        HandOverDigest(true);
        changed_.wait(lock, [&] { return !digesting_; });
        while (!digestPieces_.empty()) {
            std::string piece = std::move(digestPieces_.front());
            digestPieces_.pop_front();
            run_.outputDigest.Add(piece);
        }
    }

    // A deciding thread's part, until the calling thread has stopped. With no batch to decide,
    // it takes the output's digest a piece at a time: the digest goes byte by byte, each step
    // waiting for the one before, and on the thread that writes the output it held all else up.
    void Decide() {
        Decider decider;
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            Batch* waiting = nullptr;
            changed_.wait(lock, [&] {
                return stopped_ || (waiting = NextToDecide()) != nullptr ||
                       (!digesting_ && !digestPieces_.empty());
            });
            if (stopped_) return;
            if (waiting != nullptr) {
                Decide(*waiting, decider, lock);
                continue;
            }
            std::string piece = std::move(digestPieces_.front());
            digestPieces_.pop_front();
            digesting_ = true;
            lock.unlock();
            run_.outputDigest.Add(piece);
            lock.lock();
            digesting_ = false;
            changed_.notify_all();
        }
    }

  private:
    // Moves the bytes written since the last piece to the digest's pieces, once there are enough
    // of them to be worth a hand-over, or `all` of them; called with the lock held.
    void HandOverDigest(bool all) {
        constexpr std::size_t PieceBytes = 256 << 10;
        if (digestLater_.empty() || (!all && digestLater_.size() < PieceBytes)) return;
        digestPieces_.push_back(std::move(digestLater_));
        digestLater_ = std::string();
        changed_.notify_all();
    }

    // The batch read longest ago that no thread decides yet; null when there is none.
    Batch* NextToDecide() {
        for (std::size_t i = applied_; i < read_; ++i) {
            Batch& batch = ring_[i % RingSize];
            if (batch.state == Batch::State::Read) return &batch;
        }
        return nullptr;
    }

    void Decide(Batch& batch, Decider& decider, std::unique_lock<std::mutex>& lock) {
        batch.state = Batch::State::Deciding;
        lock.unlock();
        decider.Decide(batch, run_);
        lock.lock();
        batch.state = Batch::State::Decided;
        changed_.notify_all();
    }

    template <typename Apply>
    static bool ApplyBatch(Batch& batch, Apply& apply) {
        auto decided = batch.decisions.begin();
        for (std::size_t i = 0; i < batch.records.size(); ++i) {
            RecordDecision* decision = nullptr;
            if (decided != batch.decisions.end() && decided->first == i) {
                decision = &decided->second;
                ++decided;
            }
            if (!apply(batch.RecordBytes(i), decision, batch.records[i].position)) return false;
        }
        return true;
    }

    CatalogueReader& reader_;
    ComparisonRun& run_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::array<Batch, RingSize> ring_;
    std::size_t read_ = 0;     // batches read so far
    std::size_t applied_ = 0;  // of them, applied
    bool readAll_ = false;
    bool stopped_ = false;
    std::string digestLater_;               // written since the last piece, kept by the run
    std::deque<std::string> digestPieces_;  // for the digest, in the order written
    bool digesting_ = false;                // a deciding thread is adding a piece
};

}  // namespace

void DecideOnThreads(CatalogueReader& reader, ComparisonRun& run, int threads,
                     const std::function<bool(std::string_view bytes, RecordDecision* decision,
                                              std::int64_t position)>& apply) {
    BatchRing ring(reader, run);
    std::vector<std::jthread> deciders;
    for (int i = 1; i < threads; ++i)
        deciders.emplace_back([&ring] { ring.Decide(); });
    ring.Run(apply);
}
