// Text lookups as the windows do them, in the shipped UTF-16 language file: one text, a whole
// window's worth of texts, and a value list.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "lang/multi_language.h"
#include "lang/texts.h"

namespace {

lang::CMultiLanguage& ShippedTable() {
  static lang::CMultiLanguage table = [] {
    const char* dir = std::getenv("VZ_BIN_DIR");
    lang::CMultiLanguage loaded;
    if (loaded.LoadLanguageFile(std::filesystem::path(dir != nullptr ? dir : "bin") / "QVMLu.INI",
                                lang::kIndexSection) != 1) {
      std::abort();  // run from the build folder or set VZ_BIN_DIR
    }
    loaded.SelectLanguage(2);
    return loaded;
  }();
  return table;
}

void BM_LoadLangStringOne(benchmark::State& state) {
  const auto& table = ShippedTable();
  for (auto _ : state) benchmark::DoNotOptimize(table.LoadLangString(lang::texts::MP_STA_Link_Status_Con_AP));
}
BENCHMARK(BM_LoadLangStringOne);

void BM_LoadLangStringWholeCatalogue(benchmark::State& state) {
  const auto& table = ShippedTable();
  for (auto _ : state) {
    for (const lang::TextKey& text : lang::AllTexts()) benchmark::DoNotOptimize(table.LoadLangString(text));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<long>(lang::AllTexts().size()));
}
BENCHMARK(BM_LoadLangStringWholeCatalogue);

void BM_LoadLangList(benchmark::State& state) {
  const auto& table = ShippedTable();
  for (auto _ : state) benchmark::DoNotOptimize(table.LoadLangList(lang::texts::BS_G_Authentication_Value));
}
BENCHMARK(BM_LoadLangList);

}  // namespace
