#include "batch/CommandLine.h"

#include "codecs/ImageFileError.h"
#include "effects/EffectFrame.h"
#include "fileio/ImageFormats.h"
#include "platform/AtomicFile.h"
#include "registry/EffectRegistry.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string_view>
#include <type_traits>

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
    {"pixoran3 [--batch] --apply COMMANDE[=VALEURS] [--apply ...] [OPTIONS] ENTREE SORTIE",
     "applique les commandes dans l'ordre à ENTREE et enregistre SORTIE"},
    {"pixoran3 --list-commands", "liste les commandes d'effet, leur libellé et leurs valeurs"},
    {"pixoran3 --help", "affiche cette aide"},
};

constexpr const char* kUsageNotes[] = {
    "OPTIONS :",
    "  --main-colour RRGGBB        couleur principale (noir par défaut)",
    "  --background-colour RRGGBB  couleur de fond (blanc par défaut)",
    "  --seed N                    état du générateur aléatoire (0 à 4294967295), rétabli à chaque réinitialisation",
    "  --                          fin des options : ce qui suit est un nom de fichier, même s'il commence par --",
    "VALEURS : séparées par des virgules, dans l'ordre de --list-commands ; une couleur s'écrit RRGGBB.",
    "Codes de sortie : 0 succès, 1 échec de lecture, d'écriture ou d'une commande, 2 arguments incorrects.",
};

struct Application {
    const EffectCommand* command;
    std::vector<int> values;
};

struct BatchRequest {
    std::vector<Application> applications;
    Colour mainColour = kBlack;
    Colour backgroundColour = kWhite;
    std::optional<std::uint32_t> seed;
    std::vector<std::string> files;
};

// A wrong argument: the message, then the usage, exit code 2.
struct UsageError {
    std::string message;
};

std::optional<Colour> parseColour(std::string_view text)
{
    if (text.size() != 6)
        return std::nullopt;
    unsigned value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + 6, value, 16);
    if (ec != std::errc() || ptr != text.data() + 6)
        return std::nullopt;
    // RRGGBB as written by people; the program's colour value is $00BBGGRR.
    return makeColour(int(value >> 16) & 0xFF, int(value >> 8) & 0xFF, int(value) & 0xFF);
}

// A whole number as people write it: decimal digits with an optional sign;
// a leading '+' is accepted for every number, a '-' only where T is signed.
template <typename T> std::optional<T> parseNumber(std::string_view text)
{
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+')
        ++begin;
    if (begin == end || *begin < '0' || *begin > '9') {
        if (!(std::is_signed_v<T> && begin == text.data() && begin != end && *begin == '-'))
            return std::nullopt;
    }
    T value{};
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

std::string lower(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return out;
}

int parseValue(const EffectCommand& command, const EffectParameter& p, std::string_view text)
{
    switch (p.kind) {
    case EffectParameter::Kind::Colour:
        if (const auto c = parseColour(text))
            return int(*c);
        throw UsageError{"couleur RRGGBB attendue pour " + p.name + " de " + command.name + " : " + std::string(text)};
    case EffectParameter::Kind::Choice:
        for (std::size_t i = 0; i < p.choices.size(); ++i)
            if (lower(p.choices[i]) == lower(text))
                return int(i);
        throw UsageError{"choix inconnu pour " + p.name + " de " + command.name + " : " + std::string(text)};
    case EffectParameter::Kind::Integer: break;
    }
    const auto value = parseNumber<int>(text);
    if (!value)
        throw UsageError{"nombre entier attendu pour " + p.name + " de " + command.name + " : " + std::string(text)};
    return *value;
}

Application parseApplication(const EffectRegistry& registry, std::string_view argument)
{
    const std::size_t eq = argument.find('=');
    const std::string name(argument.substr(0, eq));
    const EffectCommand* command = registry.find(name);
    if (!command)
        throw UsageError{"commande inconnue : " + name};
    Application app{command, {}};
    if (eq != std::string_view::npos) {
        std::string_view rest = argument.substr(eq + 1);
        std::size_t index = 0;
        while (true) {
            const std::size_t comma = rest.find(',');
            const std::string_view item = rest.substr(0, comma);
            if (index >= command->parameters.size())
                throw UsageError{"trop de valeurs pour " + name};
            app.values.push_back(parseValue(*command, command->parameters[index++], item));
            if (comma == std::string_view::npos)
                break;
            rest = rest.substr(comma + 1);
        }
    }
    if (const std::string problem = checkEffectValues(*command, app.values); !problem.empty())
        throw UsageError{problem};
    return app;
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
            request.applications.push_back(parseApplication(registry, value("--apply")));
        } else if (arg == "--main-colour" || arg == "--background-colour") {
            const std::string& text = value(arg.c_str());
            const auto colour = parseColour(text);
            if (!colour)
                throw UsageError{arg + " attend une couleur RRGGBB : " + text};
            (arg == "--main-colour" ? request.mainColour : request.backgroundColour) = *colour;
        } else if (arg == "--seed") {
            const std::string& text = value("--seed");
            const auto seed = parseNumber<std::uint32_t>(text);
            if (!seed)
                throw UsageError{"--seed attend un nombre de 0 à 4294967295 : " + text};
            request.seed = *seed;
        } else if (arg.starts_with("--")) {
            throw UsageError{"option inconnue : " + arg};
        } else {
            request.files.push_back(arg);
        }
    }
    if (request.files.size() != 2)
        throw UsageError{"il faut une image d'entrée et une image de sortie"};
    return request;
}

