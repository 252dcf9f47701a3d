// Core helpers on the hot paths: texture-name lookups, number reading, text
// replacement and codec blocks.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/hash_list.h"
#include "core/text.h"
#include "core/val.h"
#include "platform/codec/codec.h"

namespace {

using namespace brumil;

void BM_HashListLookup(benchmark::State& state) {
    core::CHashList list;
    std::vector<std::string> keys;
    for (int i = 0; i < state.range(0); ++i) {
        keys.push_back("data\\chara_" + std::to_string(i) + "\\face.bmp");
        list.Add(keys.back());
    }
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(list.StringTest(keys[i]));
        i = (i + 1) % keys.size();
    }
}
BENCHMARK(BM_HashListLookup)->Arg(100)->Arg(2000)->Arg(1 << 18);

// Filling a list from empty: the cost per key stays flat as the list grows.
void BM_HashListAdd(benchmark::State& state) {
    std::vector<std::string> keys;
    for (int i = 0; i < state.range(0); ++i) keys.push_back("b:" + std::to_string(i));
    for (auto _ : state) {
        core::CHashList list;
        for (const auto& key : keys) list.Add(key);
        benchmark::DoNotOptimize(list.Count());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_HashListAdd)->Arg(2000)->Arg(1 << 18);

void BM_LVal(benchmark::State& state) {
    const std::string texts[] = {"  180", "-2.5", "&HFF00FF", "12345678", "garbage"};
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(core::LVal(texts[i]));
        i = (i + 1) % 5;
    }
}
BENCHMARK(BM_LVal);

void BM_TextChangeTextCompare(benchmark::State& state) {
    std::string base;
    for (int i = 0; i < 20; ++i) base += "説明の行：次の行:";
    for (auto _ : state) {
        std::string text = base;
        core::TextChange(text, ":", "\r\n", core::kTextCompare);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_TextChangeTextCompare);

void BM_DecodeBlock(benchmark::State& state) {
    std::vector<std::uint8_t> pcm(1 << 18);
    for (std::size_t i = 0; i < pcm.size(); ++i) pcm[i] = static_cast<std::uint8_t>(i * 3 / 7);
    const auto block = *platform::EncodeBlock(pcm, static_cast<std::uint32_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(platform::DecodeBlock(block));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * pcm.size()));
}
BENCHMARK(BM_DecodeBlock)->Arg(0)->Arg(2)->Arg(4);

}  // namespace
