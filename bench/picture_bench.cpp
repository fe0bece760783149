// Hostile page pictures, each read by orvane-read-page and shown by
// orvane-tray (the PNGs: only they are pages) in a process of its own: the
// peak memory (resident set) and the time of each, against the bound that
// any picture costs under 1 GB and 30 s. The pictures are made once, row by
// row, in a temporary folder: a 25000 x 25000 16-bit RGBA PNG and a 24000 x
// 24000 grey one (a few MB each), the largest 16-bit RGBA PNG the reader
// decodes, an interlaced PNG at the decoder's bound, a PNG of noise at the
// file's, JPEG headers declaring more than their data holds (baseline and
// progressive), a real 25000 x 25000 JPEG and a progressive one at the
// decoder's bound.
//
// Counters: file_MiB (the picture's file), peak_MiB (the child's resident
// set at its largest), wall_s and cpu_s (user and system), exit (the child's
// exit status), decoder_text (1 when libpng's or libjpeg's own messages
// reached its standard error); the label is the tool's line on its standard
// error.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/ExecutableFolder.h"
#include "support/HostilePictures.h"
#include "vprinter/Store.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using hostile_pictures::Bytes;
using hostile_pictures::PngShape;

const fs::path& Folder() {
    static const fs::path folder = [] {
        fs::path made =
            fs::temp_directory_path() / ("orvane-picture-bench-" + std::to_string(getpid()));
        fs::create_directories(made);
        return made;
    }();
    return folder;
}

