// How fast the scene is on this machine: the update pass and the spawn on the
// processor, and the drawing pass through Mesa's OpenGL into an offscreen
// buffer on the X display of LUMENFALL_TEST_STATE, side by side with the two
// yardsticks of reference_draws.h. After Google Benchmark's own table comes
// a summary with each drawing figure's ratio to the floor.
//
//   scene_bench [--summary_csv=FILE] [benchmark options]
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "flyer.h"
#include "offscreen_context.h"
#include "platform/gl.h"
#include "reference_draws.h"
#include "render.h"
#include "scene_population.h"
#include "utility/timer.h"

namespace {
constexpr double FRAME_AT_TARGET_RATE_NS = 1e9 / 30.0;
const int SIZES[][2] = {{1024, 768}, {1920, 1080}};
const int FLYER_COUNTS[] = {10, 50, 100, 200};

// --- The update pass and the spawn --------------------------------------

void Update(benchmark::State& state)
{
    PopulateScene(FLYER_SLOTS);
    MaxFlyers = MAX_FLYERS;
    // A rate below the target and no slow last frame: the controller's
    // checks run, but the limit holds at 200.
    SampleFrameRate = 25.0;
    FrameInterval = 0.0;
    // Flyers retire and are replaced as in the running saver.
    for (auto _ : state) CRender::Update(1.0 / 30.0);
    state.counters["per_flyer"] = benchmark::Counter(
        FLYER_SLOTS, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    ClearScene();
}
BENCHMARK(Update);

void Spawn(benchmark::State& state)
{
    SampleFrameRate = 25.0;
    for (auto _ : state) {
        CFlyer* flyer = new CFlyer;
        benchmark::DoNotOptimize(flyer);
        delete flyer;
    }
}
BENCHMARK(Spawn);

// --- The drawing pass and its yardsticks --------------------------------

OffscreenContext* Context = nullptr;

// Every figure includes glFinish: Mesa renders on its own threads, so the
// frame is done only when they are.
template <void (*DrawFrame)()>
void Draw(benchmark::State& state, bool floor)
{
    const int width = int(state.range(0)), height = int(state.range(1));
    if (!Context->Use(width, height)) {
        state.SkipWithError("no offscreen buffer of this size");
        return;
    }
    PopulateScene(int(state.range(2)));
    if (floor) PrepareFloor();
    CRender::Resize(width, height);
    // Only errors of this benchmark's own frames count.
    while (glGetError() != GL_NO_ERROR) {}
    DrawFrame();
    glFinish();
    for (auto _ : state) {
        DrawFrame();
        glFinish();
    }
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR) {
        char text[64];
        std::snprintf(text, sizeof text, "OpenGL error 0x%04x", unsigned(error));
        state.SkipWithError(text);
    }
    if (floor) ReleaseFloor();
    ClearScene();
}

void DrawSceneFrame() { CRender::Draw(); }
void DrawScene(benchmark::State& state) { Draw<DrawSceneFrame>(state, false); }
void DrawImmediate(benchmark::State& state) { Draw<DrawImmediateFrame>(state, false); }
void DrawFloor(benchmark::State& state) { Draw<DrawFloorFrame>(state, true); }

void DrawingArguments(benchmark::internal::Benchmark* benchmark)
{
    for (const auto& size : SIZES)
        for (int count : FLYER_COUNTS) benchmark->Args({size[0], size[1], count});
    benchmark->UseRealTime()->Unit(benchmark::kMillisecond);
}
BENCHMARK(DrawScene)->Apply(DrawingArguments);
BENCHMARK(DrawImmediate)->Apply(DrawingArguments);
BENCHMARK(DrawFloor)->Apply(DrawingArguments);

// --- The summary ----------------------------------------------------------

// Keeps each run's real time per iteration, in seconds, by name without the
// "/real_time" suffix (the mean where repetitions were asked for).
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> seconds;

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "mean") continue;
            std::string name = run.run_name.function_name;
            if (!run.run_name.args.empty()) name += "/" + run.run_name.args;
            seconds[name] =
                run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        }
    }
};

bool Lookup(const SummaryReporter& reporter, const std::string& name, double* seconds)
{
    const auto found = reporter.seconds.find(name);
    if (found == reporter.seconds.end()) return false;
    *seconds = found->second;
    return true;
}

