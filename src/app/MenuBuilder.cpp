#include "app/MenuBuilder.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

#include <vector>

namespace px {

namespace {
QString text(const char* utf8) { return QString::fromUtf8(utf8); }

void applyRow(QAction* a, const CommandRow& row)
{
    a->setObjectName(text(row.objectName));
    a->setVisible(!(row.flags & kHidden));
    a->setEnabled(!(row.flags & kDisabled));
    if (row.flags & (kCheckable | kTicked)) {
        a->setCheckable(true);
        a->setChecked(row.flags & kTicked);
    }
}
} // namespace

void buildMenuBar(const CommandTable& table, QMenuBar* bar, ActionMap& actions, MenuMap& menus)
{
    std::map<std::string, QActionGroup*, std::less<>> groups;
    for (const Command& c : table.commands()) {
        const CommandRow& row = c.row;
        QWidget* holder = bar;
        if (*row.parent) {
            auto it = menus.find(std::string_view(row.parent));
            if (it == menus.end())
                continue; // a row under an unknown menu: the table tests report it
            holder = it->second;
        }
        QAction* a = nullptr;
        switch (row.kind) {
        case CommandKind::Submenu: {
            auto* m = new QMenu(text(row.caption), holder);
            m->setObjectName(text(row.objectName));
            menus.emplace(row.objectName, m);
            a = m->menuAction();
            break;
        }
        case CommandKind::Separator:
            a = new QAction(holder);
            a->setSeparator(true);
            break;
        case CommandKind::Item: {
            a = new QAction(text(row.caption), holder);
            if (*row.shortcut)
                a->setShortcut(QKeySequence(text(row.shortcut), QKeySequence::PortableText));
            a->setStatusTip(text(row.hint));
            std::string name = row.objectName;
            QObject::connect(a, &QAction::triggered, a, [&table, name] { table.run(name); });
            break;
        }
        }
        applyRow(a, row);
        if (*row.group) {
            auto [it, inserted] = groups.try_emplace(row.group, nullptr);
            if (inserted) {
                it->second = new QActionGroup(holder);
                it->second->setObjectName(text(row.group));
                it->second->setExclusive(true);
            }
            it->second->addAction(a);
        }
        holder->addAction(a);
        actions.emplace(row.objectName, a);
    }
}

void connectSharedShortcuts(const CommandTable& table, const ActionMap& actions, QWidget* window)
{
    std::map<std::string, std::vector<QAction*>> byKey;
    for (const Command& c : table.commands())
        if (c.row.kind == CommandKind::Item && *c.row.shortcut)
            if (auto it = actions.find(c.name()); it != actions.end())
                byKey[c.row.shortcut].push_back(it->second);

    for (auto& [key, sharing] : byKey) {
        if (sharing.size() < 2)
            continue;
        // Inside an open menu the item still answers its key; elsewhere the
        // window's shortcut decides.
        for (QAction* a : sharing)
            a->setShortcutContext(Qt::WidgetShortcut);
        auto* shortcut = new QShortcut(QKeySequence(QString::fromStdString(key), QKeySequence::PortableText), window);
        shortcut->setObjectName(QStringLiteral("SharedShortcut ") + QString::fromStdString(key));
        QObject::connect(shortcut, &QShortcut::activated, window, [sharing] {
            for (QAction* a : sharing)
                if (a->isVisible() && a->isEnabled()) {
                    a->trigger();
                    return;
                }
        });
    }
}

} // namespace px
