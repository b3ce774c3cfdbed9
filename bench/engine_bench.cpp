// Throughput of the checking engine on generated inputs (and, when asked, on real files):
// the splitter alone, the walk over its tokens alone, the whole check of a file in the page
// cache, a baseline that only classifies every byte through a table, and the walks for the
// first fault and for every fault of bytes in memory. After the runs it prints tables of
// medians and the peak heap of one check of each input.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "dlg_checker.h"
#include "heap_meter.h"
#include "inputs.h"
#include "token_splitter.h"
#include "tra_checker.h"

namespace {

using bench_inputs::Format;

constexpr std::size_t mb = 1u << 20;

// Which rows an input gets: the engine's (baseline, split, walk, check), those and the walks
// for the first fault and for every fault of its bytes in memory (first, every), or only the
// walk for every fault, for a text with faults, which a check would leave at its first.
enum class Rows { Engine, EngineAndFaults, EveryFault };

struct InputPlan {
    std::string name;
    Format format;
    std::size_t size;
    std::string (*make)(std::size_t);
    Rows rows = Rows::Engine;
};

// Inputs are made when a benchmark first needs them, and written to a scratch folder for
// the checks, which read them back from the page cache.
class Inputs {
public:
    Inputs() {
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        folder_ = std::filesystem::temp_directory_path() / ("brindle-bench-" + std::to_string(stamp));
        std::filesystem::create_directories(folder_);
    }
    ~Inputs() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    struct Input {
        std::string bytes;
        std::string path;
    };

    const Input& get(const InputPlan& plan) {
        Input& input = made_[plan.name];
        if (input.path.empty()) {
            input.bytes = plan.make(plan.size);
            std::string file_name = plan.name + (plan.format == Format::Tra ? ".tra" : ".dlg");
            for (char& c : file_name) {
                if (c == ' ') c = '_';
            }
            input.path = (folder_ / file_name).string();
            std::ofstream out(input.path, std::ios::binary | std::ios::trunc);
            out.write(input.bytes.data(), static_cast<std::streamsize>(input.bytes.size()));
        }
        return input;
    }