int runBatch(const BatchRequest& request, std::ostream& err)
{
    const std::filesystem::path input = request.files[0];
    const std::filesystem::path output = request.files[1];
    const FileFormat& format = fileFormatFor(output);
    if (!format.saveRefusal.empty()) {
        err << format.saveRefusal << "\n";
        return 1;
    }
    if (!format.write) {
        err << "Format d'enregistrement non pris en charge : " << output.string() << "\n";
        return 1;
    }

    Bitmap image;
    try {
        image = readImageFile(input);
    } catch (const InvalidImageError& e) {
        err << e.what() << "\n";
        return 1;
    } catch (const BitmapError&) {
        err << InvalidImageError::kMessage << "\n";
        return 1;
    }
    // A reader that found nothing it could use (a PCX file of a layout it
    // does not take) gives an empty image: there is nothing to convert.
    if (image.isEmpty()) {
        err << InvalidImageError::kMessage << "\n";
        return 1;
    }

    RandomGenerator random;
    if (request.seed) {
        random.setFixedSeed(*request.seed);
        random.setState(*request.seed);
    } else {
        random.seedFromClock();
    }
    // A canvas that nothing has drawn on holds a white brush.
    const EffectContext context{request.mainColour, request.backgroundColour, kWhite, &random};
    EffectScratch scratch;
    try {
        for (const auto& app : request.applications)
            if (!appliesNothing(*app.command, app.values))
                applyEffect(*app.command, image, context, app.values, scratch);
        writeImageFile(output, image, SaveOptions{});
    } catch (const std::exception& e) { // EffectError, FileWriteError, BitmapError
        err << e.what() << "\n";
        return 1;
    }
    return 0;
}

std::string parameterText(const EffectParameter& p)
{
    if (!p.note.empty())
        return p.name + "(" + std::to_string(p.minimum) + ".." + std::to_string(p.maximum) + " " + p.note + ")";
    switch (p.kind) {
    case EffectParameter::Kind::Colour: return p.name + "(RRGGBB)";
    case EffectParameter::Kind::Choice: {
        std::string text = p.name + "(";
        for (std::size_t i = 0; i < p.choices.size(); ++i)
            text += (i ? "|" : "") + p.choices[i];
        return text + ")";
    }
    case EffectParameter::Kind::Integer: break;
    }
    return p.name + "(" + std::to_string(p.minimum) + ".." + std::to_string(p.maximum) + ")";
}

