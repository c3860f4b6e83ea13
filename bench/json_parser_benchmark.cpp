// Speed and memory of the JSON reader against two widely used readers, on generated audio
// event tables of about 64 KiB, 1 MiB and 16 MiB, plus pathological nesting.
//
// Reported per run: throughput (bytes_per_second), peak_memory_x (the most heap the parse
// held at once, result included, divided by the input size; measured on one extra parse
// outside the timed loop), and at the end the ratio of the 16 MiB time to the 1 MiB time for
// each reader (linear scaling gives about 16). Freed memory stays in the process (see main).
//
// Run: build/<dir>/bench/json_parser_benchmark [--benchmark_filter=...]

#include "marrowgate/core/mg_json_parser.h"

// The replaced operator new and delete below are malloc and free underneath, which GCC takes
// for a mismatched pair wherever it inlines them.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <nlohmann/json.hpp>
#include <rapidjson/document.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <new>
#include <string>

namespace {

// Every heap byte the process holds, counted by the replaced global operator new below and by
// the allocator handed to RapidJSON (which allocates with malloc).
std::atomic<std::size_t> theLiveBytes{0};
std::atomic<std::size_t> thePeakBytes{0};

void CountAllocation(void* block)
{
    if (block != nullptr) {
        const std::size_t live = theLiveBytes += malloc_usable_size(block);
        std::size_t peak = thePeakBytes.load();
        while (live > peak && !thePeakBytes.compare_exchange_weak(peak, live)) {
        }
    }
}

void CountRelease(void* block)
{
    if (block != nullptr) {
        theLiveBytes -= malloc_usable_size(block);
    }
}

struct CountingAllocator
{
    static constexpr bool kNeedFree = true;
    void* Malloc(std::size_t size)
    {
        void* block = size != 0 ? std::malloc(size) : nullptr;
        CountAllocation(block);
        return block;
    }
    void* Realloc(void* original, std::size_t, std::size_t newSize)
    {
        CountRelease(original);
        void* block = std::realloc(original, newSize);
        CountAllocation(block);
        return block;
    }
    static void Free(void* block)
    {
        CountRelease(block);
        std::free(block);
    }
};

using RapidDocument =
    rapidjson::GenericDocument<rapidjson::UTF8<>, rapidjson::MemoryPoolAllocator<CountingAllocator>,
                               CountingAllocator>;

// A deterministic audio event table, laid out as a person would write it, of at least
// `targetSize` bytes.
std::string MakeEventTable(std::size_t targetSize)
{
    std::uint32_t state = 12345;
    const auto next = [&state](std::uint32_t range) {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % range;
    };
    std::string text = "{\n  \"version\": 3,\n  \"audio_events\": [\n";
    char buffer[1024];
    for (int event = 0; text.size() < targetSize; ++event) {
        const bool music = next(8) == 0;
        std::snprintf(buffer, sizeof buffer, "%s    {\n      \"name\": \"%s_%05d\",\n",
                      event == 0 ? "" : ",\n", music ? "music" : "effect", event);
        text += buffer;
        if (next(3) == 0) {
            std::snprintf(buffer, sizeof buffer, "      \"file\": \"data/audio/sound_%05d.ogg\",\n", event);
        } else {
            std::snprintf(
                buffer, sizeof buffer,
                "      \"file\": [\n        \"data/audio/sound_%05d_a.wav\",\n"
                "        { \"name\": \"data/audio/sound_%05d_b.wav\", \"volume\": 0.%u, \"pitch\": 1.%02u }\n"
                "      ],\n",
                event, event, next(10), next(100));
        }
        text += buffer;
        std::snprintf(buffer, sizeof buffer,
                      "      \"looping\": %s,\n      \"music\": %s,\n      \"streaming\": %s,\n"
                      "      \"volume\": 0.%02u,\n      \"min_volume\": 0.5,\n      \"max_volume\": 1.0,\n"
                      "      \"pitch\": 1,\n      \"min_pitch\": 0.9%u,\n      \"max_pitch\": 1.1%u\n    }",
                      music ? "true" : "false", music ? "true" : "false", music ? "true" : "false", next(100),
                      next(10), next(10));
        text += buffer;
    }
    text += "\n  ]\n}\n";
    return text;
}

const std::string& EventTable(std::size_t size)
{
    static std::map<std::size_t, std::string> tables;
    auto [table, added] = tables.try_emplace(size);
    if (added) {
        table->second = MakeEventTable(size);
    }
    return table->second;
}

// The peak heap one parse holds beyond what was held before it, relative to the input.
template <typename Parse> double PeakMemoryRatio(const std::string& text, Parse parse)
{
    const std::size_t before = theLiveBytes.load();
    thePeakBytes = before;
    parse(text);
    return static_cast<double>(thePeakBytes.load() - before) / static_cast<double>(text.size());
}

template <typename Parse> void RunParse(benchmark::State& state, const std::string& text, Parse parse)
{
    state.counters["peak_memory_x"] = PeakMemoryRatio(text, parse);
    for (auto _ : state) {
        parse(text);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void ParseWithQuorvane(const std::string& text)
{
    const Marrowgate::Core::DynamicStructure result = Marrowgate::Core::ParseJson(text);
    benchmark::DoNotOptimize(result.size());
    if (!result.IsStructure()) {
        std::abort();
    }
}

void ParseWithNlohmann(const std::string& text)
{
    const nlohmann::json result = nlohmann::json::parse(text);
    benchmark::DoNotOptimize(result.size());
}

void ParseWithRapidJson(const std::string& text)
{
    RapidDocument document;
    document.Parse(text.c_str(), text.size());
    benchmark::DoNotOptimize(document.IsObject());
    if (document.HasParseError()) {
        std::abort();
    }
}

void DeepNesting(benchmark::State& state, std::string text)
{
    state.counters["peak_memory_x"] = PeakMemoryRatio(text, [](const std::string& input) {
        benchmark::DoNotOptimize(Marrowgate::Core::ParseJson(input).IsNil());
    });
    for (auto _ : state) {
        benchmark::DoNotOptimize(Marrowgate::Core::ParseJson(text).IsNil());
    }
}

// Prints, after the usual table, each reader's 16 MiB CPU time divided by its 1 MiB CPU time
// (CPU time, because the wall clock also counts other programs sharing the cores).
class ScalingReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            mSeconds[run.benchmark_name()] = run.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        for (const char* reader : {"quorvane", "nlohmann", "rapidjson"}) {
            const auto large = mSeconds.find(std::string("parse/") + reader + "/16MiB");
            const auto medium = mSeconds.find(std::string("parse/") + reader + "/1MiB");
            if (large != mSeconds.end() && medium != mSeconds.end()) {
                std::printf("%-10s 16MiB / 1MiB time: %.2f\n", reader, large->second / medium->second);
            }
        }
    }

private:
    std::map<std::string, double> mSeconds;
};

} // namespace

