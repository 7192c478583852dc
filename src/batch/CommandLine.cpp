#include "batch/CommandLine.h"

#include "batch/BatchArguments.h"
#include "batch/BatchRun.h"
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
    {"pixoran3 [--batch] --macro MACRO [OPTIONS] ENTREE SORTIE",
     "rejoue les commandes du fichier MACRO (\"Enregistrer la macro...\" de l'éditeur)"},
    {"pixoran3 [--batch] [--apply ...] [--macro ...] --output-dir DOSSIER [--output-format EXT] [--jobs N] FICHIER...",
     "traite chaque FICHIER et l'enregistre dans DOSSIER sous son nom (avec l'extension EXT si elle est donnée)"},
    {"pixoran3 --list-commands", "liste les commandes d'effet, leur libellé et leurs valeurs"},
    {"pixoran3 --help", "affiche cette aide"},
};

constexpr const char* kUsageNotes[] = {
    "OPTIONS :",
    "  --main-colour RRGGBB        couleur principale (noir par défaut)",
    "  --background-colour RRGGBB  couleur de fond (blanc par défaut)",
    "  --seed N                    état du générateur aléatoire (0 à 4294967295), rétabli à chaque réinitialisation",
    "  --output-dir DOSSIER        dossier des images traitées (plusieurs fichiers d'entrée)",
    "  --output-format EXT         extension, donc format, des images traitées (par défaut celle de chaque entrée)",
    "  --jobs N                    fichiers traités en même temps (par défaut un par processeur)",
    "  --                          fin des options : ce qui suit est un nom de fichier, même s'il commence par --",
    "VALEURS : séparées par des virgules, dans l'ordre de --list-commands ; une couleur s'écrit RRGGBB,",
    "          un choix par son libellé ; les valeurs entre crochets peuvent être omises à la fin.",
    "Codes de sortie : 0 succès, 1 échec de lecture, d'écriture ou d'une commande, 2 arguments incorrects.",
};

std::string parameterText(const EffectParameter& p)
{
    if (p.optional) {
        EffectParameter required = p;
        required.optional = false;
        return "[" + parameterText(required) + "]";
    }
    if (!p.note.empty())
        return p.name + "(" + std::to_string(p.minimum) + ".." + std::to_string(p.maximum) + " " + p.note + ")";
    switch (p.kind) {
    case EffectParameter::Kind::Colour:
        return p.name + "(RRGGBB)";
    case EffectParameter::Kind::Choice: {
        std::string text = p.name + "(";
        for (std::size_t i = 0; i < p.choices.size(); ++i)
            text += (i ? "|" : "") + p.choices[i];
        return text + ")";
    }
    case EffectParameter::Kind::Integer:
        break;
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

bool isOurOption(std::string_view arg)
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