    const Input* find(const InputPlan& plan) const {
        const auto it = made_.find(plan.name);
        return it == made_.end() ? nullptr : &it->second;
    }

private:
    std::filesystem::path folder_;
    std::map<std::string, Input> made_;
};

Inputs* inputs = nullptr;

void add_delimiters(Format format, TokenSplitter& splitter) {
    if (format == Format::Tra) {
        TraChecker::add_delimiters(splitter);
    } else {
        ArcanumDlgChecker::add_delimiters(splitter);
    }
}

std::unique_ptr<Checker> make_checker(Format format) {
    if (format == Format::Tra) return std::make_unique<TraChecker>(nullptr);
    return std::make_unique<ArcanumDlgChecker>(nullptr);
}

// Real text, to set the generated inputs against: the files of the format under the folder
// named by BRINDLE_BENCH_CORPUS that check without a conflict, whole and in path order,
// each ending in a line end, taken again from the first when all are used, up to `size`
// bytes.
std::string corpus_text(Format format, std::size_t size) {
    const char* folder = std::getenv("BRINDLE_BENCH_CORPUS");
    if (!std::filesystem::is_directory(folder)) {
        std::fprintf(stderr, "BRINDLE_BENCH_CORPUS: %s is no folder\n", folder);
        std::exit(1);
    }
    const std::string extension = format == Format::Tra ? ".tra" : ".dlg";
    std::vector<std::string> paths;
    for (const auto& item : std::filesystem::recursive_directory_iterator(folder)) {
        if (item.is_regular_file() && item.path().extension() == extension) paths.push_back(item.path().string());
    }
    std::sort(paths.begin(), paths.end());
    const std::unique_ptr<Checker> checker = make_checker(format);
    std::vector<std::string> files;
    for (const std::string& path : paths) {
        if (checker->check(path.c_str()).code() != 0) continue;
        std::ifstream in(path, std::ios::binary);
        std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        if (bytes.empty()) continue;
        if (bytes.back() != '\n') bytes += "\r\n";
        files.push_back(std::move(bytes));
    }
    std::string text;
    for (bool grew = true; grew;) {
        grew = false;
        for (const std::string& bytes : files) {
            if (text.size() + bytes.size() > size) continue;
            text += bytes;
            grew = true;
        }
    }
    // Clean files may still make a text with a conflict (a byte order mark inside it, say),
    // and a check that stops early would measure nothing.
    TokenSplitter splitter;
    add_delimiters(format, splitter);
    splitter.split(text);
    const auto length = static_cast<std::int32_t>(text.size());
    const CheckResult result = format == Format::Tra ? TraChecker(nullptr).walk(splitter, length)
                                                     : ArcanumDlgChecker(nullptr).walk(splitter, length);
    if (text.empty() || result.code() != 0) {
        std::fprintf(stderr, "No %s text without a conflict from the files under %s\n", extension.c_str(), folder);
        std::exit(1);
    }
    return text;
}

const std::vector<InputPlan>& input_plans() {
    using namespace bench_inputs;
    static const std::vector<InputPlan> plans = [] {
        std::vector<InputPlan> all = {
            {"tra 1MB", Format::Tra, 1 * mb, realistic_tra},
            {"tra 16MB", Format::Tra, 16 * mb, realistic_tra, Rows::EngineAndFaults},
            {"tra 128MB", Format::Tra, 128 * mb, realistic_tra},
            {"dlg 1MB", Format::Dlg, 1 * mb, realistic_dlg},
            {"dlg 16MB", Format::Dlg, 16 * mb, realistic_dlg, Rows::EngineAndFaults},
            {"dlg 128MB", Format::Dlg, 128 * mb, realistic_dlg},
            {"tra dense 16MB", Format::Tra, 16 * mb, dense_tra},
            {"dlg dense 16MB", Format::Dlg, 16 * mb, dense_dlg},
            {"tra no delimiter 16MB", Format::Tra, 16 * mb, tra_no_delimiter},
            {"tra only delimiters 16MB", Format::Tra, 16 * mb, tra_only_delimiters},
            {"tra open comment 16MB", Format::Tra, 16 * mb, tra_open_comment},
            {"tra long text 16MB", Format::Tra, 16 * mb, tra_long_text},
            {"dlg no delimiter 16MB", Format::Dlg, 16 * mb, dlg_no_delimiter},
            {"dlg only delimiters 16MB", Format::Dlg, 16 * mb, dlg_only_delimiters},
            {"dlg long field 16MB", Format::Dlg, 16 * mb, dlg_long_field},
            {"tra fault every line 16MB", Format::Tra, 16 * mb, tra_fault_every_line, Rows::EveryFault},
            {"dlg fault every line 16MB", Format::Dlg, 16 * mb, dlg_fault_every_line, Rows::EveryFault},
        };
        if (std::getenv("BRINDLE_BENCH_CORPUS") != nullptr) {
            all.push_back({"tra corpus 16MB", Format::Tra, 16 * mb, [](std::size_t size) { return corpus_text(Format::Tra, size); }});
            all.push_back({"dlg corpus 16MB", Format::Dlg, 16 * mb, [](std::size_t size) { return corpus_text(Format::Dlg, size); }});
        }
        return all;
    }();
    return plans;
}

// The format's byte classes: 0 other, 1 blank, 2 the first byte of a delimiter.
std::array<std::uint8_t, 256> byte_classes(Format format) {
    std::array<std::uint8_t, 256> classes{};
    for (unsigned char blank : {' ', '\t', '\r', '\n'}) classes[blank] = 1;
    const char* firsts = format == Format::Tra ? "@=~\"<>[]/*" : "{}\n\r/";
    for (const char* c = firsts; *c != '\0'; ++c) classes[static_cast<unsigned char>(*c)] = 2;
    return classes;
}

void finish(benchmark::State& state, std::size_t bytes) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes));
}

std::uint64_t classify(const std::string& bytes, const std::array<std::uint8_t, 256>& classes) {
    std::uint64_t sum = 0;
    for (const char c : bytes) sum += classes[static_cast<unsigned char>(c)];
    return sum;
}

void baseline(benchmark::State& state, const InputPlan* plan) {
    const std::string& bytes = inputs->get(*plan).bytes;
    const std::array<std::uint8_t, 256> classes = byte_classes(plan->format);
    for (auto _ : state) benchmark::DoNotOptimize(classify(bytes, classes));
    finish(state, bytes.size());
}