void WriteBytes(const fs::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// Every sample the same value.
hostile_pictures::RowFill Even(uint8_t value) {
    return [value](uint32_t, uint8_t* samples, size_t bytes) { std::memset(samples, value, bytes); };
}

// Samples that no compression shrinks.
hostile_pictures::RowFill Noise() {
    return [state = uint64_t{0x9e3779b97f4a7c15}](uint32_t, uint8_t* samples,
                                                   size_t bytes) mutable {
        for (size_t at = 0; at < bytes; ++at) {
            state ^= state << 13;
            state ^= state >> 7;
            state ^= state << 17;
            samples[at] = static_cast<uint8_t>(state);
        }
    };
}

// The picture's file, made the first time it is asked for; empty when it
// could not be written.
std::string Picture(const std::string& name) {
    const fs::path path = Folder() / name;
    if (fs::exists(path)) {
        return path.string();
    }
    bool made = true;
    if (name == "rgba16-25000.png") {
        made = hostile_pictures::WritePng(path, PngShape{25000, 25000, 16, 6}, Even(0));
    } else if (name == "grey-24000.png") {
        made = hostile_pictures::WritePng(path, PngShape{24000, 24000, 8, 0}, Even(0x80));
    } else if (name == "rgba16-16000.png") {
        // 1953 MiB of samples: the most the reader decodes.
        made = hostile_pictures::WritePng(path, PngShape{16000, 16000, 16, 6}, Even(0x80));
    } else if (name == "interlaced-7000.png") {
        // Its passes put together: 187 MiB, within the decoder's 192.
        made = hostile_pictures::WritePng(path, PngShape{7000, 7000, 8, 6, true}, Even(0x80));
    } else if (name == "noise-10000x11000.png") {
        // 315 MiB of file, within the 320 the reader reads.
        made = hostile_pictures::WritePng(path, PngShape{10000, 11000, 8, 2}, Noise());
    } else if (name == "bomb.jpg") {
        WriteBytes(path, hostile_pictures::JpegDeclaring(
                             hostile_pictures::Jpeg(64, 64, true, false), 60000, 10000));
    } else if (name == "progressive-bomb.jpg") {
        WriteBytes(path, hostile_pictures::JpegDeclaring(hostile_pictures::Jpeg(64, 64, true, true),
                                                         20000, 20000));
    } else if (name == "grey-25000.jpg") {
        WriteBytes(path, hostile_pictures::Jpeg(25000, 25000, false, false));
    } else if (name == "progressive-8000.jpg") {
        // Its coefficients: 183 MiB, within the decoder's 192.
        WriteBytes(path, hostile_pictures::Jpeg(8000, 8000, true, true));
    } else {
        made = false;
    }
    return made && fs::exists(path) ? path.string() : std::string();
}

struct Run {
    int exit = -1;
    double peakMiB = 0;
    double wall = 0;
    double cpu = 0;
    std::string said;  // the first line of its standard error
    bool decoderText = false;
};

// Runs the program in a process of its own and waits for it.
Run RunChild(const std::vector<std::string>& argv, const std::vector<std::string>& extra) {
    Run run;
    const fs::path err = Folder() / "stderr";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    std::vector<char*> args;
    for (const auto& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    std::vector<std::string> environment = extra;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        environment.emplace_back(*entry);
    }
    std::vector<char*> env;
    for (auto& entry : environment) {
        env.push_back(entry.data());
    }
    env.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = -1;
    const int spawned =
        posix_spawn(&child, args[0], &actions, nullptr, args.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        run.said = "cannot start " + argv[0];
        return run;
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    run.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
    run.cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
              static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    std::ifstream said(err);
    std::getline(said, run.said);
    const std::string all = run.said + "\n" +
                            std::string(std::istreambuf_iterator<char>(said), {});
    run.decoderText = hostile_pictures::HasDecoderText(all);
    return run;
}

// said: what the child's line starts with, left out of the label.
void Report(benchmark::State& state, const Run& run, const std::string& picture,
            const std::string& said) {
    state.SetIterationTime(run.wall);
    state.counters["file_MiB"] = static_cast<double>(fs::file_size(picture)) / (1 << 20);
    state.counters["peak_MiB"] = run.peakMiB;
    state.counters["wall_s"] = run.wall;
    state.counters["cpu_s"] = run.cpu;
    state.counters["exit"] = run.exit;
    state.counters["decoder_text"] = run.decoderText ? 1 : 0;
    if (run.said.rfind(said, 0) == 0) {
        state.SetLabel(run.said.substr(said.size()));
    }
}

const std::vector<std::string> kPictures = {
    "rgba16-25000.png",  "grey-24000.png", "rgba16-16000.png",     "interlaced-7000.png",
    "noise-10000x11000.png", "bomb.jpg",   "progressive-bomb.jpg", "grey-25000.jpg",
    "progressive-8000.jpg"};

void BM_ReadPage(benchmark::State& state) {
    const std::string picture = Picture(kPictures.at(static_cast<size_t>(state.range(0))));
    if (picture.empty()) {
        state.SkipWithError("the picture could not be made");
        return;
    }
    Run run;
    for (auto _ : state) {
        run = RunChild({orvane::ExecutableFolder() + "/orvane-read-page", picture}, {});
    }
    Report(state, run, picture, "orvane-read-page: " + picture + ": ");
}

// The tray on a state folder whose one printer printed the picture, until
// its window is painted.
void BM_TrayShowsPage(benchmark::State& state) {
    const std::string picture = Picture(kPictures.at(static_cast<size_t>(state.range(0))));
    if (picture.empty()) {
        state.SkipWithError("the picture could not be made");
        return;
    }
    const fs::path stateFolder = Folder() / "state";
    fs::remove_all(stateFolder);
    vprinter::Store store(stateFolder.string());
    std::string reason;
    if (!store.CreatePrinter("VTUSB001", "Orvane K31", reason)) {
        state.SkipWithError(reason.c_str());
        return;
    }
    fs::create_directories(store.PagesFolder("VTUSB001"));
    fs::create_hard_link(picture, fs::path(store.PagesFolder("VTUSB001")) / "page-0001.png");
    Run run;
    for (auto _ : state) {
        run = RunChild({orvane::ExecutableFolder() + "/orvane-tray", "--dir", stateFolder.string(),
                        "--screenshot", (Folder() / "tray.png").string()},
                       {"QT_QPA_PLATFORM=offscreen"});
    }
    Report(state, run, picture, "orvane-tray: ");
    fs::remove_all(stateFolder);
}

void Pictures(benchmark::internal::Benchmark* bench, bool pngOnly) {
    for (size_t i = 0; i < kPictures.size(); ++i) {
        if (!pngOnly || kPictures[i].ends_with(".png")) {
            bench->Arg(static_cast<int64_t>(i));
        }
    }
    bench->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
}

BENCHMARK(BM_ReadPage)->Apply([](auto* bench) { Pictures(bench, false); });
#ifdef ORVANE_BENCH_TRAY
BENCHMARK(BM_TrayShowsPage)->Apply([](auto* bench) { Pictures(bench, true); });
#endif

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    fs::remove_all(Folder(), ignored);
    return 0;
}
