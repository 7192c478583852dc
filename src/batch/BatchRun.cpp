#include "batch/BatchRun.h"

#include "codecs/ImageFileError.h"
#include "effects/EffectFrame.h"
#include "effects/Parallel.h"
#include "fileio/ImageFormats.h"
#include "fileio/ImageRows.h"
#include "graphics/Canvas.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <mutex>
#include <ostream>
#include <thread>
#include <unistd.h>

namespace px {

namespace {

// Why one file failed, in the words the user sees.
struct Failure {
    std::string message;
};

// A step's result made a band at a time as the writer asks for its rows:
// only one band exists at once, never the whole result beside its source.
class BandRows final : public ImageRows {
public:
    explicit BandRows(EffectBands bands)
        : ImageRows(bands.width, bands.height, 24), bands_(std::move(bands)),
          bandHeight_(
              std::min(height(), std::max(kMinBandRows, int(kBandBytes / stride()) / kMinBandRows * kMinBandRows))),
          buffer_(stride() * std::size_t(bandHeight_))
    {
    }

    const std::uint8_t* row(int y) override
    {
        if (y < first_ || y >= end_) {
            first_ = y / bandHeight_ * bandHeight_;
            end_ = std::min(first_ + bandHeight_, height());
            bands_.fill(RowBand{buffer_.data(), stride(), first_, end_});
        }
        return buffer_.data() + stride() * std::size_t(y - first_);
    }

private:
    // About 2 MB of rows, a multiple of 32 of them: enough for the routines
    // to share a band between threads in whole tiles.
    static constexpr std::size_t kBandBytes = std::size_t(2) << 20;
    static constexpr int kMinBandRows = 32;

    EffectBands bands_;
    int bandHeight_;
    std::vector<std::uint8_t> buffer_;
    int first_ = 0;
    int end_ = 0;
};

// Reads `input`, applies the steps and writes `output`. When the last step
// has a band form and the output's writer takes rows, its result goes to the
// file a band at a time instead of being made whole first. The generator starts
// from the request's seed (or the clock) for every file, as if the file were
// the only one.
void processFile(const BatchRequest& request, const std::filesystem::path& input, const std::filesystem::path& output,
                 EffectScratch& scratch)
{
    const FileFormat& format = fileFormatFor(output);
    if (!format.saveRefusal.empty())
        throw Failure{std::string(format.saveRefusal)};
    if (!format.write)
        throw Failure{"Format d'enregistrement non pris en charge : " + output.string()};

    Bitmap image;
    try {
        image = readImageFile(input);
    } catch (const InvalidImageError& e) {
        throw Failure{e.what()};
    } catch (const BitmapError&) {
        throw Failure{InvalidImageError::kMessage};
    }
    // A reader that found nothing it could use (a PCX file of a layout it
    // does not take) gives an empty image: there is nothing to convert.
    if (image.isEmpty())
        throw Failure{InvalidImageError::kMessage};

    RandomGenerator random;
    if (request.seed) {
        random.setFixedSeed(*request.seed);
        random.setState(*request.seed);
    } else {
        random.seedFromClock();
    }
    // The image's canvas keeps its pen and brush from one command to the
    // next, as a window's does; nothing has drawn on it yet, so its brush is
    // white.
    Canvas canvas(image);
    EffectContext context{request.mainColour, request.backgroundColour, canvas.brushColour(), &random, &canvas};
    try {
        for (std::size_t i = 0; i < request.steps.size(); ++i) {
            const BatchStep& step = request.steps[i];
            if (step.seed) {
                random.setFixedSeed(*step.seed);
                random.setState(*step.seed);
            }
            if (step.mainColour)
                context.mainColour = *step.mainColour;
            if (step.backgroundColour)
                context.backgroundColour = *step.backgroundColour;
            if (appliesNothing(*step.command, step.values))
                continue;
            if (i + 1 == request.steps.size() && format.writeRows) {
                if (auto bands = effectBands(*step.command, image, context, step.values)) {
                    BandRows rows(std::move(*bands));
                    writeImageRows(output, rows, SaveOptions{});
                    return;
                }
            }
            applyEffect(*step.command, image, context, step.values, scratch);
        }
        writeImageFile(output, image, SaveOptions{});
    } catch (const std::exception& e) { // EffectError, FileWriteError, BitmapError
        throw Failure{e.what()};
    }
}

int runOne(const BatchRequest& request, std::ostream& err)
{
    EffectScratch scratch;
    try {
        processFile(request, request.files[0], request.files[1], scratch);
    } catch (const Failure& f) {
        err << f.message << "\n";
        return 1;
    }
    return 0;
}

// The progress line of a terminal: files done out of the total, and the rate.
class Progress {
public:
    Progress(std::size_t total, std::ostream& err)
        : total_(total), err_(err), shown_(::isatty(STDERR_FILENO) == 1), start_(std::chrono::steady_clock::now())
    {
    }