// A fresh splitter per split, as a check makes one; copying the text into it and
// destroying it are not timed.
void split(benchmark::State& state, const InputPlan* plan) {
    const std::string& bytes = inputs->get(*plan).bytes;
    for (auto _ : state) {
        state.PauseTiming();
        auto splitter = std::make_unique<TokenSplitter>();
        add_delimiters(plan->format, *splitter);
        std::string text = bytes;
        state.ResumeTiming();
        splitter->split(std::move(text));
        benchmark::DoNotOptimize(splitter->count());
        state.PauseTiming();
        splitter.reset();
        state.ResumeTiming();
    }
    finish(state, bytes.size());
}

// The checker's walk over tokens split in advance.
void walk(benchmark::State& state, const InputPlan* plan) {
    const std::string& bytes = inputs->get(*plan).bytes;
    TokenSplitter splitter;
    add_delimiters(plan->format, splitter);
    splitter.split(bytes);
    const auto size = static_cast<std::int32_t>(bytes.size());
    TraChecker tra(nullptr);
    ArcanumDlgChecker dlg(nullptr);
    for (auto _ : state) {
        const CheckResult result = plan->format == Format::Tra ? tra.walk(splitter, size) : dlg.walk(splitter, size);
        benchmark::DoNotOptimize(result.code());
    }
    finish(state, bytes.size());
}

void check(benchmark::State& state, const InputPlan* plan) {
    const Inputs::Input& input = inputs->get(*plan);
    const std::unique_ptr<Checker> checker = make_checker(plan->format);
    for (auto _ : state) benchmark::DoNotOptimize(checker->check(input.path.c_str()).code());
    finish(state, input.bytes.size());
}

// The first fault of bytes in memory (Checker::first_fault), the walk stopping there.
void first(benchmark::State& state, const InputPlan* plan) {
    const std::string& bytes = inputs->get(*plan).bytes;
    const std::unique_ptr<Checker> checker = make_checker(plan->format);
    for (auto _ : state) benchmark::DoNotOptimize(checker->first_fault(bytes).has_value());
    finish(state, bytes.size());
}

// Every fault of bytes in memory (Checker::all_faults), as brindle-check asks for them of a
// file it has read; the list is made and freed inside the timing, as there.
void every(benchmark::State& state, const InputPlan* plan) {
    const std::string& bytes = inputs->get(*plan).bytes;
    const std::unique_ptr<Checker> checker = make_checker(plan->format);
    for (auto _ : state) benchmark::DoNotOptimize(checker->all_faults(bytes).size());
    finish(state, bytes.size());
}

// Keeps the median (or, without repetitions, the only) bytes per second of every run and
// reports progress on stderr; the table is printed after all runs.
class TableReporter : public benchmark::BenchmarkReporter {
public:
    bool ReportContext(const Context& context) override {
        std::fprintf(stderr, "%d CPUs at %.0f MHz; running...\n", context.cpu_info.num_cpus,
                     context.cpu_info.cycles_per_second / 1e6);
        return true;
    }

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Aggregate && !median) continue;
            const auto rate = run.counters.find("bytes_per_second");
            if (rate == run.counters.end()) continue;
            const std::string& name = run.run_name.function_name;
            if (median || medians_.count(name) == 0) medians_[name] = rate->second.value / mb;
            if (median) std::fprintf(stderr, "  %-36s %8.0f MB/s\n", name.c_str(), medians_[name]);
        }
    }

    double rate(const std::string& measure, const InputPlan& plan) const {
        const auto it = medians_.find(measure + "/" + plan.name);
        return it == medians_.end() ? 0 : it->second;
    }

private:
    std::map<std::string, double> medians_;
};

