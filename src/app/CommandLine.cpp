#include "app/CommandLine.h"

#include "fileio/BmpFile.h"
#include "fileio/ImageFileError.h"
#include "platform/AtomicFile.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <string_view>

namespace px {

namespace {

// One line of the usage per form; a new form is a new row.
struct UsageLine {
    const char* form;
    const char* meaning;
};

constexpr UsageLine kUsage[] = {
    {"pixoran3 [FICHIER]", "ouvre l'éditeur, avec l'image FICHIER si elle est donnée"},
    {"pixoran3 --batch ENTREE SORTIE", "lit l'image ENTREE et l'enregistre sous SORTIE (format selon l'extension)"},
    {"pixoran3 --help", "affiche cette aide"},
};

constexpr const char* kUsageNotes[] = {
    "Les formes --apply (appliquer un effet) et --list-commands (liste des effets) arrivent avec les effets.",
};

std::string lowerExtension(const std::filesystem::path& path)
{
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return ext;
}

// Readers by extension. Anything else is not an image this program knows.
Bitmap readImage(const std::filesystem::path& path)
{
    const std::string ext = lowerExtension(path);
    if (ext == ".bmp" || ext == ".dib" || ext == ".rle")
        return readBmpFile(path);
    throw InvalidImageError("extension inconnue");
}

using Writer = void (*)(const std::filesystem::path&, const Bitmap&);

Writer writerFor(const std::filesystem::path& path)
{
    if (lowerExtension(path) == ".bmp")
        return &writeBmpFile;
    return nullptr;
}

int usageError(std::ostream& err)
{
    err << commandLineUsage();
    return 2;
}

int runBatch(const std::string& input, const std::string& output, std::ostream& err)
{
    const Writer write = writerFor(output);
    if (!write) {
        if (lowerExtension(output) == ".gif")
            err << "Vous ne pouvez pas enregistrer un fichier GIF.\n";
        else
            err << "Format d'enregistrement non pris en charge : " << output << "\n";
        return 1;
    }
    Bitmap image;
    try {
        image = readImage(input);
    } catch (const InvalidImageError& e) {
        err << e.what() << "\n";
        return 1;
    }
    try {
        write(output, image);
    } catch (const std::exception& e) { // FileWriteError, BitmapError
        err << e.what() << "\n";
        return 1;
    }
    return 0;
}

} // namespace

std::string commandLineUsage()
{
    std::size_t width = 0;
    for (const auto& line : kUsage)
        width = std::max(width, std::string_view(line.form).size());
    std::string text = "Usage :\n";
    for (const auto& line : kUsage) {
        const std::string form = line.form;
        text += "  " + form + std::string(width + 2 - form.size(), ' ') + line.meaning + "\n";
    }
    for (const char* note : kUsageNotes)
        text += std::string(note) + "\n";
    return text;
}

std::optional<int> runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty() || !args[0].starts_with("--"))
        return std::nullopt; // the editor, with or without a file to open
    const std::string& option = args[0];
    if (option == "--help") {
        out << commandLineUsage();
        return 0;
    }
    if (option == "--batch") {
        if (args.size() != 3)
            return usageError(err);
        return runBatch(args[1], args[2], err);
    }
    // Other options belong to the editor (the toolkit's own, such as
    // --platform or --style).
    return std::nullopt;
}

std::optional<int> runCommandLine(int argc, char** argv)
{
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    return runCommandLine(args, std::cout, std::cerr);
}

} // namespace px