void PrintSummary(const SummaryReporter& reporter, const char* csv_path)
{
    double update = 0, spawn = 0;
    std::printf("\n");
    if (Lookup(reporter, "Update", &update))
        std::printf("Update pass, %d live flyers: %.0f ns per frame, %.1f ns per flyer, %.4f%% of "
                    "a frame at 30 fps\n",
                    FLYER_SLOTS, update * 1e9, update * 1e9 / FLYER_SLOTS,
                    100.0 * update * 1e9 / FRAME_AT_TARGET_RATE_NS);
    if (Lookup(reporter, "Spawn", &spawn)) std::printf("Spawn: %.0f ns per flyer\n", spawn * 1e9);

    FILE* csv = csv_path != nullptr ? std::fopen(csv_path, "w") : nullptr;
    if (csv_path != nullptr && csv == nullptr)
        std::fprintf(stderr, "scene_bench: cannot write %s\n", csv_path);
    if (csv != nullptr) std::fprintf(csv, "# width height flyers scene_ms immediate_ms floor_ms\n");
    std::printf("\nDrawing pass, ms per frame (floor: %s)\n", FloorSource());
    std::printf("%-10s %6s %9s %9s %9s %12s %16s\n", "size", "flyers", "scene", "immediate",
                "floor", "scene/floor", "immediate/floor");
    for (const auto& size : SIZES) {
        for (int count : FLYER_COUNTS) {
            char args[64];
            std::snprintf(args, sizeof args, "/%d/%d/%d", size[0], size[1], count);
            double scene = 0, immediate = 0, floor = 0;
            if (!Lookup(reporter, std::string("DrawScene") + args, &scene) ||
                !Lookup(reporter, std::string("DrawImmediate") + args, &immediate) ||
                !Lookup(reporter, std::string("DrawFloor") + args, &floor))
                continue;
            char label[32];
            std::snprintf(label, sizeof label, "%dx%d", size[0], size[1]);
            std::printf("%-10s %6d %9.3f %9.3f %9.3f %12.2f %16.2f\n", label, count, scene * 1e3,
                        immediate * 1e3, floor * 1e3, scene / floor, immediate / floor);
            if (csv != nullptr)
                std::fprintf(csv, "%d %d %d %.4f %.4f %.4f\n", size[0], size[1], count, scene * 1e3,
                             immediate * 1e3, floor * 1e3);
        }
    }
    if (csv != nullptr) std::fclose(csv);
}
}  // namespace

int main(int argc, char** argv)
{
    // Our own option first; Google Benchmark takes the rest.
    const char* csv_path = nullptr;
    const char CSV_OPTION[] = "--summary_csv=";
    std::vector<char*> arguments;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], CSV_OPTION, sizeof CSV_OPTION - 1) == 0)
            csv_path = argv[i] + sizeof CSV_OPTION - 1;
        else
            arguments.push_back(argv[i]);
    }
    int count = int(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    if (benchmark::ReportUnrecognizedArguments(count, arguments.data())) return 1;

    std::vector<std::pair<int, int>> sizes;
    for (const auto& size : SIZES) sizes.emplace_back(size[0], size[1]);
    OffscreenContext context(sizes);
    if (!context.ok()) {
        std::fprintf(stderr, "scene_bench: no GLX context on display '%s'\n",
                     context.display_name().c_str());
        return 1;
    }
    Context = &context;
    CRender::Init(context.hdc());
    std::printf("OpenGL: %s; %s; %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)),
                reinterpret_cast<const char*>(glGetString(GL_VERSION)),
                reinterpret_cast<const char*>(glGetString(GL_VENDOR)));
    for (const auto& size : SIZES) {
        unsigned int width = 0, height = 0;  // as the server made it
        if (context.Use(size[0], size[1])) {
            glXQueryDrawable(glXGetCurrentDisplay(), glXGetCurrentDrawable(), GLX_WIDTH, &width);
            glXQueryDrawable(glXGetCurrentDisplay(), glXGetCurrentDrawable(), GLX_HEIGHT, &height);
        }
        std::printf("Offscreen buffer for %dx%d: %ux%u\n", size[0], size[1], width, height);
    }
    std::fflush(stdout);

    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintSummary(reporter, csv_path);
    CRender::Close();
    benchmark::Shutdown();
    return 0;
}
