#include "app/CommandTable.h"

#include <stdexcept>

namespace px {

CommandTable CommandTable::standard()
{
    std::vector<CommandRow> rows;
    for (auto part : {fileMenuRows(), editMenuRows(), optionsMenuRows(), imageMenuRows(), effectsMenuRows(),
                      coloursMenuRows(), captureMenuRows(), windowMenuRows(), helpMenuRows()})
        rows.insert(rows.end(), part.begin(), part.end());
    return CommandTable(std::move(rows));
}

CommandTable::CommandTable(std::vector<CommandRow> rows)
{
    commands_.reserve(rows.size());
    for (const CommandRow& row : rows)
        commands_.push_back(Command{row, {}});
}

Command* CommandTable::find(std::string_view objectName)
{
    for (Command& c : commands_)
        if (c.name() == objectName)
            return &c;
    return nullptr;
}

const Command* CommandTable::find(std::string_view objectName) const
{
    return const_cast<CommandTable*>(this)->find(objectName);
}

void CommandTable::setHandler(std::string_view objectName, CommandHandler handler)
{
    Command* c = find(objectName);
    if (!c || c->row.kind != CommandKind::Item)
        throw std::out_of_range("no menu command named " + std::string(objectName));
    c->handler = std::move(handler);
}

bool CommandTable::run(std::string_view objectName) const
{
    const Command* c = find(objectName);
    if (!c || !c->handler)
        return false;
    // The handler may replace itself (a feature registering late); run a copy.
    CommandHandler handler = c->handler;
    handler();
    return true;
}

std::vector<const Command*> CommandTable::children(std::string_view parent) const
{
    std::vector<const Command*> result;
    for (const Command& c : commands_)
        if (std::string_view(c.row.parent) == parent)
            result.push_back(&c);
    return result;
}

std::vector<std::string> CommandTable::path(std::string_view objectName) const
{
    std::vector<std::string> captions;
    const Command* c = find(objectName);
    // A well-formed table has no cycles; the bound only guards a broken one.
    for (std::size_t depth = 0; c && depth <= commands_.size(); ++depth) {
        captions.insert(captions.begin(), c->row.caption);
        std::string_view parent = c->row.parent;
        c = parent.empty() ? nullptr : find(parent);
    }
    return captions;
}

std::vector<std::string> CommandTable::withoutHandler() const
{
    std::vector<std::string> names;
    for (const Command& c : commands_)
        if (c.row.kind == CommandKind::Item && !c.handler)
            names.emplace_back(c.row.objectName);
    return names;
}

} // namespace px
