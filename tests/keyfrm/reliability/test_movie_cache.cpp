// Frame cache files a loaded project may name: damaged ones draw nothing, never allocate
// more than the file could fill and leak nothing; a path naming a pipe, a directory or a
// device is refused at once instead of blocking or reading forever.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ReliabilityChecks.h"
#include "keyfrm/softfx/CKivSoftFXMovieKeyFrm.h"

namespace {

constexpr int kTargetSide = 16;

std::vector<BYTE> Header(int width, int height) {
    std::vector<BYTE> out;
    for (const int v : {width, height})
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<BYTE>(static_cast<unsigned>(v) >> (8 * i)));
    return out;
}

class MovieCache : public testing::Test {
protected:
    void SetUp() override {
        m_dir = std::filesystem::temp_directory_path() / ("kivfx-rel-movie-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
    }
    std::filesystem::path Path(const char* name) const { return m_dir / name; }

    // Draws the file at path into a small target; the result and the largest allocation.
    int Draw(const std::filesystem::path& path, size_t& largest, kfxrel::LoadOutcome& outcome) {
        int result = -1;
        outcome = kfxrel::RunLoad([&] {
            CKivMemBlock target;
            ASSERT_TRUE(target.InitBlock(CSize(kTargetSide, kTargetSide), nullptr, 0));
            CKivSoftFXMovieKeyFrm keyframe;
            keyframe.MovieKFMFile = CString::FromUtf8(path.string());
            const kfxtest::LargestAllocation measure;
            result = keyframe.GetOneFrameFromFile(&target, CRect(0, 0, kTargetSide, kTargetSide));
            largest = measure.Bytes();
            keyframe.MovieKFMFile.Empty();  // the test's files are not the keyframe's to delete
        });
        return result;
    }

    std::filesystem::path m_dir;
};

}  // namespace

TEST_F(MovieCache, DamagedFilesNeverAllocateMoreThanTheyHold) {
    const struct {
        const char* what;
        std::vector<BYTE> bytes;
    } files[] = {
        {"empty", {}},
        {"half a header", {3, 0, 0, 0}},
        {"header only", Header(3, 2)},
        {"negative width", Header(-3, 2)},
        {"most negative sizes", Header(INT_MIN, INT_MIN)},
        {"huge sizes", Header(0x7FFFFFFF, 0x7FFFFFFF)},
        {"sizes whose pixel count wraps 32 bits", Header(0x10000, 0x10001)},
        {"shorter than promised", [] {
             std::vector<BYTE> b = Header(1000, 1000);
             b.resize(b.size() + 100, 0x7F);
             return b;
         }()},
    };
    for (const auto& f : files) {
        std::ofstream(Path("damaged.#mfk#"), std::ios::binary).write(reinterpret_cast<const char*>(f.bytes.data()),
                                                                    static_cast<std::streamsize>(f.bytes.size()));
        size_t largest = 0;
        kfxrel::LoadOutcome outcome;
        EXPECT_EQ(Draw(Path("damaged.#mfk#"), largest, outcome), 0) << f.what;
        EXPECT_TRUE(kfxrel::Accepted(outcome)) << f.what;
        EXPECT_LE(largest, f.bytes.size() + kfxrel::kMostBytesForBookkeeping) << f.what;
    }
}

TEST_F(MovieCache, APathToSomethingOtherThanAFileIsRefusedWithoutWaiting) {
    ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0600), 0);
    // Stands in for a writer: if the keyframe ever waits to open the pipe for reading, this
    // opens the other end (which only succeeds while a reader waits) and so releases it.
    std::atomic<bool> done{false}, readerWaited{false};
    std::thread writer([&] {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!done && std::chrono::steady_clock::now() < giveUp) {
            const int fd = ::open(Path("pipe").c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                readerWaited = true;
                ::close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    size_t largest = 0;
    kfxrel::LoadOutcome outcome;
    for (const std::filesystem::path& path : {Path("pipe"), m_dir, std::filesystem::path("/dev/zero"), std::filesystem::path("/dev/null")}) {
        EXPECT_EQ(Draw(path, largest, outcome), 0) << path;
        EXPECT_TRUE(kfxrel::Accepted(outcome)) << path;
    }
    done = true;
    writer.join();
    EXPECT_FALSE(readerWaited) << "the keyframe waited for a writer on a pipe";
}
