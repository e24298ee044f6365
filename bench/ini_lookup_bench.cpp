// Lookups in a loaded language file of realistic size: an index section and two languages of
// 600 texts each, stored as UTF-16.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/profile/ini_file.h"
#include "platform/text/text.h"

namespace {

std::string LanguageFileBytes() {
  std::u16string text = u"[LANGUAGES]\r\nLanguage_1_Section=English\r\nLanguage_2_Section=Deutsch\r\n";
  for (const char16_t* section : {u"English", u"Deutsch"}) {
    text += platform::Format(u"\r\n[%s]\r\n", section);
    for (int i = 0; i < 600; ++i) {
      text += platform::Format(u"MP_Text_%d = Connected to Access Point number %d, signal %d%%\r\n", i, i, i % 100);
    }
  }
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

void BM_IniLookupOneKey(benchmark::State& state) {
  const auto ini = platform::IniFile::Parse(LanguageFileBytes());
  for (auto _ : state) {
    benchmark::DoNotOptimize(ini->GetString(u"deutsch", u"mp_text_417", u"Default text", 4096));
  }
}
BENCHMARK(BM_IniLookupOneKey)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_IniLookupMissingKey(benchmark::State& state) {
  const auto ini = platform::IniFile::Parse(LanguageFileBytes());
  for (auto _ : state) {
    benchmark::DoNotOptimize(ini->GetInt(u"Deutsch", u"MP_Text_Absent", 1000));
  }
}
BENCHMARK(BM_IniLookupMissingKey)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_IniParseLanguageFile(benchmark::State& state) {
  const std::string bytes = LanguageFileBytes();
  for (auto _ : state) benchmark::DoNotOptimize(platform::IniFile::Parse(bytes));
}
BENCHMARK(BM_IniParseLanguageFile)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