void listCommands(const EffectRegistry& registry, std::ostream& out)
{
    for (const auto& c : registry.all()) {
        std::string caption;
        for (char ch : c.caption)
            if (ch != '&')
                caption += ch;
        std::string params;
        for (std::size_t i = 0; i < c.parameters.size(); ++i)
            params += (i ? "," : "") + parameterText(c.parameters[i]);
        out << c.name << '\t' << caption << '\t' << params << '\n';
    }
}

bool isBatchOption(const std::string& arg)
{
    return arg == "--batch" || arg == "--apply" || arg == "--main-colour" || arg == "--background-colour" ||
           arg == "--seed";
}

bool isOurOption(const std::string& arg)
{
    return isBatchOption(arg) || arg == "--help" || arg == "--list-commands";
}

// The toolkit's own options that the editor accepts in their "--" form (the
// README lists them); the toolkit takes them out of the arguments itself.
constexpr std::string_view kQtOptionsWithValue[] = {"--platform",        "--platformpluginpath",
                                                    "--platformtheme",   "--plugin",
                                                    "--qwindowgeometry", "--qwindowicon",
                                                    "--qwindowtitle",    "--style",
                                                    "--stylesheet",      "--session",
                                                    "--display",         "--geometry"};
constexpr std::string_view kQtFlags[] = {"--reverse", "--widgetcount", "--nograb", "--dograb", "--sync"};

bool qtOptionTakesValue(std::string_view arg)
{
    return std::find(std::begin(kQtOptionsWithValue), std::end(kQtOptionsWithValue), arg) !=
           std::end(kQtOptionsWithValue);
}

bool isQtOption(std::string_view arg)
{
    return qtOptionTakesValue(arg) || std::find(std::begin(kQtFlags), std::end(kQtFlags), arg) != std::end(kQtFlags) ||
           arg.starts_with("--style=") || arg.starts_with("--stylesheet=");
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
        text += "  " + form + "\n      " + line.meaning + "\n";
    }
    for (const char* note : kUsageNotes)
        text += std::string(note) + "\n";
    return text;
}

std::optional<int> runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const auto usageError = [&](const std::string& message) {
        err << message << "\n" << commandLineUsage();
        return 2;
    };
    // Standard output may be a full disk or a closed pipe: say so, exit 1.
    const auto flushed = [&]() {
        errno = 0;
        out.flush();
        if (out)
            return 0;
        const int reason = errno;
        err << "Impossible d'écrire sur la sortie standard"
            << (reason ? std::string(" (") + std::strerror(reason) + ")" : "") << "\n";
        return 1;
    };
    if (args.empty() || args[0] == "--" || !args[0].starts_with("--") || isQtOption(args[0])) {
        // The editor, with or without a file to open. Before "--", an
        // argument that starts with "--" must be ours or the toolkit's.
        for (std::size_t i = 0; i < args.size() && args[i] != "--"; ++i) {
            const std::string& arg = args[i];
            if (!arg.starts_with("--") || isOurOption(arg))
                continue;
            if (!isQtOption(arg))
                return usageError("option inconnue : " + arg);
            if (qtOptionTakesValue(arg) && ++i == args.size())
                return usageError(arg + " attend une valeur");
        }
        return std::nullopt;
    }
    const std::string& option = args[0];
    if (option == "--help") {
        out << commandLineUsage();
        return flushed();
    }
    if (option == "--list-commands") {
        if (args.size() != 1)
            return usageError("--list-commands ne prend pas d'argument");
        listCommands(makeEffectRegistry(), out);
        return flushed();
    }
    if (!isBatchOption(option))
        return usageError("option inconnue : " + option);
    const EffectRegistry registry = makeEffectRegistry();
    try {
        return runBatch(parseBatch(registry, args), err);
    } catch (const UsageError& e) {
        return usageError(e.message);
    }
}

std::optional<int> runCommandLine(int argc, char** argv)
{
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    return runCommandLine(args, std::cout, std::cerr);
}

} // namespace px
