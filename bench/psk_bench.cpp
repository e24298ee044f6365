// Pass-phrase mapping against OpenSSL's PBKDF2 and against its floor: 2 x 4096 HMACs per
// output block, 2 blocks, one SHA-1 compression per HMAC half = 16,384 compressions.
#define OPENSSL_SUPPRESS_DEPRECATED

#include <benchmark/benchmark.h>
#include <openssl/evp.h>
#include <openssl/sha.h>

#include <array>
#include <string_view>

#include "libs/dot1x/wpa/crypto.h"

namespace {

constexpr std::string_view kPassPhrase = "ThisIsAPassword";
constexpr std::string_view kSsid = "ThisIsASSID";
constexpr double kCompressionsPerMapping = 16384;

void BM_PassPhraseMapping(benchmark::State& state) {
  const wpa::ByteSpan ssid(reinterpret_cast<const std::uint8_t*>(kSsid.data()), kSsid.size());
  for (auto _ : state) {
    wpa::Pmk pmk = wpa::PassPhraseToPmk(kPassPhrase, ssid);
    benchmark::DoNotOptimize(pmk);
  }
}
BENCHMARK(BM_PassPhraseMapping)->Unit(benchmark::kMillisecond);

void BM_OpenSslPbkdf2HmacSha1(benchmark::State& state) {
  std::array<unsigned char, 32> pmk{};
  for (auto _ : state) {
    PKCS5_PBKDF2_HMAC_SHA1(kPassPhrase.data(), static_cast<int>(kPassPhrase.size()),
                           reinterpret_cast<const unsigned char*>(kSsid.data()), static_cast<int>(kSsid.size()), 4096,
                           static_cast<int>(pmk.size()), pmk.data());
    benchmark::DoNotOptimize(pmk);
  }
}
BENCHMARK(BM_OpenSslPbkdf2HmacSha1)->Unit(benchmark::kMillisecond);

// One compression; the floor_s counter scales it to a whole mapping, in seconds.
void BM_Sha1Compression(benchmark::State& state) {
  SHA_CTX ctx;
  SHA1_Init(&ctx);
  std::array<unsigned char, SHA_CBLOCK> block{};
  for (auto _ : state) {
    SHA1_Transform(&ctx, block.data());
    benchmark::DoNotOptimize(ctx);
  }
  state.counters["floor_s"] = benchmark::Counter(static_cast<double>(state.iterations()) / kCompressionsPerMapping,
                                                 benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Sha1Compression);

}  // namespace
