// The data set is written by independent jobs (one per group of pictures,
// character folder or music track) spread over the machine's cores. Each job
// has its own output and writes its own files, so the bytes do not depend on
// the order the jobs happen to run in; the tallies are merged in job order.

#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "datagen/datagen.h"
#include "output.h"
#include "pictures.h"

namespace brumil::datagen {

namespace {

using Job = std::function<void(Output&)>;

std::vector<Job> Jobs() {
    std::vector<Job> jobs{WriteFontTable, WriteFrontEndPictures, WriteEffectPictures,
                          WriteHudPictures, WriteSoundEffects};
    for (int i = 0; i < CharacterFolderCount(); ++i) {
        jobs.emplace_back([i](Output& out) { WriteCharacterPictures(out, i); });
    }
    for (int i = 0; i < MusicTrackCount(); ++i) {
        jobs.emplace_back([i](Output& out) { WriteMusicTrack(out, i); });
    }
    return jobs;
}

}  // namespace

GenerateResult GenerateDataSet(const std::filesystem::path& root) {
    const std::vector<Job> jobs = Jobs();
    std::vector<Output> outputs(jobs.size(), Output(root));
    std::atomic<std::size_t> next{0};
    const auto worker = [&] {
        for (std::size_t i = next++; i < jobs.size(); i = next++) jobs[i](outputs[i]);
    };
    const std::size_t threads =
        std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, jobs.size());
    std::vector<std::jthread> pool;
    for (std::size_t t = 1; t < threads; ++t) pool.emplace_back(worker);
    worker();
    pool.clear();  // joins

    GenerateResult merged;
    for (Output& out : outputs) {
        const GenerateResult& r = out.Result();
        merged.ok = merged.ok && r.ok;
        merged.files += r.files;
        merged.errors.insert(merged.errors.end(), r.errors.begin(), r.errors.end());
    }
    return merged;
}

}  // namespace brumil::datagen
