#include "batch/BatchArguments.h"

#include "batch/Macro.h"

namespace px {

bool isBatchOption(std::string_view arg)
{
    return arg == "--batch" || arg == "--apply" || arg == "--main-colour" || arg == "--background-colour" ||
           arg == "--seed" || arg == "--macro" || arg == "--output-dir" || arg == "--output-format" || arg == "--jobs";
}

BatchRequest parseBatch(const EffectRegistry& registry, const std::vector<std::string>& args)
{
    BatchRequest request;
    bool options = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!options || arg == "--") {
            if (options)
                options = false;
            else
                request.files.push_back(arg);
            continue;
        }
        auto value = [&](const char* option) -> const std::string& {
            if (i + 1 >= args.size())
                throw UsageError{std::string(option) + " attend une valeur"};
            return args[++i];
        };
        if (arg == "--batch")
            continue;
        if (arg == "--apply") {
            request.steps.push_back(parseStep(registry, value("--apply")));
        } else if (arg == "--macro") {
            for (BatchStep& step : readMacroFile(registry, value("--macro")))
                request.steps.push_back(std::move(step));
        } else if (arg == "--main-colour" || arg == "--background-colour") {
            const std::string& text = value(arg.c_str());
            const auto colour = parseColour(text);
            if (!colour)
                throw UsageError{arg + " attend une couleur RRGGBB : " + text};
            (arg == "--main-colour" ? request.mainColour : request.backgroundColour) = *colour;
        } else if (arg == "--seed") {
            const std::string& text = value("--seed");
            const auto seed = parseSeed(text);
            if (!seed)
                throw UsageError{"--seed attend un nombre de 0 à 4294967295 : " + text};
            request.seed = *seed;
        } else if (arg == "--output-dir") {
            request.outputDir = value("--output-dir");
            if (request.outputDir.empty())
                throw UsageError{"--output-dir attend un dossier"};
        } else if (arg == "--output-format") {
            std::string format = value("--output-format");
            if (format.starts_with('.'))
                format.erase(0, 1);
            if (format.empty() || format.find('/') != std::string::npos)
                throw UsageError{"--output-format attend une extension (png, tif...) : " + format};
            request.outputFormat = format;
        } else if (arg == "--jobs") {
            const std::string& text = value("--jobs");
            const auto jobs = parseSeed(text);
            if (!jobs || *jobs < 1 || *jobs > 256)
                throw UsageError{"--jobs attend un nombre de 1 à 256 : " + text};
            request.jobs = int(*jobs);
        } else if (arg.starts_with("--")) {
            throw UsageError{"option inconnue : " + arg};
        } else {
            request.files.push_back(arg);
        }
    }
    if (request.outputDir.empty()) {
        if (!request.outputFormat.empty() || request.jobs)
            throw UsageError{"--output-format et --jobs vont avec --output-dir"};
        if (request.files.size() != 2)
            throw UsageError{"il faut une image d'entrée et une image de sortie"};
    } else if (request.files.empty()) {
        throw UsageError{"il faut au moins une image d'entrée avec --output-dir"};
    }
    return request;
}

} // namespace px
