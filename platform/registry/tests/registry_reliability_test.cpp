// The store under stress: a writer killed at random moments, a second process polling a flag,
// two threads sharing one object.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <random>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "platform/registry/memory_registry.h"
#include "platform/registry/registry.h"
#include "platform/registry/tests/temp_dir.h"

namespace platform {
namespace {

using namespace std::chrono_literals;
constexpr RegRoot kCU = RegRoot::CurrentUser;

std::u16string Widen(const std::string& text) { return {text.begin(), text.end()}; }

// "<slot>:<generation>:<padding>:<checksum>": a torn or mixed-up write cannot pass Check. The
// padding length varies so that values move between pages as they grow and shrink.
std::u16string Stamp(int slot, std::uint64_t generation) {
  std::string text = std::to_string(slot) + ":" + std::to_string(generation) + ":" +
                     std::string(generation % 700, static_cast<char>('a' + slot));
  return Widen(text + ":" + std::to_string(std::hash<std::string>{}(text)));
}

// The generation of a stamp written for `slot`, or nullopt when the text is not one.
std::optional<std::uint64_t> Check(const RegValue& value, int slot) {
  const auto* wide = std::get_if<std::u16string>(&value.data);
  if (!wide) return std::nullopt;
  const std::string text(wide->begin(), wide->end());
  const std::size_t last = text.rfind(':');
  if (last == std::string::npos) return std::nullopt;
  const std::string body = text.substr(0, last);
  if (text.substr(last + 1) != std::to_string(std::hash<std::string>{}(body))) return std::nullopt;
  if (!body.starts_with(std::to_string(slot) + ":")) return std::nullopt;
  return std::stoull(body.substr(body.find(':') + 1));
}

constexpr int kSingleValues = 4;
constexpr int kBatchValues = 3;

[[noreturn]] void WriteStormUntilKilled(const std::filesystem::path& dir, std::uint64_t generation) {
  OpenRegistryResult opened = OpenSqliteRegistry(dir);
  if (!opened.registry) ::_exit(2);
  Registry& reg = *opened.registry;
  for (;; ++generation) {
    for (int slot = 0; slot < kSingleValues; ++slot) {
      if (reg.SetValue(kCU, u"Storm\\Single", u"v" + Widen(std::to_string(slot)),
                       RegValue::Text(Stamp(slot, generation))) != RegStatus::Ok) {
        ::_exit(3);
      }
    }
    const RegStatus batch = reg.Batch([&](Registry& r) {
      for (int slot = 0; slot < kBatchValues; ++slot) {
        const RegStatus s = r.SetValue(kCU, u"Storm\\Batch", u"b" + Widen(std::to_string(slot)),
                                       RegValue::Text(Stamp(slot, generation)));
        if (s != RegStatus::Ok) return s;
      }
      return RegStatus::Ok;
    });
    if (batch != RegStatus::Ok) ::_exit(4);
  }
}

TEST(RegistryReliability, WriterKilledAtRandomLeavesEveryValueOldOrNew) {
  testing::TempDir dir;
  std::mt19937 random(std::random_device{}());
  std::uint64_t seen[kSingleValues] = {};
  std::uint64_t seen_batch = 0;
  for (int round = 0; round < 20; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const std::uint64_t first_generation = (round + 1) * 1'000'000ull;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) WriteStormUntilKilled(dir.path(), first_generation);
    std::this_thread::sleep_for(std::chrono::milliseconds(std::uniform_int_distribution(5, 60)(random)));
    ::kill(child, SIGKILL);
    int wait_status = 0;
    ASSERT_EQ(::waitpid(child, &wait_status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(wait_status)) << "writer stopped by itself, exit " << WEXITSTATUS(wait_status);

    OpenRegistryResult opened = OpenSqliteRegistry(dir.path());
    ASSERT_TRUE(opened.registry) << opened.error;
    Registry& reg = *opened.registry;
    for (int slot = 0; slot < kSingleValues; ++slot) {
      RegValue value;
      const RegStatus status = reg.GetValue(kCU, u"Storm\\Single", u"v" + Widen(std::to_string(slot)), value);
      if (status == RegStatus::NotFound && seen[slot] == 0) continue;
      ASSERT_EQ(status, RegStatus::Ok) << "slot " << slot;
      const auto generation = Check(value, slot);
      ASSERT_TRUE(generation) << "slot " << slot << " holds a damaged value";
      EXPECT_GE(*generation, seen[slot]) << "a committed write of slot " << slot << " was lost";
      seen[slot] = *generation;
    }
    std::vector<NamedValue> batch;
    const RegStatus status = reg.EnumValues(kCU, u"Storm\\Batch", batch);
    if (status == RegStatus::NotFound && seen_batch == 0) continue;
    ASSERT_EQ(status, RegStatus::Ok);
    ASSERT_EQ(batch.size(), static_cast<std::size_t>(kBatchValues)) << "a batch landed in part";
    for (int slot = 0; slot < kBatchValues; ++slot) {
      const auto generation = Check(batch[slot].value, slot);
      ASSERT_TRUE(generation) << "batch value " << slot << " is damaged";
      if (slot > 0) {
        EXPECT_EQ(*generation, seen_batch) << "a batch landed in part";
      }
      EXPECT_GE(*generation, seen_batch);
      seen_batch = *generation;
    }
  }
  // The storm must have got going at least once, or the checks above proved nothing.
  EXPECT_GT(seen_batch, 0u);
}

// The writer raises a sequence number, the reader acknowledges each one it sees, and the writer
// waits for that acknowledgement: a write the reader misses stalls the run, a gap fails it.
TEST(RegistryReliability, SecondProcessPollingAFlagSeesEveryWriteWithoutErrors) {
  testing::TempDir dir;
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    OpenRegistryResult opened = OpenSqliteRegistry(dir.path());
    if (!opened.registry) ::_exit(2);
    Registry& reg = *opened.registry;
    const auto end = std::chrono::steady_clock::now() + 2s;
    std::uint32_t sequence = 0;
    while (std::chrono::steady_clock::now() < end) {
      ++sequence;
      if (reg.SetValue(kCU, u"Signal", u"GENERAL\\Seq", RegValue::Dword(sequence)) != RegStatus::Ok) ::_exit(3);
      const auto give_up = std::chrono::steady_clock::now() + 5s;
      for (RegValue ack;;) {
        const RegStatus s = reg.GetValue(kCU, u"Signal", u"GENERAL\\Ack", ack);
        if (s == RegStatus::Ok && ack == RegValue::Dword(sequence)) break;
        if (s == RegStatus::Failed) ::_exit(4);
        if (std::chrono::steady_clock::now() > give_up) ::_exit(5);
        std::this_thread::sleep_for(1ms);
      }
    }
    if (reg.SetValue(kCU, u"Signal", u"GENERAL\\Done", RegValue::Dword(sequence)) != RegStatus::Ok) ::_exit(6);
    ::_exit(0);
  }