    // Called under the output lock.
    void fileDone()
    {
        ++done_;
        draw();
    }
    void message(const std::string& text)
    {
        if (shown_)
            err_ << "\r\033[K";
        err_ << text << "\n";
        draw();
    }
    void finish()
    {
        if (shown_ && total_)
            err_ << "\n";
        err_.flush();
    }

private:
    void draw()
    {
        if (!shown_)
            return;
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
        char line[96];
        std::snprintf(line, sizeof line, "\r\033[K%zu/%zu fichiers, %.1f fichiers/s", done_, total_,
                      seconds > 0 ? double(done_) / seconds : 0.0);
        err_ << line << std::flush;
    }

    std::size_t total_;
    std::size_t done_ = 0;
    std::ostream& err_;
    bool shown_;
    std::chrono::steady_clock::time_point start_;
};

int runFolder(const BatchRequest& request, std::ostream& err)
{
    const std::filesystem::path folder(request.outputDir);
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        err << "Dossier de sortie introuvable : " << request.outputDir << "\n";
        return 1;
    }
    // Two inputs of the same name would overwrite each other's output.
    std::map<std::string, std::size_t> firstOf;
    std::vector<std::string> clash(request.files.size());
    for (std::size_t i = 0; i < request.files.size(); ++i) {
        const std::string name = outputNameFor(request.files[i], request.outputFormat);
        if (auto [it, fresh] = firstOf.emplace(name, i); !fresh)
            clash[i] = "même nom de sortie que " + request.files[it->second] + " : " + name;
    }

    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t workers = std::min(request.files.size(), request.jobs > 0 ? std::size_t(request.jobs) : cores);
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    std::mutex output;
    Progress progress(request.files.size(), err);
    auto work = [&] {
        // Several files at once already use the cores: one thread per effect.
        const ScopedEffectThreads oneThread(workers > 1 ? 1 : 0);
        EffectScratch scratch;
        for (std::size_t i = next++; i < request.files.size(); i = next++) {
            const std::string& input = request.files[i];
            std::string problem = clash[i];
            if (problem.empty()) {
                try {
                    processFile(request, input, folder / outputNameFor(input, request.outputFormat), scratch);
                } catch (const Failure& f) {
                    problem = f.message;
                }
            }
            const std::lock_guard lock(output);
            if (!problem.empty()) {
                failed = true;
                progress.message(input + " : " + problem);
            }
            progress.fileDone();
        }
    };
    std::vector<std::thread> threads;
    for (std::size_t w = 1; w < workers; ++w)
        threads.emplace_back(work);
    work();
    for (std::thread& t : threads)
        t.join();
    progress.finish();
    return failed ? 1 : 0;
}

} // namespace

std::string outputNameFor(const std::string& input, const std::string& format)
{
    std::filesystem::path name = std::filesystem::path(input).filename();
    if (!format.empty())
        name.replace_extension("." + format);
    return name.string();
}

int runBatch(const BatchRequest& request, std::ostream& err)
{
    return request.outputDir.empty() ? runOne(request, err) : runFolder(request, err);
}

} // namespace px