std::string cell(double value, const char* format) {
    if (value <= 0) return "-";
    // Walking a text of a single token takes no measurable time.
    if (value >= 100000) return "> 100000";
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

double bytes_per_token(const InputPlan& plan, const Inputs::Input& input) {
    TokenSplitter splitter;
    add_delimiters(plan.format, splitter);
    splitter.split(input.bytes);
    return static_cast<double>(input.bytes.size()) / splitter.count();
}

// The speed of `b` over that of `a`, from pairs of runs one right after the other: the
// median of the pairs' ratios, which the machine's slower and faster spells move far less
// than they move rates taken minutes apart.
template <class A, class B>
double paired_speed(A&& a, B&& b) {
    constexpr int pairs = 15;
    auto cpu_seconds = [] { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; };
    std::vector<double> ratios;
    for (int i = 0; i < pairs; ++i) {
        const double start = cpu_seconds();
        a();
        const double between = cpu_seconds();
        b();
        const double end = cpu_seconds();
        if (end > between) ratios.push_back((between - start) / (end - between));
    }
    if (ratios.empty()) return 0;
    std::nth_element(ratios.begin(), ratios.begin() + ratios.size() / 2, ratios.end());
    return ratios[ratios.size() / 2];
}

double paired_check_per_baseline(const InputPlan& plan, const Inputs::Input& input) {
    const std::array<std::uint8_t, 256> classes = byte_classes(plan.format);
    const std::unique_ptr<Checker> checker = make_checker(plan.format);
    return paired_speed([&] { benchmark::DoNotOptimize(classify(input.bytes, classes)); },
                        [&] { benchmark::DoNotOptimize(checker->check(input.path.c_str()).code()); });
}

double paired_every_per_first(const InputPlan& plan, const Inputs::Input& input) {
    const std::unique_ptr<Checker> checker = make_checker(plan.format);
    return paired_speed([&] { benchmark::DoNotOptimize(checker->first_fault(input.bytes).has_value()); },
                        [&] { benchmark::DoNotOptimize(checker->all_faults(input.bytes).size()); });
}

// The most the heap held during one check of the input beyond what it held before, as a
// multiple of the input's size.
double check_peak_per_size(const InputPlan& plan, const Inputs::Input& input) {
    const std::unique_ptr<Checker> checker = make_checker(plan.format);
    const std::size_t before = heap_meter::live();
    heap_meter::restart_peak();
    checker->check(input.path.c_str());
    return static_cast<double>(heap_meter::peak() - before) / static_cast<double>(input.bytes.size());
}

// The most the heap held while every fault of the input was found and listed, beyond what
// it held before, over the input's size; and how many faults there were.
double every_peak_per_size(const InputPlan& plan, const Inputs::Input& input, std::size_t& faults) {
    const std::unique_ptr<Checker> checker = make_checker(plan.format);
    const std::size_t before = heap_meter::live();
    heap_meter::restart_peak();
    faults = checker->all_faults(input.bytes).size();
    return static_cast<double>(heap_meter::peak() - before) / static_cast<double>(input.bytes.size());
}

const InputPlan* find_plan(const std::string& name) {
    for (const InputPlan& plan : input_plans()) {
        if (plan.name == name) return &plan;
    }
    return nullptr;
}

void print_table(const TableReporter& reporter, bool cold_heap) {
    std::printf("\n| input | bytes/token | baseline MB/s | split MB/s | walk MB/s | check MB/s | check / baseline | paired | check peak / size |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    for (const InputPlan& plan : input_plans()) {
        const Inputs::Input* input = inputs->find(plan);
        if (input == nullptr || plan.rows == Rows::EveryFault) continue;
        const double base = reporter.rate("baseline", plan);
        const double checked = reporter.rate("check", plan);
        std::printf("| %s | %.1f | %s | %s | %s | %s | %s | %s | %s |\n", plan.name.c_str(), bytes_per_token(plan, *input),
                    cell(base, "%.0f").c_str(), cell(reporter.rate("split", plan), "%.0f").c_str(),
                    cell(reporter.rate("walk", plan), "%.0f").c_str(), cell(checked, "%.0f").c_str(),
                    cell(base > 0 ? checked / base : 0, "%.2f").c_str(),
                    cell(paired_check_per_baseline(plan, *input), "%.2f").c_str(),
                    cell(check_peak_per_size(plan, *input), "%.2f").c_str());
    }
    std::printf("\nMB = 2^20 bytes. Rates are medians over the repetitions; paired is the median ratio of\n"
                "15 checks each timed right after a baseline pass (CPU time). Peak is the heap high-water\n"
                "mark of one check beyond what was held before it, over the file size. Heap: %s.\n",
                cold_heap ? "glibc's defaults (--cold-heap)" : "freed memory kept and reused");

    std::printf("\n| input (in memory) | faults | first MB/s | every MB/s | every / first | paired | every peak / size |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|\n");
    for (const InputPlan& plan : input_plans()) {
        const Inputs::Input* input = inputs->find(plan);
        if (input == nullptr || plan.rows == Rows::Engine) continue;
        const double first_rate = reporter.rate("first", plan);
        const double every_rate = reporter.rate("every", plan);
        const bool clean = plan.rows == Rows::EngineAndFaults;
        std::size_t faults = 0;
        const double peak = every_peak_per_size(plan, *input, faults);
        std::printf("| %s | %zu | %s | %s | %s | %s | %s |\n", plan.name.c_str(), faults,
                    cell(first_rate, "%.0f").c_str(), cell(every_rate, "%.0f").c_str(),
                    cell(first_rate > 0 ? every_rate / first_rate : 0, "%.3f").c_str(),
                    cell(clean ? paired_every_per_first(plan, *input) : 0, "%.3f").c_str(), cell(peak, "%.2f").c_str());
    }
    std::printf("\nfirst: Checker::first_fault, every: Checker::all_faults, of the bytes in memory; paired\n"
                "is the median ratio of 15 walks for every fault each timed right after a walk for the\n"
                "first (CPU time). Peak is the heap high-water mark of one all_faults over the size.\n");

    // The same figures set against each other.
    auto rate = [&](const char* measure, const char* name) {
        const InputPlan* plan = find_plan(name);
        return plan == nullptr ? 0 : reporter.rate(measure, *plan);
    };
    auto quotient = [](double x, double y) { return x > 0 && y > 0 ? x / y : 0; };
    auto ratio = [&](const char* measure, const char* a, const char* b) {
        return quotient(rate(measure, a), rate(measure, b));
    };
    std::printf("\n| comparison | tra | dlg |\n|---|---:|---:|\n");
    for (const char* measure : {"split", "walk", "check"}) {
        std::printf("| %s MB/s at 128MB / at 1MB | %s | %s |\n", measure,
                    cell(ratio(measure, "tra 128MB", "tra 1MB"), "%.2f").c_str(),
                    cell(ratio(measure, "dlg 128MB", "dlg 1MB"), "%.2f").c_str());
    }
    for (const char* kind : {"no delimiter", "only delimiters", "open comment", "long text", "long field"}) {
        const std::string tra = std::string("tra ") + kind + " 16MB";
        const std::string dlg = std::string("dlg ") + kind + " 16MB";
        std::printf("| check MB/s of %s / of realistic (16MB) | %s | %s |\n", kind,
                    cell(ratio("check", tra.c_str(), "tra 16MB"), "%.2f").c_str(),
                    cell(ratio("check", dlg.c_str(), "dlg 16MB"), "%.2f").c_str());
    }
    std::printf("| every-fault walk / first-fault walk on clean realistic input (16MB) | %s | %s |\n",
                cell(quotient(rate("every", "tra 16MB"), rate("first", "tra 16MB")), "%.3f").c_str(),
                cell(quotient(rate("every", "dlg 16MB"), rate("first", "dlg 16MB")), "%.3f").c_str());
    std::printf("| every-fault walk MB/s with a fault on every line / on clean realistic input (16MB) | %s | %s |\n",
                cell(ratio("every", "tra fault every line 16MB", "tra 16MB"), "%.2f").c_str(),
                cell(ratio("every", "dlg fault every line 16MB", "dlg 16MB"), "%.2f").c_str());
}

}  // namespace

