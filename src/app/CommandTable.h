#pragma once
// The one table of commands: every menu item of the main window is a row.
// Menus and tool-bar buttons are built from it, and whatever needs to run a
// command by name (the effects index, the batch command line) looks it up
// here. Adding a command is adding a row to the rows of its menu and
// attaching its handler beside the feature that implements it.
//
// A row whose command is not written yet keeps a null handler; running it
// does nothing and withoutHandler() lists it, so a missing command is never
// hidden behind a fake one.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace px {

enum class CommandKind : std::uint8_t { Item, Submenu, Separator };

// Start state of a row, as the form gives it.
enum CommandFlag : unsigned {
    kNoFlags = 0,
    kHidden = 1u << 0,
    kDisabled = 1u << 1,
    kCheckable = 1u << 2, // the item carries a tick that its command inverts
    kTicked = 1u << 3,    // ticked at start (implies kCheckable)
};

// One row as written in the menu files: literal data only.
struct CommandRow {
    const char* parent;     // objectName of the holding submenu; "" for the menu bar
    CommandKind kind;
    const char* objectName; // component name, also the QAction's objectName
    const char* caption;    // with its & accelerators, UTF-8
    const char* shortcut;   // portable key text ("Ctrl+N", "Del", "F1") or ""
    const char* hint;       // shown in the status bar, "" when none
    unsigned flags;
    const char* group;      // exclusive radio group, "" when none
};

// Helpers that keep the row lists readable.
constexpr CommandRow menu(const char* parent, const char* name, const char* caption, unsigned flags = kNoFlags)
{
    return {parent, CommandKind::Submenu, name, caption, "", "", flags, ""};
}
constexpr CommandRow item(const char* parent, const char* name, const char* caption, const char* shortcut = "",
                          const char* hint = "", unsigned flags = kNoFlags)
{
    return {parent, CommandKind::Item, name, caption, shortcut, hint, flags, ""};
}
constexpr CommandRow toggle(const char* parent, const char* name, const char* caption, const char* hint = "",
                            unsigned flags = kNoFlags)
{
    return {parent, CommandKind::Item, name, caption, "", hint, flags | kCheckable, ""};
}
constexpr CommandRow radio(const char* parent, const char* name, const char* caption, const char* group,
                           unsigned flags = kNoFlags)
{
    return {parent, CommandKind::Item, name, caption, "", "", flags | kCheckable, group};
}
constexpr CommandRow separator(const char* parent, const char* name, unsigned flags = kNoFlags)
{
    return {parent, CommandKind::Separator, name, "", "", "", flags, ""};
}

using CommandHandler = std::function<void()>;

struct Command {
    CommandRow row;
    CommandHandler handler; // null: the command is not implemented yet

    std::string_view name() const { return row.objectName; }
    bool has(unsigned flag) const { return (row.flags & flag) != 0; }
};

class CommandTable {
public:
    // The program's complete menu tree, in display order.
    static CommandTable standard();

    CommandTable() = default;
    explicit CommandTable(std::vector<CommandRow> rows);

    const std::vector<Command>& commands() const { return commands_; }

    // The row of that objectName, or null.
    Command* find(std::string_view objectName);
    const Command* find(std::string_view objectName) const;

    // Attaches (or replaces) the handler of a row; throws std::out_of_range
    // for an unknown name, so a misspelt registration fails loudly.
    void setHandler(std::string_view objectName, CommandHandler handler);

    // Runs the row's handler; false when the row is unknown or has none yet.
    bool run(std::string_view objectName) const;

    // The rows that sit directly in that submenu ("" for the menu bar), in order.
    std::vector<const Command*> children(std::string_view parent) const;

    // The captions from the menu bar down to the row, e.g. {"&Fichier", "&Twain", "&Acquérir..."}.
    std::vector<std::string> path(std::string_view objectName) const;

    // Items (not submenus or separators) whose command has no handler yet.
    std::vector<std::string> withoutHandler() const;

private:
    std::vector<Command> commands_;
};

// The rows of each top-level menu, one file per menu.
std::span<const CommandRow> fileMenuRows();
std::span<const CommandRow> editMenuRows();
std::span<const CommandRow> optionsMenuRows();
std::span<const CommandRow> imageMenuRows();
std::span<const CommandRow> effectsMenuRows();
std::span<const CommandRow> coloursMenuRows();
std::span<const CommandRow> captureMenuRows();
std::span<const CommandRow> windowMenuRows();
std::span<const CommandRow> helpMenuRows();

} // namespace px