  OpenRegistryResult opened = OpenSqliteRegistry(dir.path());
  ASSERT_TRUE(opened.registry) << opened.error;
  Registry& reg = *opened.registry;
  std::uint32_t last = 0;
  const auto give_up = std::chrono::steady_clock::now() + 15s;
  while (std::chrono::steady_clock::now() < give_up) {
    RegValue seq, done;
    const RegStatus s = reg.GetValue(kCU, u"Signal", u"GENERAL\\Seq", seq);
    ASSERT_NE(s, RegStatus::Failed);
    if (s == RegStatus::Ok && seq != RegValue::Dword(last)) {
      const std::uint32_t now = std::get<std::uint32_t>(seq.data);
      ASSERT_EQ(now, last + 1) << "a write was missed";
      last = now;
      ASSERT_EQ(reg.SetValue(kCU, u"Signal", u"GENERAL\\Ack", RegValue::Dword(last)), RegStatus::Ok);
    }
    const RegStatus d = reg.GetValue(kCU, u"Signal", u"GENERAL\\Done", done);
    ASSERT_NE(d, RegStatus::Failed);
    if (d == RegStatus::Ok) {
      EXPECT_EQ(done, RegValue::Dword(last));
      break;
    }
    std::this_thread::sleep_for(3ms);
  }
  int wait_status = 0;
  ASSERT_EQ(::waitpid(child, &wait_status, 0), child);
  ASSERT_TRUE(WIFEXITED(wait_status));
  EXPECT_EQ(WEXITSTATUS(wait_status), 0) << "the writer failed (2 open, 3/6 write, 4 read, 5 no ack)";
  EXPECT_GT(last, 50u) << "too few round trips to show anything";
}

TEST(RegistryReliability, TwoThreadsShareOneObject) {
  testing::TempDir dir;
  OpenRegistryResult opened = OpenSqliteRegistry(dir.path());
  ASSERT_TRUE(opened.registry) << opened.error;
  auto memory = CreateMemoryRegistry();
  for (Registry* reg : {opened.registry.get(), static_cast<Registry*>(memory.get())}) {
    constexpr std::uint32_t kWrites = 400;
    std::atomic<bool> writing{true};
    std::atomic<int> failures{0};
    std::thread writer([&] {
      for (std::uint32_t i = 1; i <= kWrites; ++i) {
        if (reg->SetValue(kCU, u"Threads\\k" + Widen(std::to_string(i % 7)), u"n", RegValue::Dword(i)) != RegStatus::Ok ||
            reg->SetValue(kCU, u"Threads", u"last", RegValue::Dword(i)) != RegStatus::Ok) {
          ++failures;
        }
      }
      writing = false;
    });
    std::uint32_t last_seen = 0;
    while (writing) {
      RegValue value;
      const RegStatus s = reg->GetValue(kCU, u"Threads", u"last", value);
      if (s == RegStatus::Ok) {
        const std::uint32_t now = std::get<std::uint32_t>(value.data);
        EXPECT_GE(now, last_seen);
        last_seen = now;
      } else if (s != RegStatus::NotFound) {
        ++failures;
      }
      std::vector<std::u16string> keys;
      if (reg->EnumSubkeys(kCU, u"Threads", keys) == RegStatus::Failed) ++failures;
      EXPECT_LE(keys.size(), 7u);
    }
    writer.join();
    EXPECT_EQ(failures, 0);
    RegValue value;
    ASSERT_EQ(reg->GetValue(kCU, u"Threads", u"last", value), RegStatus::Ok);
    EXPECT_EQ(value, RegValue::Dword(kWrites));
  }
}

}  // namespace
}  // namespace platform