int main(int argc, char** argv) {
    // Unless told otherwise, freed memory stays with the process and serves the next check,
    // so that every size measures the engine and not the system's cost of mapping fresh
    // pages, which on a virtual machine can exceed the whole check.
    bool cold_heap = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--cold-heap") == 0) {
            cold_heap = true;
            for (int j = i; j < argc; ++j) argv[j] = argv[j + 1];
            --argc;
            break;
        }
    }
#ifdef __GLIBC__
    if (!cold_heap) {
        mallopt(M_MMAP_MAX, 0);
        mallopt(M_TRIM_THRESHOLD, INT_MAX);
    }
#endif
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    Inputs made;
    inputs = &made;
    for (const InputPlan& plan : input_plans()) {
        auto add = [&plan](const char* measure, void (*run)(benchmark::State&, const InputPlan*)) {
            benchmark::RegisterBenchmark((measure + ("/" + plan.name)).c_str(), run, &plan)->Unit(benchmark::kMillisecond);
        };
        if (plan.rows != Rows::EveryFault) {
            add("baseline", baseline);
            add("split", split);
            add("walk", walk);
            add("check", check);
        }
        if (plan.rows == Rows::EngineAndFaults) add("first", first);
        if (plan.rows != Rows::Engine) add("every", every);
    }
    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    print_table(reporter, cold_heap);
    benchmark::Shutdown();
    return 0;
}
