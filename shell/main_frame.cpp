#include "shell/main_frame.h"

#include "access/dostup.h"
#include "backup/backup_windows.h"
#include "shell/backup_command.h"

namespace shell {

namespace {

ui::FrameSetup programFrame() {
    ui::FrameSetup setup;
    setup.title = " Справочники";
    setup.iniFile = ".\\TARVO.INI";
    // The help items open the program's help index; which page each shows is the
    // program's choice.
    setup.helpIndex = "Tarvo.htm";
    setup.menus = {
        {"Справочники",
         {{"Валюты", "Справочник Валют"},
          {"Участки", "Справочник Участков"},
          {"Фирмы", "Справочник Фирм"},
          {"Типы Операций", "Справочник Типов Операций"},
          {"Цены", "Справочник Цен"}}},
        {"Сотрудники", {{"Сотрудники", ""}, {"Подразделения", ""}, {"Категории", ""}, {"Объекты", ""}}},
    };
    setup.backup = [](QWidget* parent) { backup::backupFromMenu(parent, backedUpFiles, backedUpIniFiles()); };
    setup.restore = [](QWidget* parent) { backup::restoreFromMenu(parent, backedUpFiles); };
    setup.logIn = [] {
        g_SCode = REGISTR_S();
        return g_SCode != 0;
    };
    return setup;
}

}  // namespace

MainFrame::MainFrame(QWidget* parent) : ui::FrameWindow(programFrame(), parent) {}

}  // namespace shell
