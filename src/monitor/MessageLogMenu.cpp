#include "monitor/MessageLogMenu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <functional>

#include "base/ShownText.h"
#include "monitor/MessageLog.h"

namespace zelsim {

namespace {
namespace mw = main_window;

QAction* AddItem(QMenu* menu, std::string_view name, const char* caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(Latin1Text(name));
    return action;
}
}  // namespace

MessageLogMenu::MessageLogMenu(MessageLog& log, QMenu* menu, QObject* parent) : QObject(parent) {
    auto act = [this](QAction* action, std::function<void(bool)> handler) {
        connect(action, &QAction::triggered, this, [this, handler](bool checked) {
            handler(checked);
            emit acted();
        });
    };
    int index = 0;
    for (const LogOptionItem& item : kLogOptionItems) {
        if (index == kLogColumnItems || index == kLogColumnItems + kLogCategoryItems) {
            menu->addSeparator();
            if (index == kLogColumnItems + kLogCategoryItems) {
                // The radio pair stands between the categories and the prompt.
                auto* pair = new QActionGroup(menu);
                QAction* append =
                    AddItem(menu, mw::mLogAppendToExistFile, "Append to Existing File");
                QAction* overwrite =
                    AddItem(menu, mw::mLogOverWriteFile, "Overwrite Existing File");
                for (QAction* choice : {append, overwrite}) {
                    choice->setCheckable(true);
                    pair->addAction(choice);
                }
                act(append, [&log](bool) { log.SetOverwrite(false); });
                act(overwrite, [&log](bool) { log.SetOverwrite(true); });
                menu->addSeparator();
            }
        }
        ++index;
        QAction* action = AddItem(menu, item.menuItem, item.caption);
        action->setCheckable(true);
        act(action, [&log, flag = item.flag](bool checked) { log.SetOption(flag, checked); });
    }
    act(AddItem(menu, mw::mLogSequenceFilename, "Sequence Log Filename"),
        [&log](bool) { log.SequenceFilename(); });
    act(AddItem(menu, mw::mLogEraseFile, "Erase Log File"), [&log](bool) { log.EraseFile(); });
    act(AddItem(menu, mw::mLogViewFile, "View Log File"), [&log](bool) { log.ViewFile(); });
}

}  // namespace zelsim