void* operator new(std::size_t size)
{
    void* block = std::malloc(size != 0 ? size : 1);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    CountAllocation(block);
    return block;
}

void operator delete(void* block) noexcept
{
    CountRelease(block);
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    operator delete(block);
}

int main(int argc, char** argv)
{
    // Keep freed memory in the process. By default glibc hands the tens of megabytes a 16 MiB
    // tree frees back to the kernel after every iteration, so each 16 MiB iteration pays for
    // faulting and zeroing fresh pages while the 1 MiB loop reuses warm ones; that skews the
    // scaling ratio for every reader alike. (Start with QUORVANE_BENCH_DEFAULT_MALLOC=1 to see it.)
    if (std::getenv("QUORVANE_BENCH_DEFAULT_MALLOC") == nullptr) {
        mallopt(M_TRIM_THRESHOLD, 1 << 30);
        mallopt(M_MMAP_THRESHOLD, 32 << 20);
    }
    const std::pair<const char*, std::size_t> sizes[] = {
        {"64KiB", 64u << 10}, {"1MiB", 1u << 20}, {"16MiB", 16u << 20}};
    for (const auto& [label, size] : sizes) {
        const std::string& text = EventTable(size);
        benchmark::RegisterBenchmark(
            (std::string("parse/quorvane/") + label).c_str(),
            [&text](benchmark::State& state) { RunParse(state, text, ParseWithQuorvane); })
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(
            (std::string("parse/nlohmann/") + label).c_str(),
            [&text](benchmark::State& state) { RunParse(state, text, ParseWithNlohmann); })
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(
            (std::string("parse/rapidjson/") + label).c_str(),
            [&text](benchmark::State& state) { RunParse(state, text, ParseWithRapidJson); })
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("nesting/quorvane/1M_unclosed", DeepNesting, std::string(1'000'000, '['))
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("nesting/quorvane/1M_balanced", DeepNesting,
                                 std::string(1'000'000, '[') + std::string(1'000'000, ']'))
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("nesting/quorvane/1M_inner_unclosed", DeepNesting,
                                 "[" + std::string(1'000'000, '[') + "]")
        ->Unit(benchmark::kMillisecond);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    ScalingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
