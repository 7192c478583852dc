#pragma once
// "&Formats associés...": the image extensions the user may have opened by
// this program, and what associating one writes.
//
// A ticked extension E gets, in the class store, the class "Pixoran3.Image"
// as the default value of E, the program's command as that of
// E\shell\open\command and, for the six first rows, its icon as that of
// E\DefaultIcon; the desktop makes the program the default application of
// E's MIME type; the settings file records Formats/<e> = "1". An extension
// recorded as associated and no longer ticked gets its standard class back,
// the desktop its previous default application (unless another ticked
// extension shares the MIME type), and Formats/<e> = "0". The command and
// icon keys written earlier stay. Extensions never associated here are not
// touched.
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace px {

class FileTypeStore;
class SettingsFile;

struct AssociationRow {
    std::string_view extension;     // lower case, without dot: also the key of section Formats
    bool icon;                      // an icon key is written
    std::string_view restoredClass; // the class the extension gets back
    std::string_view mimeType;
};

// The rows in the order of the window's list.
std::span<const AssociationRow> associationRows();

inline constexpr const char* kAssociationClass = "Pixoran3.Image";
inline constexpr const char* kFormatsSection = "Formats";

// "Fichiers BMP", "*.bmp", ".bmp".
std::string associationItemText(const AssociationRow& row);
std::string associationPattern(const AssociationRow& row);
std::string associationKey(const AssociationRow& row);

// The command that opens a file with the program at `executable`, as a
// desktop command line: the path quoted (with '"', '`', '$' and '\' escaped
// inside the quotes, '%' doubled), then the file as %f. The class store
// records it.
std::string openCommand(const std::string& executable);
// The same command for the desktop entry, where the path is quoted only when
// it holds a character that the command line format reserves: the simple
// launchers of the desktop tools take an unquoted first word as the program.
std::string desktopCommand(const std::string& executable);

// The ticks the window shows: Formats/<e> other than "0" (a missing key
// reads "0").
std::vector<bool> associatedInSettings(const SettingsFile& settings);

// Applies the ticks (one per row, in order) for the program at
// `executable`. Throws what the store or the settings file throws; the rows
// handled before keep their new state.
void applyAssociations(std::span<const bool> ticked, const std::string& executable, SettingsFile& settings,
                       FileTypeStore& store);

} // namespace px
